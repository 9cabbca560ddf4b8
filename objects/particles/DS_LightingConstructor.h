// Lightning: flashes that strike at random places inside the view, each
// turned a little and perhaps mirrored, flicker once or twice and fade out.
// Between strikes the particles rest invisible.
#pragma once

#include "objects/particles/DS_ParticleSystemCtrl.h"

class DS_LightingConstructor : public DS_ParticleSystemCtrl {
public:
    // The sprite defaults, drawn additively; the view's flag set.
    DS_LightingConstructor();
    DS_LightingConstructor(const DS_LightingConstructor& other) = default;
    ~DS_LightingConstructor() override = default;

    // "DS_LightingConstructor", version 1, then the sprite record.
    void Write(ArchiveHandle& archive) override;
    DS_ParticleSystemCtrl* Clone() const override;

    // The sprite record.
    void Read(ArchiveHandle& archive, int32_t version);

    // A new strike's place, turn and mirror; the flash starts dark.
    void InitParticle(ParticleItem& particle) override;
    void UpdateParticle(ParticleItem& particle) override;
};
