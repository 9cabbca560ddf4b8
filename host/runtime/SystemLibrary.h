// Libraries of the system, loaded from the system folder only: a program
// started from a download folder must never run a DLL that was put beside it
// or into the current folder under a system library's name.
#pragma once

#include <windows.h>

// From now on the process's library searches look in the system folder only
// (SetDefaultDllDirectories where the system has it; otherwise at least the
// current folder is taken out of the search).
void RestrictLibrarySearch();

// name (a plain file name) from the system folder, without the system's
// error box; null when it is not there.
HMODULE LoadSystemLibrary(const wchar_t* name);
