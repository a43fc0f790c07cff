// Time sources the tests set by hand.
#include "support/fake_clock.h"

#include "core/clock.h"

int g_fakeClockMs = 1;
long long g_fakeCalendarSeconds = 0;

int clockMs() {
    return g_fakeClockMs;
}

long long calendarSeconds() {
    return g_fakeCalendarSeconds;
}
