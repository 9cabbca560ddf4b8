#include "objects/models/DS_3D_Obj_Ctrl.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/params/StoredValues.h"
#include "foundation/resources/DS_DocResManager.h"
#include "foundation/resources/FirstLinkTexture.h"
#include "foundation/resources/MeshLoaders.h"
#include "objects/models/DS_3DObjArray.h"

using namespace stored_values;

namespace {

const wchar_t* const RecordName = L"DS_3D_Obj_Ctrl";
constexpr int32_t WrittenVersion = 1;

} // namespace

DS_3D_Obj_Ctrl::DS_3D_Obj_Ctrl() = default;

DS_3D_Obj_Ctrl::DS_3D_Obj_Ctrl(const DS_3D_Obj_Ctrl& other)
    : DS_ViewObjCtrl(other), count(other.count), size(other.size), texture(other.texture), mesh(other.mesh)
{
}

DS_3D_Obj_Ctrl::~DS_3D_Obj_Ctrl() = default;

void DS_3D_Obj_Ctrl::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    WriteUInt(archive, count);
    WriteUInt(archive, size);
    WriteFileLink(texture, archive);
    WriteFileLink(mesh, archive);
    WriteBody(archive);
}

DS_ABObj* DS_3D_Obj_Ctrl::CreateObject() { return new DS_3DObjArray(Clone()); }

void DS_3D_Obj_Ctrl::LinkInstances(std::list<DS_Frame*>& instances, std::vector<MeshPart>& parts)
{
    MeshPart& roots = parts[0];
    MeshPart& children = parts[1];
    roots.instances.clear();
    children.instances.clear();
    for (DS_Frame* root : instances) {
        children.instances.insert(children.instances.end(), root->children.begin(), root->children.end());
        roots.instances.push_back(root);
    }
}

int DS_3D_Obj_Ctrl::GetMarkerStyle() { return 0; }

void DS_3D_Obj_Ctrl::ReadBase(ArchiveHandle& archive)
{
    ReadObjectHeader(archive);
    archive->ReadUInt(count.value);
    archive->ReadUInt(size.value);
    ReadFileLink(archive, texture);
    ReadFileLink(archive, mesh);
    ReadBody(archive);
}

void LoadMeshPart(const DS_ImageFileLink& texture, MeshPart& part, const DS_MeshFile& mesh)
{
    if (!CurrentResManager)
        return;
    part.texture = GetFirstLinkTexture(texture).texture;

    const LoadedMesh& loaded = CurrentResManager->GetLinkMesh(mesh, LoadedMeshStride);
    part.vertices = loaded.vertices;
    part.vertexCount = loaded.vertexCount;
    part.indices = loaded.indices;
    part.indexedPrimitiveCount = loaded.faceCount;
    part.boundingRadius = loaded.radius;
    part.boundingCentre = loaded.centre;
    part.primitiveType = D3DPT_TRIANGLELIST;
}

bool IsDrawable(const MeshPart& part)
{
    return part.vertices && part.indices && part.vertexCount != 0 && part.indexedPrimitiveCount != 0 && part.texture;
}
