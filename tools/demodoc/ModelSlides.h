// The demo document's 3D object and 3D sprite slides: butterflies over a
// flower garden at golden hour, a clock tower at dusk whose dial shows the
// local time, blossom drifting over the moonlit hills and autumn leaves
// tumbling through the misty forest. The meshes and pictures that
// "common_res.dll" would provide go into the document as copies under their
// module numbers; the sprites carry their own mesh and picture.
#pragma once

#include "tools/demodoc/DemoContent.h"

void AddModelSlides(DemoContent& demo);
