// A flower: a static object whose sprite sways about its bottom centre, as a
// flower does in the wind, once every 2π of the object clock.
#pragma once

#include "objects/particles/DS_StatObjConstructor.h"

class DS_FlowerConstructor : public DS_StatObjConstructor {
public:
    // A static object with a sway of 1.5 degrees.
    DS_FlowerConstructor();
    DS_FlowerConstructor(const DS_FlowerConstructor& other) = default;
    ~DS_FlowerConstructor() override = default;

    // "DS_FlowerConstructor", version 1: the sway, then the static object's
    // record.
    void Write(ArchiveHandle& archive) override;
    DS_ParticleSystemCtrl* Clone() const override;

    // The sway, then the nested static object's record.
    void Read(ArchiveHandle& archive, int32_t version);

    // The sprite sheared by the sway of the moment, its bottom centre kept
    // in place; the colour stays (a flower does not fade).
    void UpdateParticle(ParticleItem& particle) override;

    // The largest lean either way, in degrees.
    float swayAmplitude = 1.5f;
};
