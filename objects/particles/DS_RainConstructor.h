// Rain: a flow falling straight down fast, its streaks turned along the fall
// and pulsing in and out so that the drops seem to flicker.
#pragma once

#include "objects/particles/DS_FlowConstructor.h"

class DS_RainConstructor : public DS_FlowConstructor {
public:
    // A flow at 270 degrees, strength 2000, no drift, size factors 0.5 to 1,
    // turned along the flow.
    DS_RainConstructor();
    DS_RainConstructor(const DS_RainConstructor& other) = default;
    ~DS_RainConstructor() override = default;

    // "DS_RainConstructor", version 1, then the flow's record.
    void Write(ArchiveHandle& archive) override;
    DS_ParticleSystemCtrl* Clone() const override;

    // The nested flow record, as its own version holds it.
    void Read(ArchiveHandle& archive, int32_t version);

    void InitParticle(ParticleItem& particle) override;
    void UpdateParticle(ParticleItem& particle) override;

    // Three quarters of a turn more for the streak picture.
    D3DXMATRIX rainRotation;
};
