#include "objects/animation/LocalClock.h"

#include <time.h>

namespace {

LocalTimeSource currentSource = SystemLocalTime;

} // namespace

bool ReadLocalTime(std::tm& out) { return currentSource(out); }

bool SystemLocalTime(std::tm& out)
{
    __time64_t now = 0;
    if (_time64(&now) == -1)
        return false;
    return _localtime64_s(&out, &now) == 0;
}

LocalTimeSource SetLocalTimeSource(LocalTimeSource source)
{
    const LocalTimeSource previous = currentSource;
    currentSource = source ? source : SystemLocalTime;
    return previous;
}
