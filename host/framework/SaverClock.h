// The application clock of the show: seconds since the message loop began,
// from the high-resolution performance counter or, on a machine without one,
// the multimedia millisecond clock.
#pragma once

#include <windows.h>

class SaverClock {
public:
    // allowCounter false keeps the clock on the millisecond clock even where
    // a performance counter exists.
    explicit SaverClock(bool allowCounter = true) : counterAllowed(allowCounter) {}

    // Runs the clock; the time spent stopped does not count, so the first
    // start makes the application time 0.
    void Start();
    // Seconds since the first start, less the time spent stopped.
    float ApplicationTime();
    // Seconds since the previous elapsed-time reading (or the start).
    float ElapsedTime();
    // Seconds on the underlying clock.
    double AbsoluteTime();

    bool UsesCounter();

private:
    LONGLONG Now();
    void DecideSource();

    bool counterAllowed;
    bool decided = false;
    bool useCounter = false;
    LONGLONG frequency = 1000;
    // The millisecond clock wraps every 49.7 days; its readings are summed
    // as differences so that the sum does not.
    DWORD lastMilliseconds = 0;
    LONGLONG millisecondTotal = 0;
    bool stopped = true;
    LONGLONG stopTime = 0;
    LONGLONG baseTime = 0;
    LONGLONG lastElapsedTime = 0;
};

// The one clock of the program.
extern SaverClock ApplicationClock;
