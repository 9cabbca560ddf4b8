// The water brush's ripple bump map (picture 89), and the demo's water
// scenes with the masks their brushes paint through: a moonlit lake for the
// water and waves brushes, a harbour at night for light brushes, and a coral
// reef for the underwater layer.
#pragma once

#include "tools/encoders/ImageWriters.h"

#include <vector>

// Tileable ripples: the slope of a rippled water surface in red (across) and
// green (down), 0.5 for level, and its height in blue.
Image DrawRippleBump(int size);

// A mountain lake under the moon, the far shore's pines mirrored in it,
// reeds and a rock in front.
Image DrawMoonlitLake(int width, int height);
// Brush masks (512 × 512 alpha over the whole picture): the open water of
// the lake, without the reeds and the rock; the moon's glitter path on it.
std::vector<uint8_t> DrawLakeWaterMask(int width, int height);
std::vector<uint8_t> DrawMoonPathMask(int width, int height);

// A harbour at night: a lighthouse on a headland, a cottage and a lantern on
// the quay, their lights mirrored in the water.
Image DrawHarbourLights(int width, int height);
enum class HarbourLight { Lighthouse, Windows, Lantern };
// The light and its glow, with its reflection on the water.
std::vector<uint8_t> DrawHarbourLightMask(HarbourLight light, int width, int height);
// The harbour's open water.
std::vector<uint8_t> DrawHarbourWaterMask(int width, int height);

// A coral reef seen from within the water: sunbeams from the surface, fish,
// coral and sea grass over a sandy floor.
Image DrawSunlitReef(int width, int height);
