// A glowing particle system: its particles' glow texture is gathered into a
// render target of its own, composited over the scene in the glow colour,
// and the sharp texture drawn on top (DS_GlowingObj draws it).
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/params/MediaParam.h"
#include "foundation/params/UINTSclaleTo.h"
#include "objects/particles/DS_FXParticleSystemCtrl.h"

#include <d3d9.h>

class DS_GlowEffectCtrl : public DS_FXParticleSystemCtrl {
public:
    ~DS_GlowEffectCtrl() override = default;

    // "DS_GlowEffectCtrl", version 1: the glow colour and strength, then the
    // effect's record.
    void Write(ArchiveHandle& archive) override;

    // The glow colour (stored quietly) and strength, then the nested effect
    // record.
    void Read(ArchiveHandle& archive, int32_t version);

    // A glowing object over a clone of this system; none when it cannot be
    // made.
    DS_ABObj* CreateObject() override;

    // The effect, then the glow texture (second image) and the sharp
    // texture (main image): the first picture of each, none without.
    void LoadEffect() override;
    // Before each update of the particles; nothing here.
    virtual void PreUpdate() {}

    // A COLORREF.
    MediaColor glowColour{0u};
    // 0.01 × value: 1.0 by default.
    UINTSclaleTo<float> glowStrength;
    ComHolder<IDirect3DTexture9> glowTexture;
    ComHolder<IDirect3DTexture9> sharpTexture;

protected:
    // Black glow of strength 1.
    DS_GlowEffectCtrl();
    // Colour and strength, and the same two textures referenced again.
    DS_GlowEffectCtrl(const DS_GlowEffectCtrl&) = default;

    // The first picture of each image link as the glow and sharp textures.
    void LoadTextures();
};
