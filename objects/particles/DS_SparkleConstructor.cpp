#include "objects/particles/DS_SparkleConstructor.h"

#include "foundation/archive/ObjectHeader.h"
#include "objects/particles/ParticleItem.h"
#include "foundation/core/Random.h"

namespace {

const wchar_t* const RecordName = L"DS_SparkleConstructor";
constexpr int32_t WrittenVersion = 1;

// A sparkle drifts at up to this many pixels per step unit along each axis,
// either way.
constexpr float DriftRange = 50.0f;

} // namespace

void DS_SparkleConstructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    DS_BaseSpriteProp::Write(archive);
}

DS_ParticleSystemCtrl* DS_SparkleConstructor::Clone() const { return new DS_SparkleConstructor(*this); }

void DS_SparkleConstructor::Read(ArchiveHandle& archive, int32_t) { ReadParticleSystemBase(archive, *this); }

void DS_SparkleConstructor::InitParticle(ParticleItem& p)
{
    p.velocity.x = RandomCentred(DriftRange);
    p.velocity.y = RandomCentred(DriftRange);
    p.velocity.z = 0.0f;
    p.sign = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    p.position = RandomPointInView();
    p.phase = RandomUnit();
}

void DS_SparkleConstructor::UpdateParticle(ParticleItem& p)
{
    p.position.x += step * p.velocity.x;
    p.position.y += step * p.velocity.y;
    PulsePhase(p);
    // Square whatever the picture's shape: half size at phase 0, full size
    // at phase 1.
    const float size = p.sizeFactor * static_cast<float>(baseSize.value) * 0.5f;
    p.halfWidth = p.halfHeight = size * 0.5f + size * 0.5f * p.phase;
}
