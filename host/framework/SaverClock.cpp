#include "host/framework/SaverClock.h"

#include <mmsystem.h>

SaverClock ApplicationClock;

void SaverClock::DecideSource()
{
    if (decided)
        return;
    decided = true;
    LARGE_INTEGER f{};
    useCounter = counterAllowed && QueryPerformanceFrequency(&f) && f.QuadPart > 0;
    if (useCounter) {
        frequency = f.QuadPart;
    } else {
        frequency = 1000;
        lastMilliseconds = timeGetTime();
        // Counted from the first reading, as the counter's values would be.
        millisecondTotal = lastMilliseconds;
    }
}

LONGLONG SaverClock::Now()
{
    DecideSource();
    if (useCounter) {
        LARGE_INTEGER now{};
        QueryPerformanceCounter(&now);
        return now.QuadPart;
    }
    const DWORD ms = timeGetTime();
    millisecondTotal += static_cast<DWORD>(ms - lastMilliseconds);
    lastMilliseconds = ms;
    return millisecondTotal;
}

bool SaverClock::UsesCounter()
{
    DecideSource();
    return useCounter;
}

void SaverClock::Start()
{
    const LONGLONG now = Now();
    if (stopped)
        baseTime += now - stopTime;
    stopTime = 0;
    lastElapsedTime = now;
    stopped = false;
}

float SaverClock::ApplicationTime()
{
    const LONGLONG now = Now();
    return static_cast<float>(static_cast<double>(now - baseTime) / static_cast<double>(frequency));
}

float SaverClock::ElapsedTime()
{
    const LONGLONG now = Now();
    const double elapsed = static_cast<double>(now - lastElapsedTime) / static_cast<double>(frequency);
    lastElapsedTime = now;
    return static_cast<float>(elapsed);
}

double SaverClock::AbsoluteTime()
{
    return static_cast<double>(Now()) / static_cast<double>(frequency);
}
