// Fixtures for the brush and effect-layer tests: frames drawn as a slide
// draws them, textures from generated pictures, alpha masks, and the
// program's fire pictures placed under the numbers that documents name.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/core/CountedPtr.h"
#include "foundation/model/DS_ABObj.h"
#include "foundation/resources/DS_DocResManager.h"
#include "tests/support/Pixels.h"
#include "tests/support/TestTextures.h"
#include "tools/encoders/ImageWriters.h"

#include <d3d9.h>

#include <vector>

class DS_2D_Light;
class TestDevice;

// One frame as the slide draws it (capture when anything reads the scene,
// the picture, the objects, the finishing pass) on a cleared back buffer;
// the back buffer as it ends.
Pixels DrawSlideFrame(TestDevice& device, DS_2D_Light& layer, const std::vector<CountedPtr<DS_ABObj>>& objects = {});

// A managed A8 texture, columns × rows texels of the given alphas (row by
// row).
ComHolder<IDirect3DTexture9> AlphaTexture(IDirect3DDevice9* device, UINT columns, UINT rows,
                                          const std::vector<uint8_t>& alphas);

// The fire effects' pictures 7, 8, 62 and 93 in the manager, as a document
// that embeds them has them.
void AddFirePictures(IDirect3DDevice9* device, DS_DocResManager& manager);

// Seconds of brush time in 0.2 s steps, as the slide's updates give them.
template <class Brush>
void RunFor(Brush& brush, float seconds)
{
    for (float t = 0.2f; t <= seconds + 1e-4f; t += 0.2f)
        brush.Update(t);
}

