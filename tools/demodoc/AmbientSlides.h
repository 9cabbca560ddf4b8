// The demo document's ambient, static-object and electric slides: sunbeams,
// motes and mist in a forest, a thunderstorm with lightning and rain over
// fields, grass, flowers and fireflies in a meadow at dusk, and arcs with
// glow, a flickering spark and a warning sign in a workshop. The scenes and
// sprites go into the document under their own picture paths; the arcs'
// pictures and effect as copies of "common_res.dll" 95, 98 and 97. The rain
// reuses the particle slides' raindrop picture (added here when absent).
#pragma once

#include "tools/demodoc/DemoContent.h"

void AddAmbientSlides(DemoContent& demo);

// The slides' names, in the order they are added.
extern const wchar_t* const ForestSlideName;
extern const wchar_t* const StormSlideName;
extern const wchar_t* const MeadowSlideName;
extern const wchar_t* const WorkshopSlideName;
