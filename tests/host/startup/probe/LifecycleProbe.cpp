// Prints each start-up and exit step on standard output as it runs, with
// "main" where the entry point runs, so that a test can check their order
// from outside the process.
#include "foundation/core/LifecycleTrace.h"
#include "objects/sound/SoundDevice.h"

#include <windows.h>

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

// Runs before every initializer of default priority, so the listener hears
// the program's start-up from its first step.
struct ListenFromTheStart {
    ListenFromTheStart() { SetLifecycleListener(WriteLine); }
};
__attribute__((init_priority(101))) ListenFromTheStart listening;

} // namespace

int main()
{
    WriteLine("main");
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
