// The base of the glowing particle systems: a particle system drawn through
// an effect of the document's resources.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/resources/DS_FileLink3.h"
#include "objects/particles/DS_ParticleSystemCtrl.h"

#include <d3dx9effect.h>

class DS_FXParticleSystemCtrl : public DS_ParticleSystemCtrl {
public:
    ~DS_FXParticleSystemCtrl() override = default;

    // "DS_FXParticleSystemCtrl", version 1: the effect link, then the sprite
    // record.
    void Write(ArchiveHandle& archive) override;

    // The effect link (stored quietly), then the sprite record.
    void Read(ArchiveHandle& archive, int32_t version);

    // The effect of the link in the current resource manager, in place of
    // the one held; none when it cannot be made.
    virtual void LoadEffect();

    DS_HLSLEffectFile effectLink;
    ComHolder<ID3DXEffect> effect;

protected:
    DS_FXParticleSystemCtrl() = default;
    // The link, and the same effect referenced again.
    DS_FXParticleSystemCtrl(const DS_FXParticleSystemCtrl&) = default;
};
