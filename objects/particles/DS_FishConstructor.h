// Fish: each particle swims with its own random velocity inside the view,
// turns back once it has left the view at a side (its picture mirrored to
// face the way it swims), keeps within the top and bottom, and now and then
// changes its pace.
#pragma once

#include "objects/particles/DS_ParticleSystemCtrl.h"

class DS_FishConstructor : public DS_ParticleSystemCtrl {
public:
    // The sprite defaults with speeds 80 across and 50 up and down.
    DS_FishConstructor();
    DS_FishConstructor(const DS_FishConstructor& other) = default;
    ~DS_FishConstructor() override = default;

    // "DS_FishConstructor", version 1: the speeds, then the sprite record.
    void Write(ArchiveHandle& archive) override;
    DS_ParticleSystemCtrl* Clone() const override;

    // The speeds, then the sprite record.
    void Read(ArchiveHandle& archive, int32_t version);

    void InitParticle(ParticleItem& particle) override;
    void UpdateParticle(ParticleItem& particle) override;

    // Half extents and colour, the picture facing the way the particle moves.
    void FishSprite(ParticleItem& particle);

    // The largest velocity components, pixels per step unit.
    float speedX = 80.0f;
    float speedY = 50.0f;
};
