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

// Each releases its object when it is set and leaves the pointer null.
void ReleasePrimarySoundBuffer();
void ReleaseDirectSound();
