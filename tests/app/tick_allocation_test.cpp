// Once a game has warmed up, a whole tick (movement, contacts, automatic fire and the frame)
// takes nothing from the heap.
#include <gtest/gtest.h>

#include "play/game_lifecycle.h"
#include "core/game_state.h"
#include "app/main_loop.h"
#include "support/allocation_counter.h"
#include "support/fake_clock.h"
#include "support/game_state_reset.h"
#include "support/gl_context.h"

namespace {

class TickAllocation : public GameStateTest {
protected:
    void SetUp() override {
        GameStateTest::SetUp();
        openGameWindow();
        g_fakeCalendarSeconds = 1765100000;
        g_fakeClockMs = 1000;
        startGame();
        g_lastTickTime = g_fakeClockMs;
        // Unlock notices copy their text once; keep them out of the steady state.
        g_shotgunUnlocked = g_machineGunUnlocked = true;
        g_weapon = MachineGun;
        g_triggerHeld = true;
        g_moveDir = {0, 0, -1};
        g_pitch = 10;
        g_yaw = 30;
    }

    void ticks(int count) {
        for (int n = 0; n < count; ++n) {
            g_fakeClockMs += 17;
            ASSERT_TRUE(advanceGame());
        }
    }
};

}  // namespace

TEST_F(TickAllocation, SteadyTicksAllocateNothing) {
    ticks(30);  // grows the grid lists, the shot's ray storage and the sphere list
    const long before = heapAllocations();
    ticks(200);
    EXPECT_EQ(heapAllocations(), before);
    EXPECT_TRUE(g_inGame);
}
