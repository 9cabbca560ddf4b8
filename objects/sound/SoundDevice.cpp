#include "objects/sound/SoundDevice.h"

#include "foundation/core/LifecycleTrace.h"
#include "objects/sound/SoundDeviceForTesting.h"

IDirectSound8* SoundDevice = nullptr;
IDirectSoundBuffer* PrimarySoundBuffer = nullptr;
DWORD SoundBufferFlags = 0;

namespace {

SoundDeviceFactory CreateSoundDevice = DirectSoundCreate8;

template <class T>
void ReleaseAndClear(T*& pointer)
{
    if (!pointer)
        return;
    T* released = pointer;
    pointer = nullptr;
    released->Release();
}

bool StartPrimaryBuffer()
{
    ReleaseAndClear(PrimarySoundBuffer);
    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = SoundBufferFlags | DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME;
    if (FAILED(SoundDevice->CreateSoundBuffer(&description, &PrimarySoundBuffer, nullptr))) {
        PrimarySoundBuffer = nullptr;
        return false;
    }
    // A primary buffer that does not play is no start: it goes, so that the
    // next call tries again instead of reporting success.
    if (FAILED(PrimarySoundBuffer->Play(0, 0, DSBPLAY_LOOPING))) {
        ReleaseAndClear(PrimarySoundBuffer);
        return false;
    }
    return true;
}

} // namespace

bool InitDirectSound(HWND window)
{
    // The primary buffer exists only after a start that went all the way.
    if (SoundDevice && PrimarySoundBuffer)
        return true;
    SoundBufferFlags = DSBCAPS_STICKYFOCUS;
    if (!SoundDevice) {
        if (FAILED(CreateSoundDevice(nullptr, &SoundDevice, nullptr))) {
            SoundDevice = nullptr;
            return false;
        }
        // A device without its cooperative level makes no buffer: it goes
        // too, so that a later call starts over.
        if (FAILED(SoundDevice->SetCooperativeLevel(window, DSSCL_NORMAL))) {
            ReleaseAndClear(SoundDevice);
            return false;
        }
    }
    return StartPrimaryBuffer();
}

void ReleasePrimarySoundBuffer()
{
    NoteLifecycleStep("ReleasePrimarySoundBuffer");
    ReleaseAndClear(PrimarySoundBuffer);
}

void ReleaseDirectSound()
{
    NoteLifecycleStep("ReleaseDirectSound");
    ReleaseAndClear(SoundDevice);
}

void UseSoundDeviceFactoryForTesting(SoundDeviceFactory factory)
{
    CreateSoundDevice = factory ? factory : DirectSoundCreate8;
}
