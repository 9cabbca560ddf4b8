// Prints each start-up and exit step on standard output as it runs, with
// "main" where the entry point runs, so that a test can check their order
// from outside the process.
#include "foundation/core/LifecycleTrace.h"
#include "foundation/lifecycle/ShowCom.h"
#include "objects/sound/SoundDevice.h"

#include <windows.h>
#include <objbase.h>

#include <cstdlib>
#include <cstring>

namespace {

void WriteLine(const char* text)
{
    // Straight to the handle: the exit steps run while the C runtime is
    // being taken down.
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    WriteFile(out, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
    WriteFile(out, "\n", 1, &written, nullptr);
}

// The last thing at exit: whether the main thread is out of COM again, after
// every exit step. A thread still in its apartment answers S_FALSE.
void ReportComAtTheEnd()
{
    const HRESULT probe = CoInitialize(nullptr);
    WriteLine(probe == S_OK ? "ComEnded" : "ComLeftStarted");
    if (SUCCEEDED(probe))
        CoUninitialize();
}

// Runs before every initializer of default priority, so the listener hears
// the program's start-up from its first step, and the COM report, scheduled
// before every exit step, runs after them all.
struct ListenFromTheStart {
    ListenFromTheStart()
    {
        SetLifecycleListener(WriteLine);
        std::atexit(ReportComAtTheEnd);
    }
};
__attribute__((init_priority(101))) ListenFromTheStart listening;

} // namespace

int main()
{
    WriteLine("main");
    // COM as the music graph starts it, on this thread.
    StartShowCom();
    // A live device and primary buffer, as the show makes them, give the
    // exit steps something real to release.
    if (FAILED(DirectSoundCreate8(nullptr, &SoundDevice, nullptr)) ||
        FAILED(SoundDevice->SetCooperativeLevel(GetDesktopWindow(), DSSCL_NORMAL)))
        return 2;
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME;
    if (FAILED(SoundDevice->CreateSoundBuffer(&description, &PrimarySoundBuffer, nullptr)))
        return 3;
    return 0;
}
