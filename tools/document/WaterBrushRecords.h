// Emitters of the water family's records: the water, waves, light and
// underwater brushes, and the underwater layer "FakeUndervater" that embeds
// the last.
#pragma once

#include "tools/document/BrushRecords.h"
#include "tools/document/Light2DRecord.h"

#include <cstdint>
#include <string>

// A water brush with the program's defaults.
struct WaterContent {
    WaterContent();

    uint32_t shape = 20;
    uint32_t ripple = 20;
    uint32_t drift = 20;
    uint32_t wave = 20;
    uint32_t angle = 40;
    uint32_t shadows = 0;
    uint32_t height = 0;
    int32_t colour = 0x00FFFFFF;
    std::wstring bumpPath = L"common_res.dll";
    int64_t bumpStamp = 89;
    BrushBaseContent base;
};

DocumentBuilder& WaterRecord(DocumentBuilder& builder, const WaterContent& content);
DocumentBuilder::Bytes WaterRecordBytes(const WaterContent& content);

// A waves brush with the program's defaults.
struct WavesContent {
    WavesContent();

    uint32_t amplitude = 50;
    uint32_t wavelength = 50;
    uint32_t angle = 0;
    int32_t normalMode = 0;
    BrushBaseContent base;
};

DocumentBuilder& WavesRecord(DocumentBuilder& builder, const WavesContent& content);
DocumentBuilder::Bytes WavesRecordBytes(const WavesContent& content);

// A light brush with the program's defaults.
struct LightBrushContent {
    LightBrushContent();

    uint32_t strength = 40;
    int32_t mode = 0;
    BrushBaseContent base;
};

DocumentBuilder& LightBrushRecord(DocumentBuilder& builder, const LightBrushContent& content);
DocumentBuilder::Bytes LightBrushRecordBytes(const LightBrushContent& content);

// An underwater brush with the program's defaults.
struct UnderwaterContent {
    UnderwaterContent();

    uint32_t amplitude = 50;
    uint32_t wavelength = 50;
    BrushBaseContent base;
};

DocumentBuilder& UnderwaterRecord(DocumentBuilder& builder, const UnderwaterContent& content);

// An underwater layer: version 2 nests the whole brush record, version 1
// holds only the brush's speed.
struct UnderwaterLayerContent {
    int32_t version = 2;
    uint32_t speed = 50;
    UnderwaterContent water;
    LightContent base;
};

DocumentBuilder& UnderwaterLayerRecord(DocumentBuilder& builder, const UnderwaterLayerContent& content);
DocumentBuilder::Bytes UnderwaterLayerRecordBytes(const UnderwaterLayerContent& content);
