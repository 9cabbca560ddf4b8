#include "objects/particles/DS_BirdConstructor.h"

#include "foundation/core/Random.h"
#include "foundation/archive/ObjectHeader.h"
#include "objects/particles/ParticleItem.h"

#include <cmath>

namespace {

const wchar_t* const RecordName = L"DS_BirdConstructor";
constexpr int32_t WrittenVersion = 1;

constexpr float SlowestShare = 0.7f;
constexpr float RestShare = 0.3f;

} // namespace

void DS_BirdConstructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    DS_FishConstructor::Write(archive);
}

DS_ParticleSystemCtrl* DS_BirdConstructor::Clone() const { return new DS_BirdConstructor(*this); }

void DS_BirdConstructor::Read(ArchiveHandle& archive, int32_t)
{
    const ObjectHeader fish = ReadObjectHeader(archive);
    DS_FishConstructor::Read(archive, fish.version);
}

void DS_BirdConstructor::UpdateParticle(ParticleItem& p)
{
    DS_FishConstructor::UpdateParticle(p);
    // A slow climb or fall is mapped onto the upper 30 % of the range.
    const float slowestY = SlowestShare * speedY;
    if (std::fabs(p.velocity.y) < slowestY)
        p.velocity.y = std::copysign(slowestY + std::fabs(p.velocity.y) * RestShare / SlowestShare, p.velocity.y);
    const float slowestX = SlowestShare * speedX;
    if (std::fabs(p.velocity.x) < slowestX)
        p.velocity.x = std::copysign(RandomRange(slowestX, speedX), p.velocity.x);
}
