// Emitters of the records of the brushes that move the masked area: the move
// brush "DS_MoveFX" (with its "DS_DirectionBased" part) and the expand brush
// "DS_ExpandFX" (with its "DS_CentralBased" part).
#pragma once

#include "tools/document/BrushRecords.h"
#include "tools/document/DocumentBuilder.h"

#include <cstdint>

// A move brush with the program's defaults: smooth, amplitude 0.01, angle 0.
struct MoveContent {
    MoveContent();

    // 1: jitter; otherwise smooth.
    int32_t mode = 0;
    // × 0.0002.
    uint32_t amplitude = 50;
    // Degrees.
    uint32_t angle = 0;
    BrushBaseContent base;
};

// Header "DS_MoveFX" 1: the mode; header "DS_DirectionBased" 1: amplitude and
// angle; then the brush base.
DocumentBuilder::Bytes MoveRecordBytes(const MoveContent& content);

// An expand brush with the program's defaults: expansion 0.25, triangle
// wave, centred at the origin.
struct ExpandContent {
    ExpandContent();

    // × 0.005.
    uint32_t expansion = 50;
    uint32_t contraction = 0;
    // 0: triangle wave; otherwise sine.
    int32_t mode = 0;
    // Picture pixels.
    float centre[3] = {};
    BrushBaseContent base;
};

// Header "DS_ExpandFX" 1: expansion, contraction, mode; header
// "DS_CentralBased" 1: the centre; then the brush base.
DocumentBuilder::Bytes ExpandRecordBytes(const ExpandContent& content);
