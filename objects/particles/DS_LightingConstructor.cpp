#include "objects/particles/DS_LightingConstructor.h"

#include "foundation/core/Numeric.h"
#include "foundation/core/Random.h"
#include "foundation/archive/ObjectHeader.h"
#include "objects/particles/ParticleItem.h"

namespace {

const wchar_t* const RecordName = L"DS_LightingConstructor";
constexpr int32_t WrittenVersion = 1;

// A strike leans up to an eighth of a half turn either way.
constexpr float TurnRange = Pi / 4.0f;
// A flash fades from full to nothing in a sixth of a step unit.
constexpr float FadeRate = 6.0f;
// Clock units between the chances of a re-flash while a flash fades, and of
// a strike while the sky is dark.
constexpr float ReflashInterval = 0.15f;
constexpr float StrikeInterval = 1.0f;

} // namespace

DS_LightingConstructor::DS_LightingConstructor()
{
    additive.value = 1;
    viewFlag = true;
}

void DS_LightingConstructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    DS_BaseSpriteProp::Write(archive);
}

DS_ParticleSystemCtrl* DS_LightingConstructor::Clone() const { return new DS_LightingConstructor(*this); }

void DS_LightingConstructor::Read(ArchiveHandle& archive, int32_t) { ReadParticleSystemBase(archive, *this); }

void DS_LightingConstructor::InitParticle(ParticleItem& p)
{
    ApplyAspectRule(p, *this);
    // Wholly inside the view.
    p.position = RandomPointInViewInset(p.halfWidth, p.halfHeight);
    D3DXMATRIX turn;
    D3DXMatrixRotationZ(&turn, RandomCentred(TurnRange));
    const float mirror = RandomSign();
    const D3DXVECTOR3 right(mirror, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXVec3TransformCoord(&p.rightAxis, &right, &turn);
    D3DXVec3TransformCoord(&p.upAxis, &up, &turn);
    p.phase = 0.0f;
}

void DS_LightingConstructor::UpdateParticle(ParticleItem& p)
{
    if (p.phase != 0.0f) {
        p.phase -= step * FadeRate;
        if (clock - p.lastChange > ReflashInterval) {
            p.lastChange = clock;
            if (Rand() & 1)
                p.phase = 1.0f;
        }
    } else if (clock - p.lastChange > StrikeInterval) {
        p.lastChange = clock;
        if (Rand() & 1) {
            InitParticle(p);
            p.phase = 1.0f;
        }
    }
    if (p.phase < 0.0f) {
        p.phase = 0.0f;
        p.lastChange = clock;
    }
    UpdateParticleColor(*this, p);
}
