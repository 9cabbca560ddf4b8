// The glyph rain's strip, drawn in code: a column of glyphs (mirrored
// half-width kana and digits) in equal slots, white, each shape in alpha
// with a faint glow, every slot clear at its edges so that filtering never
// mixes neighbours.
#pragma once

#include "tools/encoders/ImageWriters.h"

// Glyphs in a strip of width × height: height / width + 2, as the layer
// counts them.
int GlyphStripCount(int width, int height);

// The strip: slot g (0 at the top) of height / count pixels holds glyph g.
Image DrawGlyphStrip(int width, int height);

// The 32 × 1024 strip as the PNG file the demo document embeds (34 glyphs).
Bytes MakeGlyphStripFile();
