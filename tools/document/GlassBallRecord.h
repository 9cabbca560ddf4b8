// Emitter of the glass-ball layer record "DS_GlassBallLight".
#pragma once

#include "tools/document/DocumentBuilder.h"
#include "tools/document/Light2DRecord.h"

#include <cstdint>
#include <string>

// The layer's fields with the program's defaults: the module's overlay,
// shadow and background pictures, a full-size swaying ball in the middle,
// both overlays, no shadow, a black gradient.
struct GlassBallContent {
    int32_t version = 1;
    std::wstring overlay1Path = L"common_res.dll";
    int64_t overlay1Stamp = 58;
    std::wstring overlay2Path = L"common_res.dll";
    int64_t overlay2Stamp = 59;
    std::wstring shadowPath = L"common_res.dll";
    int64_t shadowStamp = 60;
    std::wstring backgroundPath = L"common_res.dll";
    int64_t backgroundStamp = 5;
    uint32_t motionSpeed = 0;
    int32_t x = 0;
    int32_t y = 0;
    uint32_t size = 100;
    uint32_t depth = 0;
    int32_t overlay1 = 1;
    int32_t overlay2 = 1;
    int32_t shadow = 0;
    int32_t pictureBackground = 0;
    int32_t motionMode = 3;
    // COLORREF 0x00BBGGRR.
    uint32_t topColour = 0;
    uint32_t bottomColour = 0;
    LightContent base;
};

// Header "DS_GlassBallLight" with the version, the four picture links, the
// motion speed, position, size, depth, the five switches and the two
// colours, then the "DS_2D_Light" record.
DocumentBuilder& GlassBallRecord(DocumentBuilder& builder, const GlassBallContent& content = {});
DocumentBuilder::Bytes GlassBallRecordBytes(const GlassBallContent& content = {});
