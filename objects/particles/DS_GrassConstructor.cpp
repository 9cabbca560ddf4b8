#include "objects/particles/DS_GrassConstructor.h"

#include "foundation/core/Numeric.h"
#include "foundation/core/Random.h"
#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/render/PictureMapping.h"
#include "objects/particles/ParticleItem.h"
#include "objects/particles/ParticleLean.h"

#include <cmath>

namespace {

const wchar_t* const RecordName = L"DS_GrassConstructor";
constexpr int32_t WrittenVersion = 1;

constexpr float TwoPi = 2.0f * Pi;

} // namespace

DS_GrassConstructor::DS_GrassConstructor() = default;

void DS_GrassConstructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    archive->WriteFloat(swayAmplitude);
    DS_BaseSpriteProp::Write(archive);
}

DS_ParticleSystemCtrl* DS_GrassConstructor::Clone() const { return new DS_GrassConstructor(*this); }

void DS_GrassConstructor::Read(ArchiveHandle& archive, int32_t)
{
    archive->ReadFloat(swayAmplitude);
    ReadParticleSystemBase(archive, *this);
}

void DS_GrassConstructor::InitParticle(ParticleItem& p)
{
    const float l = GetPixelLeft(), r = GetPixelRight();
    p.position.x = l + RandomUnit() * (r - l);
    p.position.y = GetPixelBottom() - p.halfHeight;
    p.velocity.z = p.position.x;
    p.velocity.y = RandomUnit() * Pi * 0.5f;
    p.rightAxis = D3DXVECTOR3(RandomSign(), 0.0f, 0.0f);
}

void DS_GrassConstructor::UpdateParticle(ParticleItem& p)
{
    const float width = static_cast<float>(CurrentPictureMapping.pictureWidth);
    // The current (swayed) place sets the wave's phase, so neighbouring
    // blades move together. Without a picture width the wave stands still
    // across the picture rather than dividing by zero.
    const float across = width > 0.0f ? p.position.x / width * TwoPi : 0.0f;
    const float s = std::sin(clock + p.velocity.y + across);
    const float shear = ShearFromLean(s * swayAmplitude);
    p.upAxis = D3DXVECTOR3(shear, 1.0f, 0.0f);
    p.position.x = p.velocity.z - shear * p.halfHeight;
}
