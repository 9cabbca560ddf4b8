#include "host/runtime/SystemLibrary.h"

#include <cwchar>

namespace {

typedef BOOL(WINAPI* SetDefaultDllDirectoriesProc)(DWORD);

} // namespace

void RestrictLibrarySearch()
{
    // Windows 7 has the call only with the update that brought the search
    // flags: looked up, so that the program starts without it too.
    const auto setDirectories = reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (!setDirectories || !setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* name)
{
    DWORD previousMode = 0;
    const bool quiet = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Without the search flags (a Windows 7 without their update) the call
    // refuses them: the full path into the system folder then.
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
        wchar_t path[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryW(path, MAX_PATH);
        if (length > 0 && length + 1 + std::wcslen(name) < MAX_PATH) {
            wcscat(path, L"\\");
            wcscat(path, name);
            module = LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        }
    }
    if (quiet)
        SetThreadErrorMode(previousMode, nullptr);
    return module;
}
