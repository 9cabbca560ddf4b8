// The demo document's particle slides: snow in a winter wood, rain on a
// city street, falling leaves in a park, fish and bubbles on a reef, birds
// in an evening sky and ghosts on a haunted hill. Each slide's scene and
// sprites go into the document's resource table under their own picture
// paths; animated sprites either as one picture of frames side by side (a
// frame grid) or as an image list of several records with frame delays.
#pragma once

#include "tools/demodoc/DemoContent.h"

void AddParticleSlides(DemoContent& demo);
