#include "objects/base/DS_ViewObjCtrl.h"

#include "foundation/core/Numeric.h"
#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/params/StoredValues.h"
#include "foundation/render/PictureMapping.h"
#include "foundation/core/Random.h"

#include <cmath>
#include <cstdint>

using namespace stored_values;

namespace {

const wchar_t* const RecordName = L"DS_ViewObjCtrl";
constexpr int32_t WrittenVersion = 2;
constexpr int32_t FirstVersionWithSpeed = 2;

// The longest step the clock takes at once: a stall (a dialog, a device
// reset) does not send everything flying.
constexpr float LongestStep = 0.2f;
// Speed 50 runs the clock at the application's pace.
constexpr float SpeedScale = 0.02f;

float PictureWidth() { return static_cast<float>(CurrentPictureMapping.pictureWidth); }
float PictureHeight() { return static_cast<float>(CurrentPictureMapping.pictureHeight); }

// px / size in floating point; without a picture size the fraction keeps
// its value, since 0 / 0 would poison the region for good.
void SnapFraction(float& fraction, int px, float size)
{
    if (size > 0.0f)
        fraction = static_cast<float>(static_cast<double>(px) / static_cast<double>(size));
}

void SyncEdge(MediaParamT<int>& edge, float fraction, float size)
{
    edge.SetValue(TruncateToInt32(fraction * size), nullptr);
}

} // namespace

DS_ViewObjCtrl::DS_ViewObjCtrl() { BindPixelRect(); }

DS_ViewObjCtrl::DS_ViewObjCtrl(const DS_ViewObjCtrl& other)
    : DS_ABObj_Constructor(other), speed(other.speed), viewFlag(other.viewFlag), left(other.left),
      right(other.right), top(other.top), bottom(other.bottom)
{
    BindPixelRect();
}

// The members unwind in reverse: the binders leave the pixel edges before
// the edges go.
DS_ViewObjCtrl::~DS_ViewObjCtrl() = default;

void DS_ViewObjCtrl::Write(ArchiveHandle& archive) { WriteBody(archive); }

ScreenQuad* DS_ViewObjCtrl::GetScreenQuad(ScreenQuad& out)
{
    const float l = GetPixelLeft(), r = GetPixelRight(), t = GetPixelTop(), b = GetPixelBottom();
    out = ScreenQuad::Rectangle(l, t, r, b);
    return &out;
}

bool DS_ViewObjCtrl::HitTest(float, float) { return false; }

void DS_ViewObjCtrl::ReadBody(ArchiveHandle& archive)
{
    const ObjectHeader header = ReadObjectHeader(archive);
    pixelRect.Read(archive);
    archive->ReadFloat(left);
    archive->ReadFloat(right);
    archive->ReadFloat(top);
    archive->ReadFloat(bottom);
    archive->ReadBool(viewFlag);
    if (header.version >= FirstVersionWithSpeed)
        archive->ReadUInt(speed.value);
    ReadConstructorBase(archive, *this);
}

void DS_ViewObjCtrl::WriteBody(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    pixelRect.Write(archive);
    archive->WriteFloat(left);
    archive->WriteFloat(right);
    archive->WriteFloat(top);
    archive->WriteFloat(bottom);
    archive->WriteBool(viewFlag);
    WriteUInt(archive, speed);
    DS_ABObj_Constructor::Write(archive);
}

void DS_ViewObjCtrl::SyncPixelRect()
{
    const float width = PictureWidth(), height = PictureHeight();
    SyncEdge(pixelRect.left, left, width);
    SyncEdge(pixelRect.right, right, width);
    SyncEdge(pixelRect.top, top, height);
    SyncEdge(pixelRect.bottom, bottom, height);
}

void DS_ViewObjCtrl::BindPixelRect()
{
    SyncPixelRect();
    binders.SetOwner(this, false);
    BindParamCallback(binders, pixelRect.left, &DS_ViewObjCtrl::SetLeftPixels, this);
    BindParamCallback(binders, pixelRect.right, &DS_ViewObjCtrl::SetRightPixels, this);
    BindParamCallback(binders, pixelRect.top, &DS_ViewObjCtrl::SetTopPixels, this);
    BindParamCallback(binders, pixelRect.bottom, &DS_ViewObjCtrl::SetBottomPixels, this);
}

void DS_ViewObjCtrl::SetLeftPixels(int px) { SnapFraction(left, px, PictureWidth()); }
void DS_ViewObjCtrl::SetRightPixels(int px) { SnapFraction(right, px, PictureWidth()); }
void DS_ViewObjCtrl::SetTopPixels(int px) { SnapFraction(top, px, PictureHeight()); }
void DS_ViewObjCtrl::SetBottomPixels(int px) { SnapFraction(bottom, px, PictureHeight()); }

float DS_ViewObjCtrl::GetPixelLeft() const { return left * PictureWidth(); }
float DS_ViewObjCtrl::GetPixelRight() const { return right * PictureWidth(); }
float DS_ViewObjCtrl::GetPixelTop() const { return top * PictureHeight(); }
float DS_ViewObjCtrl::GetPixelBottom() const { return bottom * PictureHeight(); }

void DS_ViewObjCtrl::StepViewTime(float t)
{
    float elapsed = std::fabs(t - last);
    if (elapsed > LongestStep)
        elapsed = LongestStep;
    step = static_cast<float>(static_cast<double>(elapsed) * static_cast<double>(speed.value) *
                              static_cast<double>(SpeedScale));
    clock += step;
    last = t;
}

D3DXVECTOR3 DS_ViewObjCtrl::RandomPointInView() const
{
    const float x = RandomRange(GetPixelLeft(), GetPixelRight());
    const float y = RandomRange(GetPixelTop(), GetPixelBottom());
    return D3DXVECTOR3(x, y, 0.0f);
}

D3DXVECTOR3 DS_ViewObjCtrl::RandomPointInViewInset(float hw, float hh) const
{
    const float x = RandomRange(GetPixelLeft() + hw, GetPixelRight() - hw);
    const float y = RandomRange(GetPixelTop() + hh, GetPixelBottom() - hh);
    return D3DXVECTOR3(x, y, 0.0f);
}
