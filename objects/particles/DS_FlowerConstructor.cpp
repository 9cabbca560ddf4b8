#include "objects/particles/DS_FlowerConstructor.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "objects/particles/ParticleItem.h"
#include "objects/particles/ParticleLean.h"

#include <cmath>

namespace {

const wchar_t* const RecordName = L"DS_FlowerConstructor";
constexpr int32_t WrittenVersion = 1;

} // namespace

DS_FlowerConstructor::DS_FlowerConstructor() = default;

void DS_FlowerConstructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    archive->WriteFloat(swayAmplitude);
    DS_StatObjConstructor::Write(archive);
}

DS_ParticleSystemCtrl* DS_FlowerConstructor::Clone() const { return new DS_FlowerConstructor(*this); }

void DS_FlowerConstructor::Read(ArchiveHandle& archive, int32_t)
{
    archive->ReadFloat(swayAmplitude);
    const ObjectHeader statObj = ReadObjectHeader(archive);
    DS_StatObjConstructor::Read(archive, statObj.version);
}

void DS_FlowerConstructor::UpdateParticle(ParticleItem& p)
{
    const float s = std::sin(clock);
    const float shear = ShearFromLean(s * swayAmplitude);
    const D3DXVECTOR3 sheared(shear, 1.0f, 0.0f);
    D3DXVec3TransformCoord(&p.upAxis, &sheared, &rotationMatrix);
    // The unsheared bottom centre, point + hh × up, stays where it is.
    const float hh = p.halfHeight;
    p.position.x = static_cast<float>(rectangle.pointX.value) - p.rightAxis.x * hh * shear;
    p.position.y = static_cast<float>(rectangle.pointY.value) - shear * hh * p.rightAxis.y;
}
