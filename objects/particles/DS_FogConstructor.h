// Fog: soft patches that wander slowly inside the view, turning bit by bit
// and bouncing back once their centre passes an edge, their opacity
// breathing between the phase bounds.
#pragma once

#include "objects/particles/DS_ParticleSystemCtrl.h"

class DS_FogConstructor : public DS_ParticleSystemCtrl {
public:
    // Speeds 40 and 40, phase 0.2 to 1.0, transparency 50 %.
    DS_FogConstructor();
    DS_FogConstructor(const DS_FogConstructor& other) = default;
    ~DS_FogConstructor() override = default;

    // "DS_FogConstructor", version 1: the speeds, then the sprite record.
    void Write(ArchiveHandle& archive) override;
    DS_ParticleSystemCtrl* Clone() const override;

    // The speeds, then the sprite record.
    void Read(ArchiveHandle& archive, int32_t version);

    void InitParticle(ParticleItem& particle) override;
    void UpdateParticle(ParticleItem& particle) override;

    // The largest velocity components, pixels per step unit.
    float speedX = 40.0f;
    float speedY = 40.0f;
};
