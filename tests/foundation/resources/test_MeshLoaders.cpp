#include "tests/foundation/resources/LoaderTestSupport.h"

#include "foundation/core/CurrentDevice.h"
#include "foundation/resources/MeshLoaders.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

using MeshLoaderTest = LoaderTest;

struct MeshVertex {
    D3DXVECTOR3 position;
    D3DXVECTOR3 normal;
    float u, v;
};
static_assert(sizeof(MeshVertex) == LoadedMeshStride, "position, normal and one texture pair");

template <class T, class Buffer>
std::vector<T> ReadBuffer(Buffer* buffer, UINT count)
{
    std::vector<T> items(count);
    void* data = nullptr;
    if (SUCCEEDED(buffer->Lock(0, 0, &data, D3DLOCK_READONLY))) {
        std::memcpy(items.data(), data, count * sizeof(T));
        buffer->Unlock();
    }
    return items;
}

Bytes Cube() { return BytesOf(CubeXFile(D3DXVECTOR3(1, 2, 3), 1)); }

LoadedMesh FromMemory(const Bytes& file, UINT stride = LoadedMeshStride)
{
    return LoadMeshFromMemory(file.data(), static_cast<int32_t>(file.size()), stride);
}

} // namespace

TEST_F(MeshLoaderTest, CubeIsCopiedIntoManagedBuffersWithItsBoundingSphere)
{
    const LoadedMesh mesh = FromMemory(Cube());
    ASSERT_TRUE(mesh.IsLoaded());
    EXPECT_EQ(24u, mesh.vertexCount);
    EXPECT_EQ(12u, mesh.faceCount);
    EXPECT_NEAR(1.0f, mesh.centre.x, 1e-5f);
    EXPECT_NEAR(2.0f, mesh.centre.y, 1e-5f);
    EXPECT_NEAR(3.0f, mesh.centre.z, 1e-5f);
    EXPECT_NEAR(std::sqrt(3.0f), mesh.radius, 1e-5f);

    D3DVERTEXBUFFER_DESC vertices{};
    mesh.vertices->GetDesc(&vertices);
    EXPECT_EQ(24u * 32u, vertices.Size);
    EXPECT_EQ(D3DPOOL_MANAGED, vertices.Pool);
    EXPECT_EQ(static_cast<DWORD>(D3DUSAGE_WRITEONLY), vertices.Usage);
    D3DINDEXBUFFER_DESC indices{};
    mesh.indices->GetDesc(&indices);
    EXPECT_EQ(12u * 6u, indices.Size);
    EXPECT_EQ(D3DFMT_INDEX16, indices.Format);
    EXPECT_EQ(D3DPOOL_MANAGED, indices.Pool);

    // Each vertex carries its side's outward normal and a texture corner.
    for (const MeshVertex& v : ReadBuffer<MeshVertex>(mesh.vertices.Get(), mesh.vertexCount)) {
        const D3DXVECTOR3 out = v.position - D3DXVECTOR3(1, 2, 3);
        EXPECT_NEAR(1.0f, D3DXVec3Length(&v.normal), 1e-4f);
        EXPECT_NEAR(1.0f, D3DXVec3Dot(&v.normal, &out), 1e-4f);
        EXPECT_TRUE(v.u == 0.0f || v.u == 1.0f) << v.u;
        EXPECT_TRUE(v.v == 0.0f || v.v == 1.0f) << v.v;
    }
    for (const WORD index : ReadBuffer<WORD>(mesh.indices.Get(), mesh.faceCount * 3))
        EXPECT_LT(index, 24u);
}

