// A controllable clock and calendar, linked into the tests in place of the real ones.
#pragma once

extern int g_fakeClockMs;              // what clockMs() returns
extern long long g_fakeCalendarSeconds; // what calendarSeconds() returns
