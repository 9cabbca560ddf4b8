// The pictures of the electric demo slide, drawn in code: the arc pictures
// that documents name as "common_res.dll" 95 and 98, the glow that the arcs
// gather around them, a flickering spark's frames, a warning sign and the
// workshop with its two coils. Every picture is the same, byte for byte, on
// every run.
#pragma once

#include "tools/assets/DemoArt.h"
#include "tools/encoders/ImageWriters.h"

// Picture 95 (sharp) or 98 (broad): two arc strips stacked, each a jagged
// white line with alpha. Rounded ends lie within the outer fifth of u at
// each end; between u = 0.195 and 0.805 the line leaves and rejoins the
// strip's middle, so that those parts tile along an arc of many segments.
enum class ArcStyle { Sharp, Broad };
Image DrawArcStrips(ArcStyle style);
// The glow around an arc: two strips stacked like the arc's, each a soft
// band across the strip fading out at the two ends, premultiplied (grey
// level = alpha = how much glow).
Image DrawArcGlow();
// The frames of a spark jumping between two electrodes, side by side: each
// a different burst of short jagged discharges around the gap.
Image DrawSparkFrames();
// The number of frames DrawSparkFrames draws.
constexpr int SparkFrameCount = 6;
// A yellow triangular high-voltage sign with a black border and bolt.
Image DrawWarningSign();

// The workshop: a brick cellar with two coils, their toroids facing each
// other across the middle, and a spark gap on a bench between them.
Image DrawWorkshop(int width, int height);

// Where the workshop's features lie, in fractions of its width and height:
// the inner edges of the two toroids, the gap between the spark gap's two
// balls, and the sign's place on the wall.
struct WorkshopLayout {
    double leftToroidX, rightToroidX, toroidY;
    double gapX, gapY;
    double signX, signY;
};
const WorkshopLayout& Workshop();
