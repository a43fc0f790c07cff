// The game's time sources: a millisecond clock and the calendar seconds that seed a game.
// They live in their own translation unit so tests can link a controllable pair instead.
#pragma once

// Elapsed real time since program start, in whole milliseconds; never 0, so that a
// tick time of 0 can keep meaning "no tick yet".
int clockMs();

constexpr double kMsPerSecond = 1000.0;

// Calendar time in whole seconds.
long long calendarSeconds();

// Milliseconds from stamp to now, wrap-safe once the 32-bit clock passes 2^31.
inline int msSince(int stamp, int now) {
    return static_cast<int>(static_cast<unsigned>(now) - static_cast<unsigned>(stamp));
}

// Milliseconds since stamp, from a fresh clock reading.
inline int elapsedSince(int stamp) {
    return msSince(stamp, clockMs());
}
