// The demo's water slides: water and waves brushes on a moonlit lake, light
// brushes in a harbour at night, and the underwater layer over a coral reef.
#pragma once

#include "tools/demodoc/DemoContent.h"

void AddWaterSlides(DemoContent& demo);
