// Which string of the program's string table explains an error code.
#pragma once

#include <windows.h>

// "There was an unspecified problem with this screen saver.": the text of
// E_FAIL and of every code without one of its own.
constexpr UINT UnspecifiedErrorString = 2100;

UINT ErrorStringId(HRESULT code);
