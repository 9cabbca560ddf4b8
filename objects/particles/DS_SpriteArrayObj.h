// The runtime object of the sprite particle systems: it owns a clone of its
// controller and the particle geometry with the main picture's animation
// frames, updates them every frame and has the slide's layer draw them.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/model/DS_ABObj.h"
#include "objects/particles/AnimatedTexture.h"
#include "objects/particles/ParticleGeomArray.h"
#include "scene/layerbase/SpriteArrayDrawable.h"

#include <d3d9.h>

#include <cstdint>

class DS_ParticleSystemCtrl;

class DS_SpriteArrayObj : public DS_ABObj, public AnimatedTexture<ParticleGeomArray>, public SpriteArrayDrawable {
public:
    // Takes ownership of the clone, copies its main picture's frames, makes
    // the buffers and the particles for its count, and takes its second
    // picture when it has one.
    explicit DS_SpriteArrayObj(DS_ParticleSystemCtrl* ownedClone);
    ~DS_SpriteArrayObj() override;

    // Nothing is drawn without quads to draw.
    void Render(DS_2D_Light& layer) override;
    // An editing aid: a dark quad over the view, as the layer marks it.
    void DrawHighlight(DS_2D_Light& layer, int argument) override;
    // Moves the particles, steps the animation and rewrites the quads; a
    // static system rewrites them only when the frame changes (and once
    // after its buffers are made).
    void Update(float time) override;
    // The view's pixel edges follow the new picture size.
    void OnViewChanged() override;
    bool HitTest(float x, float y) override;

    const DS_SpriteArrayT<DX_V::PCT>& SpriteGeometry() const override { return *this; }
    IDirect3DTexture9* CurrentFrameTexture() const override { return FrameTexture(); }
    IDirect3DTexture9* GetSecondTexture() const override { return secondTexture.Get(); }
    int AdditiveFlag() const override;

    DS_ParticleSystemCtrl& System() const { return *controller; }

    ComHolder<IDirect3DTexture9> secondTexture;
    // 0, or 1 for the static-object systems: how the highlight marks them.
    int32_t markerStyle = 0;
};
