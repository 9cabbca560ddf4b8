/* Start-up code for the test module's twin: loaded to run, it leaves a
   marker file in the temporary folder. A module that a document names must
   only ever be read, so the tests expect the marker never to appear. */
#include <windows.h>
#include "TestModuleIds.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH + 1];
        const DWORD length = GetTempPathW(MAX_PATH + 1, path);
        if (length > 0 && length + lstrlenW(TESTMODULE_STARTUP_MARKER) < MAX_PATH) {
            lstrcatW(path, TESTMODULE_STARTUP_MARKER);
            HANDLE marker = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
            if (marker != INVALID_HANDLE_VALUE)
                CloseHandle(marker);
        }
    }
    return TRUE;
}
