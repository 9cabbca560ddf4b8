// Grass: blades standing on the view's bottom edge, swaying about their
// roots in a wave that runs across the picture.
#pragma once

#include "objects/particles/DS_ParticleSystemCtrl.h"

class DS_GrassConstructor : public DS_ParticleSystemCtrl {
public:
    // The sprite defaults with a sway of 3 degrees.
    DS_GrassConstructor();
    DS_GrassConstructor(const DS_GrassConstructor& other) = default;
    ~DS_GrassConstructor() override = default;

    // "DS_GrassConstructor", version 1: the sway, then the sprite record.
    void Write(ArchiveHandle& archive) override;
    DS_ParticleSystemCtrl* Clone() const override;

    // The sway, then the sprite record.
    void Read(ArchiveHandle& archive, int32_t version);

    // A blade at a random place on the bottom edge, perhaps mirrored, with
    // its root in velocity z and its sway offset in velocity y.
    void InitParticle(ParticleItem& particle) override;
    // The lean of the wave at the blade's place; its root stays put.
    void UpdateParticle(ParticleItem& particle) override;

    // The largest lean either way, in degrees.
    float swayAmplitude = 3.0f;
};
