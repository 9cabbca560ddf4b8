// The demo document's sounds and music, synthesised in code: a rain loop,
// birdsong, a clock's tick and tock, a thunderclap, and two quiet music
// tracks. Every sound is the same, byte for byte, on every run.
#pragma once

#include "tools/encoders/ImageWriters.h"

#include <cstdint>
#include <vector>

constexpr uint32_t SoundSampleRate = 22050;

// Mono 16-bit samples.
struct SoundClip {
    uint32_t sampleRate = SoundSampleRate;
    std::vector<int16_t> samples;
};

struct DemoSound {
    const wchar_t* fileName; // the name the demo document stores it under
    // Made to loop: its last sample runs on into its first.
    bool loops;
    SoundClip (*make)();
};

// The sound effects: rain, birds, clock, thunder.
const std::vector<DemoSound>& DemoSounds();
// The music, in playing order.
const std::vector<DemoSound>& DemoMusic();

// A RIFF "WAVE" file: a 16-byte PCM format chunk, then the samples.
Bytes EncodeWav(const SoundClip& clip);

// Steady rain on leaves with drops and a soft gusting hiss; loops.
SoundClip MakeRain();
// Two birds calling and answering, once.
SoundClip MakeBirds();
// A clock's tick and tock, one a second; loops.
SoundClip MakeClockTicks();
// A near lightning strike: a crack, then rolling rumble, once.
SoundClip MakeThunder();
// Slow pads, bells and a soft bass over a gentle progression in D major.
SoundClip MakeNightMusic();
// A music box over warm strings in A minor.
SoundClip MakeDawnMusic();
