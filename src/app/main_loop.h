// The main loop: title screen between games, clock, score decay and the 60 Hz tick during one.
#pragma once

// One game pass after the events were polled: clock, decay, end test and, when one is due,
// a tick. Returns true when the tick drew a frame that should be shown.
bool advanceGame();

// Whole milliseconds until advanceGame's gate lets the next tick through; 0 when one is due.
int msUntilTick();

// One whole pass: poll events, then the title screen or advanceGame, then the swap.
void runLoopPass();
