// The pictures of the water layers' demo slides, drawn in code: mountains
// at dusk over a still lake for the lake layer to mirror, and a lily pond
// seen from above for the water-ring layer's rain. The same bytes on every
// run.
#pragma once

#include "tools/assets/DemoArt.h"

#include <vector>

// The lake picture's waterline, as a fraction of its height from the top:
// where the lake layer puts its horizon with its default depth (0.375).
constexpr double MountainLakeWaterline = 0.625;

// Snowy ridges at dusk with a rising moon, a shore of firs at the waterline
// and, below it, the same scene dimly mirrored.
Image DrawMountainLake(int width, int height);
// A pond from above: pebbles and sand under clear green water, a few koi,
// lily pads and two flowers floating on the surface.
Image DrawLilyPond(int width, int height);

// The two pictures with their file names, sizes and formats.
const std::vector<DemoPicture>& WaterPictures();
