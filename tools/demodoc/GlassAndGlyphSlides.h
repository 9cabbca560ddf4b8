// The demo's glass-ball and glyph-rain slides, with the pictures they use.
#pragma once

#include "tools/demodoc/DemoContent.h"

// Appends the slides to the show and the pictures to the table: the glass
// ball's overlays and shadow and the glyph strip as "common_res.dll" module
// records (the program carries no module, so the document's copies serve),
// and the night city picture under its disk path.
void AddGlassAndGlyphSlides(DemoContent& demo);
