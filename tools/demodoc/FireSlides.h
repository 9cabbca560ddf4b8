// The demo's fire slides: a flame layer with its band and heat haze over a
// night landscape, and fire brushes burning in the torches and the brazier of
// a castle gate.
#pragma once

#include "tools/demodoc/DemoContent.h"

void AddFireSlides(DemoContent& demo);
