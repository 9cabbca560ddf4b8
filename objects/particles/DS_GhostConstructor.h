// Ghosts: slow, half-transparent fish whose phase pulses, so that each fades
// away and reappears somewhere else.
#pragma once

#include "objects/particles/DS_FishConstructor.h"

class DS_GhostConstructor : public DS_FishConstructor {
public:
    // Speeds 50 and 50, phase speed 0.66, transparency 50 %, size factor 1.
    DS_GhostConstructor();
    DS_GhostConstructor(const DS_GhostConstructor& other) = default;
    ~DS_GhostConstructor() override = default;

    // "DS_GhostConstructor", version 1, then the fish record.
    void Write(ArchiveHandle& archive) override;
    DS_ParticleSystemCtrl* Clone() const override;

    // The nested fish record.
    void Read(ArchiveHandle& archive, int32_t version);

    // The fish's start with a random phase.
    void InitParticle(ParticleItem& particle) override;
    // The fish's swim, then the phase pulse.
    void UpdateParticle(ParticleItem& particle) override;
};
