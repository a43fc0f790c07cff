// Score, weapon unlocks and the on-screen notice line.
#pragma once

#include <string>

// Adds a shot's points; unlocks at most one weapon per call, the shotgun first.
void addScore(int points);

// Makes text the notice for the next three seconds.
void showNotice(std::string text);
