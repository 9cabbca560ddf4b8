#include "objects/particles/DS_FishConstructor.h"

#include "foundation/core/Random.h"
#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "objects/particles/ParticleItem.h"

#include <cmath>

namespace {

const wchar_t* const RecordName = L"DS_FishConstructor";
constexpr int32_t WrittenVersion = 1;

// Application seconds between the chances of a new pace, whatever the speed.
constexpr float PaceChangeInterval = 1.0f;

} // namespace

DS_FishConstructor::DS_FishConstructor() = default;

void DS_FishConstructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    archive->WriteFloat(speedX);
    archive->WriteFloat(speedY);
    DS_BaseSpriteProp::Write(archive);
}

DS_ParticleSystemCtrl* DS_FishConstructor::Clone() const { return new DS_FishConstructor(*this); }

void DS_FishConstructor::Read(ArchiveHandle& archive, int32_t)
{
    archive->ReadFloat(speedX);
    archive->ReadFloat(speedY);
    ReadParticleSystemBase(archive, *this);
}

void DS_FishConstructor::InitParticle(ParticleItem& p)
{
    p.velocity.x = RandomRange(-speedX, speedX);
    p.velocity.y = RandomRange(-speedY, speedY);
    p.velocity.z = 0.0f;
    p.sign = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    p.position = RandomPointInView();
    FishSprite(p);
}

void DS_FishConstructor::UpdateParticle(ParticleItem& p)
{
    p.position.x += step * p.velocity.x;
    p.position.y += step * p.velocity.y;

    // A fish turns only once it has left the view wholly at a side.
    if (IsLeftOfView(p, *this)) {
        p.velocity.x = std::fabs(p.velocity.x);
        p.halfWidth = std::fabs(p.halfWidth);
    } else if (IsRightOfView(p, *this)) {
        p.velocity.x = -std::fabs(p.velocity.x);
        p.halfWidth = -std::fabs(p.halfWidth);
    }
    // Up and down it stays inside.
    if (CrossesTopEdge(p, *this))
        p.velocity.y = std::fabs(p.velocity.y);
    else if (CrossesBottomEdge(p, *this))
        p.velocity.y = -std::fabs(p.velocity.y);

    if (last - p.lastChange > PaceChangeInterval) {
        p.lastChange = last;
        if (Rand() & 1) {
            // A new pace in the same direction.
            p.velocity.x = std::copysign(RandomRange(-speedX, speedX), p.velocity.x);
            p.velocity.y = RandomRange(-speedY, speedY);
            p.velocity.z = 0.0f;
        }
    }
}

void DS_FishConstructor::FishSprite(ParticleItem& p)
{
    ApplyAspectRule(p, *this);
    UpdateParticleColor(*this, p);
    if (p.velocity.x < 0.0f)
        p.halfWidth = -p.halfWidth;
}
