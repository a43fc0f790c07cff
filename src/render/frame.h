// The in-game frame: heads-up overlay, lit scene objects and the arena walls.
#pragma once

// On in the game; off only to compare pictures with the overlay drawn first alone, as the
// depth test keeps it.
extern bool g_overlayOnTop;

// Draws one frame of a game; drawing also advances the objects and deletes expired ones.
void renderFrame();

// SCORE and HIGH SCORE block, in the current projection and colour.
void drawScores();

// The unit panel [-0.5, 0.5]^2 at z = 0 as 32 x 32 quads, from which every wall is made.
void drawWallPanel();
