#include "objects/particles/DS_RainConstructor.h"

#include "foundation/archive/ObjectHeader.h"
#include "objects/particles/ParticleItem.h"
#include "foundation/core/Random.h"

namespace {

const wchar_t* const RecordName = L"DS_RainConstructor";
constexpr int32_t WrittenVersion = 1;

constexpr unsigned int Downwards = 270;
constexpr float RainStrength = 2000.0f;
constexpr float SmallestDrop = 0.5f;
constexpr float LargestDrop = 1.0f;
constexpr float ThreeQuarterTurn = 4.712389f;

} // namespace

DS_RainConstructor::DS_RainConstructor()
{
    // Straight into the value: the vectors are made when a copy binds.
    angle.value = Downwards;
    driftSpeed.value = 0;
    strength = RainStrength;
    sizeFactorMin = SmallestDrop;
    sizeFactorMax = LargestDrop;
    orientationMode.value = AlongFlow;
    D3DXMatrixRotationZ(&rainRotation, ThreeQuarterTurn);
}

void DS_RainConstructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    DS_FlowConstructor::Write(archive);
}

DS_ParticleSystemCtrl* DS_RainConstructor::Clone() const { return new DS_RainConstructor(*this); }

void DS_RainConstructor::Read(ArchiveHandle& archive, int32_t)
{
    const ObjectHeader flow = ReadObjectHeader(archive);
    DS_FlowConstructor::Read(archive, flow.version);
}

void DS_RainConstructor::InitParticle(ParticleItem& p)
{
    DS_FlowConstructor::InitParticle(p);
    p.phase = RandomUnit();
    SetupFlowSprite(p);
    if (orientationMode.value == AlongFlow) {
        const D3DXVECTOR3 right = p.rightAxis, up = p.upAxis;
        D3DXVec3TransformCoord(&p.rightAxis, &right, &rainRotation);
        D3DXVec3TransformCoord(&p.upAxis, &up, &rainRotation);
    }
}

void DS_RainConstructor::UpdateParticle(ParticleItem& p)
{
    DS_FlowConstructor::UpdateParticle(p);
    PulsePhase(p);
}
