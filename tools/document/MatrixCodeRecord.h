// Emitter of the glyph-rain layer record "DS_MatrixCodeLight".
#pragma once

#include "tools/document/DocumentBuilder.h"
#include "tools/document/Light2DRecord.h"

#include <cstdint>
#include <string>

// The layer's fields with the program's defaults: cells of 16 pixels,
// density 20, 50 frozen, no flicker, glyphs over the picture, mixed streams,
// black glyphs at full brightness, the module's glyph strip.
struct MatrixCodeContent {
    // Version 1 has no glyph image.
    int32_t version = 2;
    uint32_t cellSize = 16;
    uint32_t density = 20;
    uint32_t frozenCount = 50;
    int32_t flicker = 0;
    int32_t backgroundMode = 0;
    int32_t streamMode = 2;
    // COLORREF 0x00BBGGRR.
    uint32_t trailColour = 0;
    uint32_t headColour = 0;
    uint32_t brightness = 0;
    std::wstring glyphPath = L"common_res.dll";
    int64_t glyphStamp = 40;
    LightContent base;
};

// Header "DS_MatrixCodeLight" with the version, the nine values, from
// version 2 the glyph link, then the "DS_2D_Light" record.
DocumentBuilder& MatrixCodeRecord(DocumentBuilder& builder, const MatrixCodeContent& content = {});
DocumentBuilder::Bytes MatrixCodeRecordBytes(const MatrixCodeContent& content = {});
