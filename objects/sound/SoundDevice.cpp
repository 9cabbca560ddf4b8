#include "objects/sound/SoundDevice.h"

#include "foundation/lifecycle/LifecycleTrace.h"

IDirectSound8* SoundDevice = nullptr;
IDirectSoundBuffer* PrimarySoundBuffer = nullptr;

namespace {

template <class T>
void ReleaseAndClear(T*& pointer)
{
    if (!pointer)
        return;
    T* released = pointer;
    pointer = nullptr;
    released->Release();
}

} // namespace

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
