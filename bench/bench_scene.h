// Scenes for the benchmarks: the game of a fixed second, larger crowds, and an aim into them.
#pragma once

// Ends any running game and starts the game of the fixed calendar second.
void startBenchGame();

// Adds (copies - 1) more targets per target of the game, scattered through the arena.
void multiplyTargets(int copies);

// Turns the view from the player's position towards the most crowded target.
void aimAtCrowd();
