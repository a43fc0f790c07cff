// Puts every game variable back to its value at program load, for tests that touch them.
#pragma once

#include <gtest/gtest.h>

void resetGameState();

// Base fixture: fresh load-time state (and clock) before each test, no objects left after it.
class GameStateTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};
