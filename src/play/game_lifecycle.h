// Starting and ending a game.
#pragma once

// Resets the game state and creates the targets and view-attached pieces; ignored mid-game.
void startGame();

// Deletes every scene object, keeps the best score and returns to the title screen.
void endGame();

// Deletes every scene object and empties g_objects.
void deleteAllObjects();
