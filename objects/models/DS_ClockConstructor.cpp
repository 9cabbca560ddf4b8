#include "objects/models/DS_ClockConstructor.h"

#include "foundation/core/Numeric.h"
#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/render/PictureMapping.h"
#include "objects/animation/AC_ClockArrow.h"
#include "objects/animation/AC_Static.h"
#include "res/resource.h"

#include <memory>

namespace {

const wchar_t* const RecordName = L"DS_ClockConstructor";
constexpr int32_t WrittenVersion = 1;

const wchar_t* const CommonModule = L"common_res.dll";
constexpr int32_t PlateMesh = IDR_MESH_CLOCK_PLATE;
constexpr int32_t FacePicture = 71;
constexpr int32_t HandPicture = 72;
constexpr unsigned int DefaultSize = 400;

// The plate is 100 units across in its x-z plane; the root shrinks it to one
// unit, which the size then scales to pixels, and stands it up facing the
// viewer with +z toward 12 o'clock.
constexpr float PlateToUnit = 0.01f;
// Each hand is the plate squeezed to a strip one hundredth as wide and
// moved along +z so that it turns about a point near its tail.
struct HandShape {
    float length;
    float shift;
};
constexpr HandShape HourHand{0.3f, 10.0f};
constexpr HandShape MinuteHand{0.38f, 13.0f};

DS_Frame* MakeHand(const HandShape& shape, bool hourHand)
{
    auto frame = std::make_unique<DS_Frame>();
    D3DXMATRIX scaling, shift;
    D3DXMatrixScaling(&scaling, PlateToUnit, 1.0f, shape.length);
    D3DXMatrixTranslation(&shift, 0.0f, 0.0f, shape.shift);
    frame->local = scaling * shift;
    frame->animation = new AC_ClockArrow(hourHand);
    return frame.release();
}

} // namespace

DS_ClockConstructor::DS_ClockConstructor() : handsTexture(DS_FileLink3(HandPicture, CommonModule))
{
    rectangle.pointX.value = CurrentPictureMapping.pictureWidth / 2;
    rectangle.pointY.value = CurrentPictureMapping.pictureHeight / 2;
    mesh.value = FileKey{CommonModule, PlateMesh};
    texture.value = FileKey{CommonModule, FacePicture};
    size.value = DefaultSize;
    size.undo.Snapshot();
    BindFace();
}

DS_ClockConstructor::DS_ClockConstructor(const DS_ClockConstructor& other)
    : DS_3D_Obj_Ctrl(other), rectangle(other.rectangle), handsTexture(other.handsTexture)
{
    BindFace();
}

// The face binder leaves the texture link before the link goes.
DS_ClockConstructor::~DS_ClockConstructor() = default;

void DS_ClockConstructor::BindFace()
{
    binders.SetOwner(this, false);
    BindParamCallback2(binders, texture, &DS_ClockConstructor::OnImageChanged, this);
}

void DS_ClockConstructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    rectangle.Write(archive);
    WriteFileLink(handsTexture, archive);
    DS_3D_Obj_Ctrl::Write(archive);
}

void DS_ClockConstructor::Read(ArchiveHandle& archive, int32_t)
{
    rectangle.Read(archive);
    ReadFileLink(archive, handsTexture);
    ReadBase(archive);
}

ScreenQuad* DS_ClockConstructor::GetScreenQuad(ScreenQuad& out)
{
    const float l = static_cast<float>(rectangle.left.value);
    const float r = static_cast<float>(rectangle.right.value);
    const float t = static_cast<float>(rectangle.top.value);
    const float b = static_cast<float>(rectangle.bottom.value);
    out = ScreenQuad::Rectangle(l, t, r, b);
    return &out;
}

bool DS_ClockConstructor::HitTest(float x, float y) { return rectangle.Contains(x, y); }

void DS_ClockConstructor::BuildMeshParts(std::vector<MeshPart>& built)
{
    built.clear();
    built.resize(2);
    LoadMeshPart(texture, built[0], mesh);
    LoadMeshPart(handsTexture, built[1], mesh);
    built[0].twoSided = true;
    built[1].twoSided = true;
    parts = &built;
}

DS_Frame* DS_ClockConstructor::CreateInstance()
{
    auto root = std::make_unique<DS_Frame>();
    D3DXMATRIX scaling, standUp;
    D3DXMatrixScaling(&scaling, PlateToUnit, PlateToUnit, PlateToUnit);
    D3DXMatrixRotationX(&standUp, Pi / 2.0f);
    root->local = scaling * standUp;
    root->animation = new AC_Static(size, rectangle);
    root->children.push_back(MakeHand(HourHand, true));
    root->children.push_back(MakeHand(MinuteHand, false));
    return root.release();
}

int DS_ClockConstructor::GetMarkerStyle() { return 1; }

DS_3D_Obj_Ctrl* DS_ClockConstructor::Clone() { return new DS_ClockConstructor(*this); }

void DS_ClockConstructor::OnImageChanged()
{
    if (parts && !parts->empty())
        LoadMeshPart(texture, (*parts)[0], mesh);
}
