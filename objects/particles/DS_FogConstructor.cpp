#include "objects/particles/DS_FogConstructor.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "objects/particles/ParticleItem.h"
#include "foundation/core/Random.h"

#include <cmath>

namespace {

const wchar_t* const RecordName = L"DS_FogConstructor";
constexpr int32_t WrittenVersion = 1;

constexpr float FogPhaseMin = 0.2f;
constexpr float FogPhaseMax = 1.0f;
constexpr unsigned int FogTransparency = 50;
// Each patch turns by up to this many radians either way per update.
constexpr float SpinRange = 0.008f;

} // namespace

DS_FogConstructor::DS_FogConstructor()
{
    phaseMin = FogPhaseMin;
    phaseMax = FogPhaseMax;
    transparency.SetValue(FogTransparency, nullptr);
}

void DS_FogConstructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    archive->WriteFloat(speedX);
    archive->WriteFloat(speedY);
    DS_BaseSpriteProp::Write(archive);
}

DS_ParticleSystemCtrl* DS_FogConstructor::Clone() const { return new DS_FogConstructor(*this); }

void DS_FogConstructor::Read(ArchiveHandle& archive, int32_t)
{
    archive->ReadFloat(speedX);
    archive->ReadFloat(speedY);
    ReadParticleSystemBase(archive, *this);
}

void DS_FogConstructor::InitParticle(ParticleItem& p)
{
    p.position = RandomPointInView();
    p.velocity.x = RandomRange(-speedX, speedX);
    p.velocity.y = RandomRange(-speedY, speedY);
    p.phase = RandomUnit();
    D3DXMatrixRotationZ(&p.spin, RandomCentred(SpinRange));
}

void DS_FogConstructor::UpdateParticle(ParticleItem& p)
{
    p.position.x += step * p.velocity.x;
    p.position.y += step * p.velocity.y;

    // The opacity breathes between the bounds; the patch stays where it is.
    p.phase += step * p.phaseVelocity;
    if (p.phase < phaseMin || p.phase > phaseMax) {
        p.phase = p.phase < phaseMin ? phaseMin : phaseMax;
        p.phaseVelocity = -p.phaseVelocity;
    }

    // The centre bounces off the view's edges.
    if (p.position.y > GetPixelBottom())
        p.velocity.y = -std::fabs(p.velocity.y);
    if (p.position.y < GetPixelTop())
        p.velocity.y = std::fabs(p.velocity.y);
    if (p.position.x < GetPixelLeft())
        p.velocity.x = std::fabs(p.velocity.x);
    if (p.position.x > GetPixelRight())
        p.velocity.x = -std::fabs(p.velocity.x);

    // Once per update, whatever the step.
    const D3DXVECTOR3 right = p.rightAxis, up = p.upAxis;
    D3DXVec3TransformCoord(&p.rightAxis, &right, &p.spin);
    D3DXVec3TransformCoord(&p.upAxis, &up, &p.spin);
    UpdateParticleColor(*this, p);
}
