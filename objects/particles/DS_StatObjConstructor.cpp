#include "objects/particles/DS_StatObjConstructor.h"

#include "foundation/core/Numeric.h"
#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/params/StoredValues.h"
#include "foundation/render/PictureMapping.h"
#include "objects/particles/DS_SpriteArrayObj.h"
#include "objects/particles/ParticleItem.h"
#include "foundation/core/Random.h"

#include <cmath>

using namespace stored_values;

namespace {

const wchar_t* const RecordName = L"DS_StatObjConstructor";
constexpr int32_t WrittenVersion = 2;
// Version 1 kept the flip flags here rather than in the sprite record.
constexpr int32_t FirstVersionWithoutFlips = 2;

// How the highlight marks the static objects.
constexpr int32_t StaticMarker = 1;

} // namespace

DS_StatObjConstructor::DS_StatObjConstructor() { D3DXMatrixIdentity(&rotationMatrix); }

void DS_StatObjConstructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    rectangle.Write(archive);
    WriteUInt(archive, rotation);
    DS_BaseSpriteProp::Write(archive);
}

DS_ParticleSystemCtrl* DS_StatObjConstructor::Clone() const { return new DS_StatObjConstructor(*this); }

void DS_StatObjConstructor::Read(ArchiveHandle& archive, int32_t version)
{
    rectangle.Read(archive);
    archive->ReadUInt(rotation.value);
    if (version < FirstVersionWithoutFlips) {
        ReadStoredInt(archive, verticalFlip);
        ReadStoredInt(archive, horizontalFlip);
    }
    ReadParticleSystemBase(archive, *this);
}

DS_ABObj* DS_StatObjConstructor::CreateObject()
{
    // Only a constructor made afresh (not read) has its flag clear.
    if (flag == 0) {
        rectangle.pointX.value = CurrentPictureMapping.pictureWidth / 2;
        rectangle.pointY.value = CurrentPictureMapping.pictureHeight / 2;
        flag = 1;
    }
    DS_ABObj* object = CreateSpriteArrayObject();
    if (object)
        static_cast<DS_SpriteArrayObj*>(object)->markerStyle = StaticMarker;
    return object;
}

ScreenQuad* DS_StatObjConstructor::GetScreenQuad(ScreenQuad& out)
{
    const float l = static_cast<float>(rectangle.left.value), r = static_cast<float>(rectangle.right.value);
    const float t = static_cast<float>(rectangle.top.value), b = static_cast<float>(rectangle.bottom.value);
    out = ScreenQuad::Rectangle(l, t, r, b);
    return &out;
}

bool DS_StatObjConstructor::HitTest(float x, float y) { return rectangle.Contains(x, y); }

void DS_StatObjConstructor::InitParticle(ParticleItem& p) { PlaceSprite(p); }

void DS_StatObjConstructor::PlaceSprite(ParticleItem& p)
{
    const float x = static_cast<float>(rectangle.pointX.value);
    const float y = static_cast<float>(rectangle.pointY.value);
    p.position.x = x;
    p.position.y = y;
    ApplyAspectRule(p, *this);
    UpdateParticleColor(*this, p);

    D3DXMatrixRotationZ(&rotationMatrix, static_cast<float>(rotation.value) * -Pi / 180.0f);
    const D3DXVECTOR3 right(1.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXVec3TransformCoord(&p.rightAxis, &right, &rotationMatrix);
    D3DXVec3TransformCoord(&p.upAxis, &up, &rotationMatrix);

    // The axis-aligned box around the turned sprite.
    const float hw = p.halfWidth, hh = p.halfHeight;
    const float across = std::fabs(p.rightAxis.x * hw) + std::fabs(p.upAxis.x * hh);
    const float down = std::fabs(hh * p.upAxis.y) + std::fabs(p.rightAxis.y * hw);
    rectangle.left.value = TruncateToInt32(x - across);
    rectangle.right.value = TruncateToInt32(x + across);
    rectangle.top.value = TruncateToInt32(y - down);
    rectangle.bottom.value = TruncateToInt32(y + down);
}
