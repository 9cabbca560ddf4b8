// God rays: slanted beams of light that span the picture's height, drift
// sideways now and then and pulse; a ray that fades out comes back elsewhere.
#pragma once

#include "foundation/params/MediaParam.h"
#include "objects/particles/DS_ParticleSystemCtrl.h"

class DS_GodRayConstructor : public DS_ParticleSystemCtrl {
public:
    // The sprite defaults with rays at 80 degrees.
    DS_GodRayConstructor();
    DS_GodRayConstructor(const DS_GodRayConstructor& other) = default;
    ~DS_GodRayConstructor() override = default;

    // "DS_GodRayConstructor", version 1: the angle, then the sprite record.
    void Write(ArchiveHandle& archive) override;
    DS_ParticleSystemCtrl* Clone() const override;

    // The angle (stored quietly), then the sprite record.
    void Read(ArchiveHandle& archive, int32_t version);

    void InitParticle(ParticleItem& particle) override;
    void UpdateParticle(ParticleItem& particle) override;

    // The ray's quad: the base size wide, the picture's height tall, its
    // long sides along the ray angle as seen on screen.
    void SetRayUpVector(ParticleItem& particle);

    // Degrees counter-clockwise on screen from +x: 90 gives upright rays, 80
    // leans their tops to the right.
    MediaParamT<unsigned int> rayAngle{80u};
};
