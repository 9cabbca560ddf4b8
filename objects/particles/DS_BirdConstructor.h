// Birds: fish that never slow down much, so that they keep flying.
#pragma once

#include "objects/particles/DS_FishConstructor.h"

class DS_BirdConstructor : public DS_FishConstructor {
public:
    DS_BirdConstructor() = default;
    DS_BirdConstructor(const DS_BirdConstructor& other) = default;
    ~DS_BirdConstructor() override = default;

    // "DS_BirdConstructor", version 1, then the fish record.
    void Write(ArchiveHandle& archive) override;
    DS_ParticleSystemCtrl* Clone() const override;

    // The nested fish record.
    void Read(ArchiveHandle& archive, int32_t version);

    // The fish's swim, then each velocity component kept at 70 % of its
    // largest value at least.
    void UpdateParticle(ParticleItem& particle) override;
};
