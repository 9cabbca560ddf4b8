#include "objects/particles/DS_DischargeFXConstructor.h"

#include "foundation/core/Random.h"
#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/params/StoredValues.h"
#include "objects/particles/ParticleGeomArray.h"
#include "objects/particles/ParticleItem.h"
#include "res/resource.h"

#include <algorithm>
#include <cmath>
#include <utility>

using namespace stored_values;

namespace {

const wchar_t* const RecordName = L"DS_DischargeFXConstructor";
constexpr int32_t WrittenVersion = 1;

const wchar_t* const CommonModule = L"common_res.dll";
constexpr int32_t GlowEffectNumber = IDR_EFFECT_GLOW;
constexpr int32_t GlowArcPicture = 95;
constexpr int32_t PlainArcPicture = 98;

constexpr unsigned int DefaultBaseSize = 50;
// COLORREF values (0x00BBGGRR): a pale cyan core in a blue glow.
constexpr unsigned long CoreColour = 0x00FFFFCC;
constexpr unsigned long GlowColour = 0x00FF9900;

constexpr unsigned int DefaultJitter = 50;
constexpr float JitterScale = 0.01f;
constexpr unsigned int DefaultFlicker = 100;
constexpr float FlickerScale = -0.001f;
constexpr float FlickerOffset = 0.1f;
constexpr unsigned int DefaultMorph = 50;
constexpr float MorphScale = 0.1f;

// Clock units between new shapes.
constexpr float RegenerationInterval = 0.1f;
// Where a made-up arc keeps from its view's corner.
constexpr float DefaultInset = 100.0f;

// The texture holds two arc strips one above the other; the outer fifth of
// u at each end holds a rounded end, the middle tiles along the arc.
constexpr float InnerLeftU = 0.195f;
constexpr float InnerRightU = 0.805f;

// The unit vector along v; a zero vector stays zero (D3DX would divide by
// its length).
D3DXVECTOR3 UnitOrZero(const D3DXVECTOR3& v)
{
    const float length = D3DXVec3Length(&v);
    return length > 0.0f ? v / length : D3DXVECTOR3(0.0f, 0.0f, 0.0f);
}

D3DXVECTOR3 Lerp(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float x) { return a + x * (b - a); }

} // namespace

DS_DischargeFXConstructor::DS_DischargeFXConstructor()
{
    effectLink = DS_HLSLEffectFile(GlowEffectNumber, CommonModule);
    baseSize.value = DefaultBaseSize;
    additive.value = 1;
    colour.value = CoreColour;
    glowColour.value = GlowColour;
    SetScaled(jitter, DefaultJitter, JitterScale, 0.0f);
    SetScaled(flicker, DefaultFlicker, FlickerScale, FlickerOffset);
    SetScaled(morphSpeed, DefaultMorph, MorphScale, 0.0f);
}

void DS_DischargeFXConstructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    for (const MediaParamT<D3DXVECTOR3>* point : {&startPoint, &endPoint}) {
        D3DXVECTOR3 p = point->value;
        archive->WriteFloat(p.x);
        archive->WriteFloat(p.y);
        archive->WriteFloat(p.z);
    }
    WriteScaledValue(archive, jitter);
    WriteInt(archive, glowVariant);
    WriteScaledValue(archive, flicker);
    WriteScaledValue(archive, morphSpeed);
    DS_GlowEffectCtrl::Write(archive);
}

DS_ParticleSystemCtrl* DS_DischargeFXConstructor::Clone() const { return new DS_DischargeFXConstructor(*this); }

void DS_DischargeFXConstructor::Read(ArchiveHandle& archive, int32_t)
{
    for (MediaParamT<D3DXVECTOR3>* point : {&startPoint, &endPoint}) {
        archive->ReadFloat(point->value.x);
        archive->ReadFloat(point->value.y);
        archive->ReadFloat(point->value.z);
    }
    ReadScaledValue(archive, jitter);
    ReadStoredInt(archive, glowVariant);
    ReadScaledValue(archive, flicker);
    ReadScaledValue(archive, morphSpeed);
    const ObjectHeader glow = ReadObjectHeader(archive);
    DS_GlowEffectCtrl::Read(archive, glow.version);
}

void DS_DischargeFXConstructor::LoadEffect()
{
    DS_FXParticleSystemCtrl::LoadEffect();
    mainImage.value = FileKey{CommonModule, glowVariant.value != 0 ? GlowArcPicture : PlainArcPicture};
    LoadTextures();
    // Only a constructor made afresh (not read) has its flag clear.
    if (flag == 0) {
        startPoint.value = D3DXVECTOR3(DefaultInset, DefaultInset, 0.0f);
        endPoint.value = D3DXVECTOR3(GetPixelRight() - DefaultInset, GetPixelBottom() - DefaultInset, 0.0f);
        flag = 1;
    }
}

