// The flame layer's heat haze: the scene captured this frame, redrawn over the
// picture through the distortion effect's technique "BumpmapDistortLow2",
// which shifts it by a scrolling bump picture.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/geometry/DS_SimpleMesh.h"
#include "foundation/geometry/VertexFormats.h"
#include "foundation/params/MediaSpeedParam.h"
#include "foundation/params/UINTSclaleTo.h"
#include "foundation/resources/DS_FileLink3.h"
#include "foundation/resources/DS_ImageFileLink.h"
#include "foundation/resources/EffectParameter.h"

#include <d3d9.h>
#include <d3dx9effect.h>

class RenderTargetPair;

class BumpDistortion {
public:
    // Bump picture ("common_res.dll", 62), effect (…, 63), speed 0.05,
    // strength 0.05, bump scale 0.208.
    BumpDistortion();
    BumpDistortion(const BumpDistortion&) = delete;
    BumpDistortion& operator=(const BumpDistortion&) = delete;

    // The quad over an 800 × 600 placeholder, the bump texture and the effect
    // from the current document; whether there is an effect.
    bool Restore();
    // Lets go of the effect when the device refuses its technique: the
    // distortion then acts as one without an effect.
    void CheckTechnique();
    // The quad over a picture of width × height pixels.
    void SetQuad(float width, float height);
    // Advances the clock and sets the per-frame parameters.
    void FrameMove(float t);
    // The pair's current texture (the captured scene) through the effect,
    // drawn once per pass with WORLD already set.
    void Render(RenderTargetPair& pair);

    // The picture rectangle; its frame's world matrix places the pass.
    DS_SimpleMesh<DX_V::PT> quad;
    DS_ImageFileLink bumpImage;
    DS_HLSLEffectFile effectLink;
    MediaSpeedParam speed;
    UINTSclaleTo<float> strength;
    UINTSclaleTo<float> bumpScale;
    ComHolder<ID3DXEffect> effect;
    ComHolder<IDirect3DTexture9> bumpTexture;
    // Picture height / width.
    float aspect = 1.0f;

private:
    // The effect's parameters that FrameMove and Render set, looked up when
    // the effect is taken.
    struct Parameters {
        EffectParameter strength{"stenght"};
        EffectParameter offset{"Offset"};
        EffectParameter bumpScale{"bump_scale"};
        EffectParameter sceneTexture{"SceneTex"};
        EffectParameter bumpTexture{"Bumpmap"};
    };
    Parameters effectParameters;
};
