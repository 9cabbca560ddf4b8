// The demo document's sounds and music: sound objects on the slides that suit
// them, the WAV files in the resource table, and the music's audio files.
#pragma once

#include "tools/demodoc/DemoContent.h"

// Where the authoring side kept the sounds and the music.
extern const wchar_t* const DemoSoundFolder;
extern const wchar_t* const DemoMusicFolder;

// Adds to the show's slides (found by name) their sound objects, to the
// table the WAV files they link to, and to the show its music.
void AddDemoSounds(DemoContent& demo);
