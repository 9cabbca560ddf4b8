// The demo's water-layer slides: mountains at dusk mirrored in a rippling
// lake, and rain falling in rings on a lily pond.
#pragma once

#include "tools/demodoc/DemoContent.h"

void AddWaterLayerSlides(DemoContent& demo);
