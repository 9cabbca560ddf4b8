#include "objects/models/DS_ButterflyConstructor.h"

#include "foundation/core/Numeric.h"
#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "objects/animation/AC_Butterfly.h"
#include "res/resource.h"

#include <memory>

namespace {

const wchar_t* const RecordName = L"DS_ButterflyConstructor";
constexpr int32_t WrittenVersion = 2;
constexpr int32_t FirstVersionWithWingScale = 2;

const wchar_t* const CommonModule = L"common_res.dll";
constexpr int32_t BodyPicture = 6;
constexpr int32_t BodyMesh = IDR_MESH_BUTTERFLY_BODY;
constexpr int32_t WingMesh = IDR_MESH_BUTTERFLY_WING;
constexpr unsigned int DefaultSize = 100;
constexpr unsigned int DefaultReserved = 50;

// The body is modelled twice the size it flies at, head along +z; the turn
// puts the head along +x, the direction of heading 0.
constexpr float BodyScale = 0.5f;

} // namespace

DS_ButterflyConstructor::DS_ButterflyConstructor()
    : bodyTexture(DS_FileLink3(BodyPicture, CommonModule)), bodyMesh(BodyMesh, CommonModule)
{
    reservedFirst.SetValue(DefaultReserved, nullptr);
    reservedSecond.SetValue(DefaultReserved, nullptr);
    mesh.value = FileKey{CommonModule, WingMesh};
    size.value = DefaultSize;
    size.undo.Snapshot();
    viewFlag = true;
}

DS_ButterflyConstructor::DS_ButterflyConstructor(const DS_ButterflyConstructor& other)
    : DS_3D_Obj_Ctrl(other), bodyTexture(other.bodyTexture), bodyMesh(other.bodyMesh),
      reservedFirst(other.reservedFirst), reservedSecond(other.reservedSecond), wingScale(other.wingScale)
{
}

DS_ButterflyConstructor::~DS_ButterflyConstructor() = default;

void DS_ButterflyConstructor::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    WriteFileLink(bodyTexture, archive);
    WriteFileLink(bodyMesh, archive);
    WriteScaledValue(archive, reservedFirst);
    WriteScaledValue(archive, reservedSecond);
    float scale = wingScale;
    archive->WriteFloat(scale);
    DS_3D_Obj_Ctrl::Write(archive);
}

void DS_ButterflyConstructor::Read(ArchiveHandle& archive, int32_t version)
{
    ReadFileLink(archive, bodyTexture);
    ReadFileLink(archive, bodyMesh);
    ReadScaledValue(archive, reservedFirst);
    ReadScaledValue(archive, reservedSecond);
    if (version >= FirstVersionWithWingScale)
        archive->ReadFloat(wingScale);
    ReadBase(archive);
}

void DS_ButterflyConstructor::BuildMeshParts(std::vector<MeshPart>& parts)
{
    parts.clear();
    parts.resize(2);
    LoadMeshPart(bodyTexture, parts[0], bodyMesh);
    LoadMeshPart(texture, parts[1], mesh);
    parts[1].twoSided = true;
}

DS_Frame* DS_ButterflyConstructor::CreateInstance()
{
    auto root = std::make_unique<DS_Frame>();
    auto* flight = new AC_Butterfly(this, size);
    root->animation = flight;
    auto wing1 = std::make_unique<DS_Frame>();
    auto wing2 = std::make_unique<DS_Frame>();

    D3DXMATRIX scaling, turn;
    D3DXMatrixScaling(&scaling, BodyScale, BodyScale, BodyScale);
    D3DXMatrixRotationY(&turn, Pi / 2.0f);
    root->local = scaling * turn;
    D3DXMatrixScaling(&wing1->local, wingScale, wingScale, wingScale);
    wing2->local = wing1->local;
    flight->AttachWings(*wing1, *wing2);

    root->children.push_back(wing1.release());
    root->children.push_back(wing2.release());
    return root.release();
}

DS_3D_Obj_Ctrl* DS_ButterflyConstructor::Clone() { return new DS_ButterflyConstructor(*this); }
