#include "host/framework/LaunchMode.h"

#include <cstdint>
#include <cwctype>

namespace {

// Past the program name: a quoted name up to its closing quote, otherwise up
// to the first blank. A line that ends inside the name yields its end.
const wchar_t* SkipProgramName(const wchar_t* p)
{
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"')
            ++p;
    } else {
        while (*p && *p != L' ')
            ++p;
    }
    return *p ? p + 1 : p;
}

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

// The decimal number at p as a window handle. Digits beyond what a handle
// holds are ignored rather than wrapping into some other window's number.
HWND ReadWindowNumber(const wchar_t* p)
{
    uint64_t value = 0;
    for (; IsDigit(*p); ++p) {
        const uint64_t digit = static_cast<uint64_t>(*p - L'0');
        if (value > (UINTPTR_MAX - digit) / 10)
            break;
        value = value * 10 + digit;
    }
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
}

HWND ReadParentWindow(const wchar_t* afterLetter)
{
    const wchar_t* p = afterLetter;
    while (*p && !IsDigit(*p))
        ++p;
    return *p ? ReadWindowNumber(p) : nullptr;
}

} // namespace

LaunchMode ReadLaunchMode(const wchar_t* commandLine, HWND& parentWindow)
{
    parentWindow = nullptr;
    if (!commandLine)
        return LaunchMode::Configure;

    const wchar_t* p = SkipProgramName(commandLine);
    while (*p && *p != L'/' && *p != L'-')
        ++p;
    if (!*p)
        return LaunchMode::Configure;

    const wchar_t letter = static_cast<wchar_t>(std::towupper(p[1]));
    const wchar_t* afterLetter = p[1] ? p + 2 : p + 1;
    switch (letter) {
    case L'A':
        parentWindow = ReadParentWindow(afterLetter);
        return LaunchMode::RunPasswordChange;
    case L'C':
        parentWindow = ReadParentWindow(afterLetter);
        return LaunchMode::Configure;
    case L'P':
        parentWindow = ReadParentWindow(afterLetter);
        return LaunchMode::Preview;
    case L'N':
        return LaunchMode::ExtraDialog;
    case L'R':
        return LaunchMode::NoOp;
    case L'T':
        return LaunchMode::Test;
    default:
        return LaunchMode::Full;
    }
}
