// Emitters of the sound objects' records: "DS_WAV_Constructor" with its
// nested "DS_Sound_Ctrl" record.
#pragma once

#include "tools/document/DocumentBuilder.h"

#include <cstdint>
#include <string>

// A WAV sound with the program's defaults: full volume, centred, looping.
struct WavSoundContent {
    // The link to the WAV file, which the resource table holds under the
    // same (path, stamp).
    std::wstring wavePath;
    int64_t waveStamp = 0;
    uint32_t volume = 100;
    uint32_t balance = 50;
    // 0 loops while the slide is shown; any other value plays the sound
    // once every minimum to maximum seconds.
    int32_t mode = 0;
    uint32_t minimumInterval = 0;
    uint32_t maximumInterval = 5;
    std::wstring name;
};

// Header "DS_WAV_Constructor" version 1, the link, then header
// "DS_Sound_Ctrl" version 2 with volume, balance, mode, the two intervals
// and the constructor base record.
DocumentBuilder& WavConstructorRecord(DocumentBuilder& builder, const WavSoundContent& content);

// The same record on its own, ready to stand in a slide's sound group.
DocumentBuilder::Bytes WavConstructorRecordBytes(const WavSoundContent& content);
