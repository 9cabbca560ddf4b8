// The fire effects' pictures (the flame streaks, the noise and the heat-haze
// bump map that documents name by number), and the demo's fire scenes with
// the masks and flame areas of their fire brushes.
#pragma once

#include "tools/encoders/ImageWriters.h"

#include <vector>

// Tileable grey streaks, taller than wide: the flame pattern the fire effect
// scrolls upwards (pictures 7 and 93; seeds tell them apart).
Image DrawFlameStreaks(int size, uint32_t seed);
// Tileable smooth grey noise that sways the flames (picture 8).
Image DrawFireNoise(int size);
// Tileable smooth noise in red and green, blue at the middle: the heat haze's
// bump map (picture 62).
Image DrawHeatHazeBump(int size);

// A night landscape for the flame layer: mountains under a starry sky lit
// orange from below.
Image DrawEmberNight(int width, int height);
// A castle gate at night with two wall torches and a brazier, for fire
// brushes.
Image DrawTorchlitGate(int width, int height);

// A flame of the torchlit gate in picture pixels: the base's centre and the
// flame's width and height.
struct FlamePlace {
    float x, y, width, height;
};
// The gate's flames at the given picture size: the two torches, then the
// brazier.
std::vector<FlamePlace> TorchlitGateFlames(int width, int height);
// A brush mask (512 × 512 alpha over the whole picture) that shows one flame:
// soft-edged, widest at the base, tapering to the tip.
std::vector<uint8_t> DrawFlameMask(const FlamePlace& flame, int pictureWidth, int pictureHeight);