void DS_DischargeFXConstructor::PreUpdate()
{
    particleIndex = 0;
    if (clock - lastRegeneration > RegenerationInterval) {
        lastRegeneration = clock;
        // Same sizes: the copy reuses the storage.
        fromPolyline = toPolyline;
        GenerateBolt(toPolyline, *this);
    }
}

void DS_DischargeFXConstructor::InitParticle(ParticleItem&)
{
    const uint32_t n = SegmentCount();
    fromPolyline.resize(n);
    toPolyline.resize(n);
    GenerateBolt(fromPolyline, *this);
    GenerateBolt(toPolyline, *this);
}

void DS_DischargeFXConstructor::UpdateParticle(ParticleItem& p)
{
    const int32_t i = particleIndex++;
    const uint32_t n = SegmentCount();
    // Particles beyond the shapes (a count lowered after the shapes were
    // made, an update without its PreUpdate) have no segment: nothing shows.
    if (i < 0 || static_cast<std::size_t>(i) >= std::min(fromPolyline.size(), toPolyline.size())) {
        p.halfWidth = p.halfHeight = 0.0f;
        return;
    }
    const BoltPoint point = InterpolateBoltPoint(*this, static_cast<std::size_t>(i),
                                                 (clock - lastRegeneration) * morphSpeed.result);
    p.rightAxis = point.direction;
    p.upAxis = point.side;
    p.halfWidth = point.width * 0.5f;
    p.halfHeight = static_cast<float>(baseSize.value) * 0.5f;
    p.sign = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    p.velocity = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    p.position = point.position;

    if (flicker.result < last - p.lastChange) {
        p.lastChange = last;
        // One of the two strips, perhaps upside down.
        if (Rand() & 1) {
            p.vRange[0] = 0.0f;
            p.vRange[1] = 0.5f;
        } else {
            p.vRange[0] = 0.5f;
            p.vRange[1] = 1.0f;
        }
        if (Rand() & 1)
            std::swap(p.vRange[0], p.vRange[1]);
    }
    p.uRange[0] = i == 0 ? 0.0f : InnerLeftU;
    p.uRange[1] = static_cast<uint32_t>(i) + 1 == n ? 1.0f : InnerRightU;
    UpdateParticleColor(*this, p);
}

uint32_t DS_DischargeFXConstructor::SegmentCount() const
{
    return std::min<uint32_t>(count.value, ParticleGeomArray::MaxParticles);
}

void GenerateBolt(std::vector<BoltPoint>& points, const DS_DischargeFXConstructor& c)
{
    const D3DXVECTOR3 start = c.startPoint.value, end = c.endPoint.value;
    const D3DXVECTOR3 span = end - start;
    const float j = c.jitter.result;
    const uint32_t n = c.SegmentCount();
    // Each segment takes its share of what remains, n - g of them: only the
    // first n points are made, so that share never divides by zero or less.
    const std::size_t segments = std::min<std::size_t>(points.size(), n);
    const D3DXVECTOR3 side = UnitOrZero(D3DXVECTOR3(span.y, -span.x, 0.0f));
    D3DXVECTOR3 from = start;
    for (std::size_t g = 0; g < segments; ++g) {
        const D3DXVECTOR3 toEnd = end - from;
        const float length = D3DXVec3Length(&toEnd) / static_cast<float>(n - g);
        D3DXVECTOR3 heading = toEnd;
        if (g + 1 != n) {
            const float j1 = RandomRange(-j, j);
            const float j2 = RandomRange(-j, j);
            heading = D3DXVECTOR3(toEnd.x + j1 * toEnd.y, toEnd.y + j2 * toEnd.x, 2.0f * toEnd.z);
        }
        BoltPoint& point = points[g];
        point.direction = UnitOrZero(heading);
        point.side = side;
        const D3DXVECTOR3 to = from + length * point.direction;
        point.position = (from + to) * 0.5f;
        point.width = length;
        from = to;
    }
}

BoltPoint InterpolateBoltPoint(const DS_DischargeFXConstructor& c, std::size_t index, float x)
{
    const BoltPoint& a = c.fromPolyline[index];
    const BoltPoint& b = c.toPolyline[index];
    BoltPoint out;
    out.position = Lerp(a.position, b.position, x);
    out.direction = Lerp(a.direction, b.direction, x);
    out.side = Lerp(a.side, b.side, x);
    out.width = a.width + x * (b.width - a.width);
    return out;
}
