// The lakeside inn at night, the demo's scene for the brushes that paint,
// copy and move the picture: a flag whose animated pattern ripples, a lake
// that reflects the scene, reeds and a willow that sway, and a paper lantern
// that breathes. Also the flag's pattern frames and the brushes' masks.
#pragma once

#include "tools/encoders/ImageWriters.h"

#include <vector>

// The scene; everything lies where LakesidePlaces says at any size.
Image DrawLakesideInn(int width, int height);

// One frame of the flag's cloth: crimson and gold bands rippled by waves
// that run along it, tileable both ways; frame k of count is the waves a
// k / count of their period further on.
Image DrawBannerFrame(int width, int height, int frame, int count);

// Where the brushes go in a picture of the given height (any width), in
// picture pixels.
struct LakesidePlaces {
    // The far shore, where the lake's reflection folds.
    int shoreY;
    // The flag's top and height (the pattern's tiles fit its height).
    float flagTop, flagHeight;
    // The lantern's centre.
    float lanternX, lanternY;
};
LakesidePlaces LakesidePlacesOf(int height);

// Brush masks (512 × 512 alpha over the whole picture):
// the open lake, its reflection fading towards the viewer, clear behind the
// reeds (where the picture holds the reflection itself) and on the bank;
std::vector<uint8_t> DrawLakeMask(int width, int height);
// the flag's cloth;
std::vector<uint8_t> DrawFlagMask(int width, int height);
// around each reed, strongest at the tips and nothing at the roots;
std::vector<uint8_t> DrawReedsMask(int width, int height);
// the willow's hanging strands, strongest at their ends;
std::vector<uint8_t> DrawWillowMask(int width, int height);
// a soft disc around the lantern and its glow.
std::vector<uint8_t> DrawLanternMask(int width, int height);
