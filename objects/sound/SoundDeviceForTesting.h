// For tests only: the sound device is made by a function of the test's, so
// that a device that cannot be made, or one that fails later steps, can be
// shown on a computer whose sound works.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <dsound.h>

using SoundDeviceFactory = HRESULT(WINAPI*)(LPCGUID device, LPDIRECTSOUND8* made, LPUNKNOWN outer);

// InitDirectSound makes its device with the factory; null gives back
// DirectSoundCreate8.
void UseSoundDeviceFactoryForTesting(SoundDeviceFactory factory);
