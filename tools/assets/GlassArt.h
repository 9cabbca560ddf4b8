// The glass ball's pictures, drawn in code: the highlight and the rim laid
// over the ball (square, everything inside the inscribed circle, upright)
// and the soft shadow under it. Colour in RGB, coverage in alpha.
#pragma once

#include "tools/encoders/ImageWriters.h"

// A window's reflection curving over the upper left of the ball, a bright
// specular spot and a faint sheen.
Image DrawGlassHighlight(int size);
// The ball's darkening rim, a thin bright edge and the light the ball
// gathers along its lower inside edge.
Image DrawGlassRim(int size);
// A soft dark ellipse (the picture's proportions set it), darkest just below
// its middle and fading out towards the top, where the ball covers it.
Image DrawGlassShadow(int width, int height);

// The three as the PNG files the demo document embeds.
Bytes MakeGlassHighlightFile();
Bytes MakeGlassRimFile();
Bytes MakeGlassShadowFile();
