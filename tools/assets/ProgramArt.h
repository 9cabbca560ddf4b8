// The program's own pictures: icon, splash and noise, drawn in code.
#pragma once

#include "tools/encoders/ImageWriters.h"

// A glass orb with a crescent moon and stars on a transparent ground.
Image DrawOrb(int size);
// Tileable grey fractal value noise.
Image DrawNoise(int size);

// The files of res/, as the build embeds them.
Bytes MakeIconFile();
Bytes MakeSplashFile();
Bytes MakeNoiseFile();
