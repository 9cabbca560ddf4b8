// Fixtures of the water, waves and light brush tests: a picture with detail
// everywhere (so any shift of it shows), masks over its left half, the
// ripple bump map under the number documents name, effect read-backs and a
// check that a brush changes its masked half, over time, and nothing else.
#pragma once

#include "foundation/core/ComHolder.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/Pixels.h"

#include <d3d9.h>
#include <d3dx9effect.h>

#include <vector>

class DS_FX_Constructor;

constexpr int WaterSide = 128;

float ReadFloat(ID3DXEffect* effect, const char* name);
std::vector<float> ReadFloats(ID3DXEffect* effect, const char* name, UINT count);

class WaterBrushTest : public LayerTest<WaterSide, WaterSide> {
protected:
    void SetUp() override;

    // The layer over the checked picture, stretched over the whole back
    // buffer, so picture and back-buffer pixels coincide.
    void ShowPicture();
    // The brush's mask: its left half opaque, its right half clear; or clear
    // all over.
    void MaskLeftHalf(DS_FX_Constructor& brush);
    void MaskNothing(DS_FX_Constructor& brush);
    // One slide frame with a runtime object of the brush whose clock has run
    // for `seconds`.
    Pixels FrameAfter(DS_FX_Constructor& brush, float seconds);
    // The brush, masked to the left half, with each background flag: the
    // right half stays as the brush leaves an unmasked picture, the left
    // half differs from that at `first` and changes between `first` and
    // `second`. (A brush that reads the scene redraws it from the captured
    // texture, which the layer's placement resamples by half a pixel; the
    // frame of the brush with a clear mask is the reference for both
    // techniques, and equals the plain picture for "Main".)
    void ExpectOnlyTheMaskedHalfMoves(DS_FX_Constructor& brush, float first, float second);
    // The frame of the brush with a clear mask after `seconds`.
    Pixels UnmaskedFrame(DS_FX_Constructor& brush, float seconds);
    // Draws the brush once through the layer, so that its parameters reach
    // the effect.
    void ApplyOnce(DS_FX_Constructor& brush);

    DS_2D_Light layer;
    ComHolder<IDirect3DTexture9> picture;
    // The frame of the layer alone.
    Pixels plain;
};