// The buffers draw as they are: the cube, seen along z through an
// orthographic projection four units wide, covers the middle half.
TEST_F(MeshLoaderTest, LoadedCubeDraws)
{
    const LoadedMesh mesh = FromMemory(Cube());
    ASSERT_TRUE(mesh.IsLoaded());
    IDirect3DDevice9* d = device.Device();
    D3DXMATRIX world, view, projection;
    D3DXMatrixTranslation(&world, -1, -2, -3);
    D3DXMatrixIdentity(&view);
    D3DXMatrixOrthoLH(&projection, 4, 4, -10, 10);
    d->SetTransform(D3DTS_WORLD, &world);
    d->SetTransform(D3DTS_VIEW, &view);
    d->SetTransform(D3DTS_PROJECTION, &projection);
    d->SetRenderState(D3DRS_LIGHTING, FALSE);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    d->SetRenderState(D3DRS_TEXTUREFACTOR, D3DCOLOR_XRGB(255, 0, 0));
    d->SetTexture(0, nullptr);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TFACTOR);
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);

    d->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
    ASSERT_EQ(D3D_OK, d->BeginScene());
    d->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);
    d->SetStreamSource(0, mesh.vertices.Get(), 0, LoadedMeshStride);
    d->SetIndices(mesh.indices.Get());
    EXPECT_EQ(D3D_OK, d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, mesh.vertexCount, 0, mesh.faceCount));
    d->EndScene();
    d->SetStreamSource(0, nullptr, 0, 0);
    d->SetIndices(nullptr);

    const Pixels pixels = device.ReadBackBuffer();
    EXPECT_TRUE(pixels.AllNear(72, 72, 184, 184, {255, 0, 0, 255}, 2));
    EXPECT_TRUE(ColourNear(pixels.At(20, 20), {0, 0, 0, 255}, 2));
    EXPECT_TRUE(ColourNear(pixels.At(236, 128), {0, 0, 0, 255}, 2));
}

TEST_F(MeshLoaderTest, MeshFromAFileOnDisk)
{
    const TempFile file(L"nightglass_mesh_cube.x", Cube());
    const LoadedMesh mesh = LoadMeshFromFile(file.Path(), LoadedMeshStride);
    EXPECT_EQ(24u, mesh.vertexCount);
    EXPECT_EQ(12u, mesh.faceCount);
    EXPECT_NEAR(std::sqrt(3.0f), mesh.radius, 1e-5f);
}

TEST_F(MeshLoaderTest, WhatDoesNotLoadGivesTheEmptyMesh)
{
    const Bytes junk = BytesOf("xof 0303txt 0032\nMesh { 3; broken");
    const struct {
        const char* name;
        LoadedMesh mesh;
    } cases[] = {
        {"bad data", FromMemory(junk)},
        {"no bytes", LoadMeshFromMemory(nullptr, 0, LoadedMeshStride)},
        {"another stride", FromMemory(Cube(), 24)},
        {"missing file", LoadMeshFromFile(L"C:\\nightglass\\no such mesh.x", LoadedMeshStride)},
        {"program resource that is no mesh", LoadModuleMesh(nullptr, SplashResource, LoadedMeshStride)},
        {"missing program resource", LoadModuleMesh(nullptr, MissingResource, LoadedMeshStride)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.mesh.IsLoaded());
        EXPECT_FALSE(c.mesh.vertices);
        EXPECT_FALSE(c.mesh.indices);
        EXPECT_EQ(0u, c.mesh.faceCount);
        EXPECT_EQ(0.0f, c.mesh.radius);
    }
}

TEST_F(MeshLoaderTest, CopiesShareBothBuffers)
{
    LoadedMesh mesh = FromMemory(Cube());
    ASSERT_TRUE(mesh.IsLoaded());
    EXPECT_EQ(1u, RefCount(mesh.vertices.Get()));
    EXPECT_EQ(1u, RefCount(mesh.indices.Get()));
    {
        const LoadedMesh copy = mesh;
        EXPECT_EQ(2u, RefCount(mesh.vertices.Get()));
        EXPECT_EQ(2u, RefCount(mesh.indices.Get()));
        EXPECT_EQ(mesh.faceCount, copy.faceCount);
        EXPECT_EQ(mesh.radius, copy.radius);
    }
    EXPECT_EQ(1u, RefCount(mesh.vertices.Get()));
    EXPECT_EQ(1u, RefCount(mesh.indices.Get()));

    const LoadedMesh triangle = FromMemory(BytesOf(TriangleXFile()));
    IDirect3DVertexBuffer9* cubeVertices = mesh.vertices.Get();
    cubeVertices->AddRef();
    mesh = triangle;
    EXPECT_EQ(1u, RefCount(cubeVertices));
    EXPECT_EQ(2u, RefCount(triangle.vertices.Get()));
    EXPECT_EQ(3u, mesh.vertexCount);
    cubeVertices->Release();
}
