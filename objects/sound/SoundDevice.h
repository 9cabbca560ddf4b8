// The process-wide DirectSound device and its primary buffer. Both are made
// when the show starts its sound and live until the program exits, where the
// buffer is released before the device.
#pragma once

#include <windows.h>
// The wave format types that dsound.h needs; the lean windows.h leaves them out.
#include <mmsystem.h>

#include <dsound.h>

// Null until made. Plain pointers on purpose: released only by the exit steps
// below, never by a destructor of their own.
extern IDirectSound8* SoundDevice;
extern IDirectSoundBuffer* PrimarySoundBuffer;
// Added to the flags of every buffer the program makes; DSBCAPS_STICKYFOCUS
// once the device has been started, so that the sounds go on while another
// window has the focus.
extern DWORD SoundBufferFlags;

// Starts the sound with the window as the device's owner: the device at the
// normal cooperative level and its looping primary buffer, whose volume the
// host sets. True when both are there, at once when an earlier call made
// them; false when something failed, and then a later call tries again (a
// computer without a sound card just stays silent).
bool InitDirectSound(HWND window);

// Each releases its object when it is set and leaves the pointer null.
void ReleasePrimarySoundBuffer();
void ReleaseDirectSound();
