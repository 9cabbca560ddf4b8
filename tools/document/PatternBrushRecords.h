// Emitters of the records of the brushes that paint a picture over the
// masked area: the pattern brush "DS_PatternBrush", its wrapper
// "DS_PatternBrushC" and the background copy "DS_BackgroundCopy".
#pragma once

#include "tools/document/BrushRecords.h"
#include "tools/document/DocumentBuilder.h"

#include <cstdint>
#include <string>

// A pattern brush with the program's defaults: no pattern, zoom 1.
struct PatternBrushContent {
    PatternBrushContent();

    std::wstring patternPath;
    int64_t patternStamp = 0;
    int32_t verticalMirror = 0;
    int32_t horizontalMirror = 0;
    // Degrees; a negative angle is stored as its unsigned twin.
    uint32_t rotation = 0;
    // × 0.01.
    uint32_t zoom = 100;
    // × -0.01 and × 0.01 tiles.
    uint32_t offsetX = 0;
    uint32_t offsetY = 0;
    BrushBaseContent base;
};

// Header "DS_PatternBrush" 1: the pattern link, the mirrors, the rotation,
// zoom and offsets, then the brush base.
DocumentBuilder& PatternBrushRecord(DocumentBuilder& builder, const PatternBrushContent& content);
DocumentBuilder::Bytes PatternBrushRecordBytes(const PatternBrushContent& content);
// Header "DS_PatternBrushC" 1, then the whole pattern-brush record.
DocumentBuilder::Bytes PatternBrushCRecordBytes(const PatternBrushContent& content);

// A background copy with the program's defaults: no shift, no mirrors.
struct BackgroundCopyContent {
    BackgroundCopyContent();

    // Only the point is used, in picture pixels.
    int32_t left = 0, right = 0, top = 0, bottom = 0;
    int32_t pointX = 0, pointY = 0;
    int32_t verticalMirror = 0;
    int32_t horizontalMirror = 0;
    BrushBaseContent base;
};

// Header "DS_BackgroundCopy" 1: the rectangle (six int32), the mirrors, then
// the brush base.
DocumentBuilder::Bytes BackgroundCopyRecordBytes(const BackgroundCopyContent& content);
