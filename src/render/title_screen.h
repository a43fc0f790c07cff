// The title screen shown between games.
#pragma once

void renderTitleScreen();
