// A discharge: a static object showing a strip of frames side by side, which
// jumps to a random other frame at every frame switch: a flickering spark.
#pragma once

#include "objects/particles/DS_StatObjConstructor.h"

class DS_DischargeConstructor : public DS_StatObjConstructor {
public:
    DS_DischargeConstructor() = default;
    DS_DischargeConstructor(const DS_DischargeConstructor& other) = default;
    ~DS_DischargeConstructor() override = default;

    // "DS_DischargeConstructor", version 1, then the static object's record.
    void Write(ArchiveHandle& archive) override;
    DS_ParticleSystemCtrl* Clone() const override;

    // The nested static object's record.
    void Read(ArchiveHandle& archive, int32_t version);

    // The static placement; a strip of no frames has nothing to show, so its
    // sprite collapses to a point.
    void InitParticle(ParticleItem& particle) override;
    // A random frame other than index. A single frame stays; with no frames
    // the index stays as it is.
    unsigned int NextFrameIndex(unsigned int index) override;
};
