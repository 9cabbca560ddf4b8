#include "foundation/resources/MeshLoaders.h"

#include "foundation/core/CurrentDevice.h"
#include "foundation/geometry/IndexBuffers.h"
#include "foundation/resources/ResourceModule.h"

#include <d3dx9mesh.h>

#include <cstring>

namespace {

constexpr DWORD MeshFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
constexpr DWORD FullOptimisation = D3DXMESHOPT_COMPACT | D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_VERTEXCACHE;
constexpr DWORD BasicOptimisation = D3DXMESHOPT_COMPACT | D3DXMESHOPT_ATTRSORT;

// What D3DXLoadMeshFromX* hands back; materials and effect instances are
// not used but must be released.
struct LoadedX {
    ComHolder<ID3DXMesh> mesh;
    ComHolder<ID3DXBuffer> adjacency;
    ComHolder<ID3DXBuffer> materials;
    ComHolder<ID3DXBuffer> effectInstances;
    DWORD materialCount = 0;
};

// Locks a mesh buffer for the lifetime of the guard.
class MeshBufferLock {
public:
    MeshBufferLock(ID3DXMesh* mesh, bool indices, DWORD flags) : mesh(mesh), indices(indices)
    {
        const HRESULT hr = indices ? mesh->LockIndexBuffer(flags, &data) : mesh->LockVertexBuffer(flags, &data);
        if (FAILED(hr))
            data = nullptr;
    }
    ~MeshBufferLock()
    {
        if (data)
            indices ? mesh->UnlockIndexBuffer() : mesh->UnlockVertexBuffer();
    }
    MeshBufferLock(const MeshBufferLock&) = delete;
    MeshBufferLock& operator=(const MeshBufferLock&) = delete;

    void* data = nullptr;

private:
    ID3DXMesh* mesh;
    bool indices;
};

// Copies count bytes into a new write-only managed vertex buffer.
bool FillVertexBuffer(IDirect3DVertexBuffer9* buffer, const void* source, UINT count)
{
    void* target = nullptr;
    if (FAILED(buffer->Lock(0, count, &target, 0)) || !target)
        return false;
    std::memcpy(target, source, count);
    buffer->Unlock();
    return true;
}

LoadedMesh CopyIntoBuffers(LoadedX& x, UINT stride)
{
    LoadedMesh empty;
    if (stride != LoadedMeshStride)
        return empty;

    ComHolder<ID3DXMesh> clone;
    if (FAILED(x.mesh->CloneMeshFVF(D3DXMESH_SYSTEMMEM, MeshFvf, CurrentDevice, clone.Out())) || !clone)
        return empty;
    // The copies below assume 16-bit indices and the 32-byte vertex.
    if ((clone->GetOptions() & D3DXMESH_32BIT) || clone->GetNumBytesPerVertex() != stride)
        return empty;
    D3DXComputeNormals(clone.Get(), nullptr);

    const DWORD* adjacency = nullptr;
    if (x.adjacency && x.adjacency->GetBufferSize() >= x.mesh->GetNumFaces() * 3 * sizeof(DWORD))
        adjacency = static_cast<const DWORD*>(x.adjacency->GetBufferPointer());
    // Some D3DX builds lack the vertex-cache reordering; the compacted,
    // attribute-sorted mesh draws the same.
    if (FAILED(clone->OptimizeInplace(FullOptimisation, adjacency, nullptr, nullptr, nullptr)))
        clone->OptimizeInplace(BasicOptimisation, adjacency, nullptr, nullptr, nullptr);

    LoadedMesh mesh;
    mesh.vertexCount = clone->GetNumVertices();
    mesh.faceCount = clone->GetNumFaces();
    if (mesh.vertexCount == 0 || mesh.faceCount == 0)
        return empty;
    const UINT64 indexCount = UINT64(mesh.faceCount) * 3;
    const UINT64 indexBytes = indexCount * sizeof(WORD);
    const UINT64 vertexBytes = UINT64(mesh.vertexCount) * stride;
    if (indexBytes > UINT_MAX || vertexBytes > UINT_MAX)
        return empty;

    {
        MeshBufferLock source(clone.Get(), true, D3DLOCK_READONLY);
        if (!source.data || FAILED(CreateFilledIndexBuffer(mesh.indices, static_cast<const uint16_t*>(source.data),
                                                           static_cast<UINT>(indexCount))))
            return empty;
    }

    if (FAILED(CurrentDevice->CreateVertexBuffer(static_cast<UINT>(vertexBytes), D3DUSAGE_WRITEONLY, 0,
                                                 D3DPOOL_MANAGED, mesh.vertices.Out(), nullptr)))
        return empty;
    MeshBufferLock source(clone.Get(), false, D3DLOCK_READONLY);
    if (!source.data || !FillVertexBuffer(mesh.vertices.Get(), source.data, static_cast<UINT>(vertexBytes)))
        return empty;
    // Positions lead each vertex.
    if (FAILED(D3DXComputeBoundingSphere(static_cast<const D3DXVECTOR3*>(source.data), mesh.vertexCount,
                                         D3DXGetFVFVertexSize(MeshFvf), &mesh.centre, &mesh.radius)))
        return empty;
    return mesh;
}

} // namespace

LoadedMesh LoadModuleMesh(HMODULE module, int32_t number, UINT stride)
{
    const ResourceBytes bytes = FindResourceBytes(module, number, PictureResourceType);
    if (!bytes)
        return LoadedMesh();
    return LoadMeshFromMemory(bytes.data, static_cast<int32_t>(bytes.size), stride);
}

LoadedMesh LoadMeshFromMemory(const uint8_t* bytes, int32_t size, UINT stride)
{
    if (!CurrentDevice || !bytes || size <= 0)
        return LoadedMesh();
    LoadedX x;
    if (FAILED(D3DXLoadMeshFromXInMemory(bytes, static_cast<DWORD>(size), D3DXMESH_SYSTEMMEM, CurrentDevice,
                                         x.adjacency.Out(), x.materials.Out(), x.effectInstances.Out(),
                                         &x.materialCount, x.mesh.Out())) ||
        !x.mesh)
        return LoadedMesh();
    return CopyIntoBuffers(x, stride);
}

LoadedMesh LoadMeshFromFile(const ds_string& path, UINT stride)
{
    if (!CurrentDevice || path.empty())
        return LoadedMesh();
    LoadedX x;
    if (FAILED(D3DXLoadMeshFromXW(path.c_str(), D3DXMESH_SYSTEMMEM, CurrentDevice, x.adjacency.Out(),
                                  x.materials.Out(), x.effectInstances.Out(), &x.materialCount, x.mesh.Out())) ||
        !x.mesh)
        return LoadedMesh();
    return CopyIntoBuffers(x, stride);
}
