// The local wall-clock time that a clock's hands show. Every reading goes
// through one replaceable source, so that tests can give the hands any time.
#pragma once

#include <ctime>

// Fills out with the local broken-down time now; false when it cannot be
// read or converted.
using LocalTimeSource = bool (*)(std::tm& out);

// The time through the current source.
bool ReadLocalTime(std::tm& out);

// The system's source: the calendar time converted to local time by the C
// library's 64-bit functions, daylight saving time included.
bool SystemLocalTime(std::tm& out);

// Makes source the current one (none restores the system's) and returns the
// one it replaces.
LocalTimeSource SetLocalTimeSource(LocalTimeSource source);
