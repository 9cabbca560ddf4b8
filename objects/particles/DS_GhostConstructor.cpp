#include "objects/particles/DS_GhostConstructor.h"

#include "foundation/archive/ObjectHeader.h"
#include "objects/particles/ParticleItem.h"
#include "foundation/core/Random.h"

namespace {

const wchar_t* const RecordName = L"DS_GhostConstructor";
constexpr int32_t WrittenVersion = 1;

constexpr float GhostSpeed = 50.0f;
constexpr float GhostPhaseSpeed = 0.66f;
constexpr unsigned int GhostTransparency = 50;

} // namespace

DS_GhostConstructor::DS_GhostConstructor()
{
    speedX = GhostSpeed;
    speedY = GhostSpeed;
    phaseSpeed = GhostPhaseSpeed;
    transparency.SetValue(GhostTransparency, nullptr);
    sizeFactorMin = 1.0f;
    sizeFactorMax = 1.0f;
}

void DS_GhostConstructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    DS_FishConstructor::Write(archive);
}

DS_ParticleSystemCtrl* DS_GhostConstructor::Clone() const { return new DS_GhostConstructor(*this); }

void DS_GhostConstructor::Read(ArchiveHandle& archive, int32_t)
{
    const ObjectHeader fish = ReadObjectHeader(archive);
    DS_FishConstructor::Read(archive, fish.version);
}

void DS_GhostConstructor::InitParticle(ParticleItem& p)
{
    DS_FishConstructor::InitParticle(p);
    p.phase = RandomUnit();
}

void DS_GhostConstructor::UpdateParticle(ParticleItem& p)
{
    DS_FishConstructor::UpdateParticle(p);
    PulsePhase(p);
}
