// The demo's lakeside slide: a flag whose animated pattern ripples, a lake
// that mirrors the scene (the flag, the swaying willow and the lantern
// included), reeds and willow strands that sway and a paper lantern that
// breathes.
#pragma once

#include "tools/demodoc/DemoContent.h"

void AddLakesideSlides(DemoContent& demo);
