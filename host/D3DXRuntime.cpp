#include "host/D3DXRuntime.h"

#include <windows.h>

namespace {

const wchar_t* const D3DXRuntimeName = L"d3dx9_43.dll";

} // namespace

bool LoadD3DXRuntime()
{
    DWORD previousMode = 0;
    const bool quiet = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    HMODULE runtime = LoadLibraryExW(D3DXRuntimeName, nullptr,
                                     LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    // A Windows 7 without the update that brought the search flags refuses
    // them: the plain search then, which looks in the system folder before
    // the current one.
    if (!runtime && GetLastError() == ERROR_INVALID_PARAMETER)
        runtime = LoadLibraryW(D3DXRuntimeName);
    if (quiet)
        SetThreadErrorMode(previousMode, nullptr);
    // A module of that name once loaded is the one every delayed call binds
    // to, whichever folder it came from.
    return runtime != nullptr;
}
