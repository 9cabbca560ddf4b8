// The mode the screensaver runs in, read from the command line that Windows
// starts it with.
#pragma once

#include <windows.h>

enum class LaunchMode : int {
    Configure = 0,
    Preview = 1,
    Full = 2,
    Test = 3,
    RunPasswordChange = 4,
    NoOp = 5,
    ExtraDialog = 6,
};

// Skips the program name, then the letter after the first '/' or '-' picks
// the mode (none: Configure; an unknown letter: Full). For A, C and P the
// first decimal number after the letter is the parent window; parentWindow
// is cleared when there is none.
LaunchMode ReadLaunchMode(const wchar_t* commandLine, HWND& parentWindow);
