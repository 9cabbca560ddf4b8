// The demo document's pictures, drawn in code: night and dusk landscapes in
// several aspect ratios, so that the picture placements (stretch, fit, fill)
// each look different. Every picture is the same, byte for byte, on every run.
#pragma once

#include "tools/encoders/ImageWriters.h"

#include <vector>

enum class DemoFormat { Jpeg, Png };

struct DemoPicture {
    const wchar_t* fileName; // the name the demo document stores it under
    int width;
    int height;
    DemoFormat format;
    Image (*draw)(int width, int height);
};

// The pictures in the order the demo shows them.
const std::vector<DemoPicture>& DemoPictures();

// The picture drawn at its own size and encoded in its own format.
Bytes EncodeDemoPicture(const DemoPicture& picture);

// Each scene can be drawn at any size; the layout follows the height, so a
// wider picture shows more of the scene to the sides.
Image DrawMoonlitHills(int width, int height);
Image DrawAuroraLake(int width, int height);
Image DrawMistyForest(int width, int height);
Image DrawDesertGalaxy(int width, int height);
Image DrawSunsetSea(int width, int height);
