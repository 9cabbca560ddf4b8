#include "objects/particles/DS_GodRayConstructor.h"

#include "foundation/core/Random.h"
#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/params/StoredValues.h"
#include "foundation/render/PictureMapping.h"
#include "objects/particles/ParticleItem.h"
#include "objects/particles/ParticleLean.h"

using namespace stored_values;

namespace {

const wchar_t* const RecordName = L"DS_GodRayConstructor";
constexpr int32_t WrittenVersion = 1;

// A ray drifts sideways at up to this many pixels per step unit either way.
constexpr float DriftRange = 20.0f;
// Clock units between a ray's chances of a new drift.
constexpr float DriftChangeInterval = 0.25f;

} // namespace

DS_GodRayConstructor::DS_GodRayConstructor() = default;

void DS_GodRayConstructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    WriteUInt(archive, rayAngle);
    DS_BaseSpriteProp::Write(archive);
}

DS_ParticleSystemCtrl* DS_GodRayConstructor::Clone() const { return new DS_GodRayConstructor(*this); }

void DS_GodRayConstructor::Read(ArchiveHandle& archive, int32_t)
{
    archive->ReadUInt(rayAngle.value);
    ReadParticleSystemBase(archive, *this);
}

void DS_GodRayConstructor::InitParticle(ParticleItem& p)
{
    const float l = GetPixelLeft(), r = GetPixelRight();
    p.position.x = l + RandomUnit() * (r - l);
    p.sign = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    p.velocity = D3DXVECTOR3(RandomCentred(DriftRange), 0.0f, 0.0f);
    // Half the view's height measured from the picture's top: the picture's
    // middle for a view of the whole height.
    p.position.y = (GetPixelBottom() - GetPixelTop()) * 0.5f;
    p.position.z = 0.0f;
    SetRayUpVector(p);
    p.phase = RandomUnit();
}

void DS_GodRayConstructor::UpdateParticle(ParticleItem& p)
{
    if (clock - p.lastChange > DriftChangeInterval) {
        p.lastChange = clock;
        if (Rand() & 1)
            p.velocity = D3DXVECTOR3(RandomCentred(DriftRange), 0.0f, 0.0f);
    }
    p.position.x += step * p.velocity.x;
    p.position.y += step * p.velocity.y;
    // A ray that faded out starts again somewhere else.
    PulsePhase(p);
}

void DS_GodRayConstructor::SetRayUpVector(ParticleItem& p)
{
    p.halfWidth = static_cast<float>(baseSize.value) * 0.5f;
    p.halfHeight = static_cast<float>(CurrentPictureMapping.pictureHeight) * 0.5f;
    const unsigned int angle = rayAngle.value;
    // Angles of 0, 180 and 360 make a ray lying flat: edge-on, it shows no
    // pixel.
    const float theta = angle < 180u ? 180.0f - static_cast<float>(angle) : 360.0f - static_cast<float>(angle);
    p.upAxis = D3DXVECTOR3(ShearFromAngle(theta), 1.0f, 0.0f);
}
