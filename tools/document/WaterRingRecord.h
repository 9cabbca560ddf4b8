// Emitter of the water-ring layer's record "DS_WaterRingLight".
#pragma once

#include "tools/document/DocumentBuilder.h"
#include "tools/document/Light2DRecord.h"

#include <cstdint>

// The layer's fields with the program's defaults.
struct WaterRingContent {
    // 1 holds only the mode and the base record; 2 adds the nine settings.
    int32_t version = 2;
    uint32_t waveSpeed = 0;       // step scale 1 + 0.02 × value
    uint32_t rowDensity = 0;      // rows × (1 + 0.01 × value)
    uint32_t columnDensity = 0;   // columns × (1 + 0.01 × value)
    uint32_t dropStrength = 50;
    uint32_t damping = 50;        // 0.9 at 0, 0.99 at 50, 0.999 at 100
    uint32_t refractionDepth = 20;
    uint32_t dropRate = 30;       // / 60: drops per second
    uint32_t shine = 90;          // × 0.01: highlight level
    uint32_t shinePower = 50;     // × 0.8: highlight power
    int32_t mode = 0;             // 1: the water shows the composed scene
    LightContent light;
};

// Header "DS_WaterRingLight", then as the version holds: the nine settings,
// the mode, the "DS_2D_Light" record.
DocumentBuilder& WaterRingRecord(DocumentBuilder& builder, const WaterRingContent& content = {});
DocumentBuilder::Bytes WaterRingRecordBytes(const WaterRingContent& content = {});
