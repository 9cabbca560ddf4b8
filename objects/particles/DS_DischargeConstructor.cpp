#include "objects/particles/DS_DischargeConstructor.h"

#include "foundation/core/Random.h"
#include "foundation/archive/ObjectHeader.h"
#include "objects/particles/ParticleItem.h"

namespace {

const wchar_t* const RecordName = L"DS_DischargeConstructor";
constexpr int32_t WrittenVersion = 1;

} // namespace

void DS_DischargeConstructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    DS_StatObjConstructor::Write(archive);
}

DS_ParticleSystemCtrl* DS_DischargeConstructor::Clone() const { return new DS_DischargeConstructor(*this); }

void DS_DischargeConstructor::Read(ArchiveHandle& archive, int32_t)
{
    const ObjectHeader statObj = ReadObjectHeader(archive);
    DS_StatObjConstructor::Read(archive, statObj.version);
}

void DS_DischargeConstructor::InitParticle(ParticleItem& p)
{
    PlaceSprite(p);
    // A grid of no frames has no slice of the picture to show. Without the
    // grid the whole picture is the sprite and the frame count plays no part.
    if (frameGrid && frameCount == 0) {
        p.halfWidth = 0.0f;
        p.halfHeight = 0.0f;
    }
}

unsigned int DS_DischargeConstructor::NextFrameIndex(unsigned int index)
{
    const unsigned int n = frameCount;
    // With fewer than two frames there is no other frame to jump to: drawing
    // for one would never end (and with none, divide by zero).
    if (n < 2)
        return n == 1 ? 0u : index;
    int draw = Rand();
    while (static_cast<unsigned int>(draw) % n == index)
        draw = Rand();
    return static_cast<unsigned int>(draw) % n;
}
