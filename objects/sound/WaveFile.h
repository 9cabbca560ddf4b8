// Reading a WAV file held in memory: its format and where its samples lie.
// Only what a DirectSound buffer plays as it is gets through: 8- or 16-bit
// PCM in one or two channels, in the plain or the extensible format.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstddef>
#include <cstdint>

struct WaveData {
    // The plain PCM format (an extensible one unwrapped), extra size 0.
    WAVEFORMATEX format{};
    // Inside the bytes given to ParseWave, which stay the caller's.
    const uint8_t* samples = nullptr;
    // A whole number of sample frames, every byte inside the data chunk.
    DWORD sampleBytes = 0;
};

// Finds the "fmt " and "data" chunks of the RIFF "WAVE" form through the
// multimedia file calls over the bytes. False, with wave untouched, for
// anything else: no such form or chunk, a chunk that runs past the bytes, a
// format chunk shorter than a PCM format, a format other than PCM or one
// whose numbers do not agree, or less than one frame of samples. Nothing
// before or after the bytes is ever read.
bool ParseWave(const uint8_t* bytes, std::size_t size, WaveData& wave);
