// Sparkles: glints that drift slowly, pulse and grow with their pulse, from
// half their size when faint to their full size when bright; a sparkle that
// fades out comes back elsewhere.
#pragma once

#include "objects/particles/DS_ParticleSystemCtrl.h"

class DS_SparkleConstructor : public DS_ParticleSystemCtrl {
public:
    // The sprite defaults.
    DS_SparkleConstructor() = default;
    DS_SparkleConstructor(const DS_SparkleConstructor& other) = default;
    ~DS_SparkleConstructor() override = default;

    // "DS_SparkleConstructor", version 1, then the sprite record.
    void Write(ArchiveHandle& archive) override;
    DS_ParticleSystemCtrl* Clone() const override;

    // The sprite record.
    void Read(ArchiveHandle& archive, int32_t version);

    void InitParticle(ParticleItem& particle) override;
    void UpdateParticle(ParticleItem& particle) override;
};
