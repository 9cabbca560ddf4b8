// A night city drawn in code for the glyph rain: a skyline of dark towers
// with lit windows against a sky that glows towards the horizon under a
// large moon. Its strong contrast shows well when the glyphs take their
// brightness from the picture.
#pragma once

#include "tools/encoders/ImageWriters.h"

// The layout follows the height; a wider picture shows more towers.
Image DrawNightCity(int width, int height);

// The 1600 × 1000 picture as the JPEG file the demo document embeds.
Bytes MakeNightCityFile();
