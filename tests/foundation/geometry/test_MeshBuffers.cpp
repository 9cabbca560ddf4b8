#include "foundation/geometry/MeshBuffers.h"
#include "foundation/geometry/TexturedMesh.h"
#include "tests/foundation/geometry/GeometryFixture.h"
#include "tests/support/ScopedCurrentDevice.h"
#include "tests/support/TestTextures.h"

#include <climits>

namespace {

using MeshBuffers = GeometryFixture;

const D3DCOLOR Clear = 0xFF102030;
const Rgba ClearRgba{0x10, 0x20, 0x30, 255};

template <class V>
void ExpectBuffer(const DS_SimpleMesh<V>& mesh, UINT count, DWORD usage = D3DUSAGE_WRITEONLY,
                  D3DPOOL pool = D3DPOOL_MANAGED)
{
    ASSERT_TRUE(mesh.vertices);
    D3DVERTEXBUFFER_DESC desc{};
    ASSERT_EQ(D3D_OK, mesh.vertices->GetDesc(&desc));
    EXPECT_EQ(count * sizeof(V), desc.Size);
    EXPECT_EQ(V::FVF, desc.FVF);
    EXPECT_EQ(usage, desc.Usage);
    EXPECT_EQ(pool, desc.Pool);
    EXPECT_EQ(count, mesh.vertexCount);
}

template <class V>
void ExpectQuad(const DS_SimpleMesh<V>& mesh)
{
    ExpectBuffer(mesh, 4);
    EXPECT_EQ(D3DPT_TRIANGLESTRIP, mesh.primitiveType);
    EXPECT_EQ(2u, mesh.primitiveCount);
}

// Fixed-function state for the drawing tests: no lighting, culling, depth or
// blending; stage 0 passes on the argument given.
void PlainState(IDirect3DDevice9* device, DWORD colourSource)
{
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    device->SetTransform(D3DTS_WORLD, &identity);
    device->SetTransform(D3DTS_VIEW, &identity);
    device->SetTransform(D3DTS_PROJECTION, &identity);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetTexture(0, nullptr);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, colourSource);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, colourSource);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
}

// Corners of the left half of the target in clip space, in strip order
// (bottom left, top left, bottom right, top right).
const float CornerX[4] = {-1, -1, 0, 0};
const float CornerY[4] = {-1, 1, -1, 1};
const float CornerU[4] = {0, 0, 1, 1};
const float CornerV[4] = {1, 0, 1, 0};

// Samples of a 64 × 64 target: inside the first and second triangle of
// the left-half quad, and the right half that it leaves alone.
void ExpectLeftHalf(const Pixels& p, const Rgba& colour)
{
    ASSERT_EQ(64, p.Width());
    EXPECT_TRUE(ColourNear(p.At(4, 56), colour, 2)) << "first triangle";
    EXPECT_TRUE(ColourNear(p.At(28, 8), colour, 2)) << "second triangle";
    EXPECT_TRUE(p.AllNear(40, 0, 64, 64, ClearRgba, 0)) << "outside the quad";
}

} // namespace

TEST_F(MeshBuffers, VertexBuffersHaveTheirFormatUsageAndPool)
{
    DS_SimpleMesh<DX_V::SPCT> spct;
    DS_SimpleMesh<DX_V::SPC> spc;
    DS_SimpleMesh<DX_V::PC> pc;
    DS_SimpleMesh<DX_V::PT> pt;
    DS_SimpleMesh<DX_V::PT2> pt2;
    const DWORD wo = D3DUSAGE_WRITEONLY;

    EXPECT_EQ(D3D_OK, CreateVertexBufferSPCT(10, spct, wo, D3DPOOL_MANAGED));
    EXPECT_EQ(D3D_OK, CreateVertexBufferSPC(11, spc, wo, D3DPOOL_MANAGED));
    EXPECT_EQ(D3D_OK, CreateVertexBufferPC(12, pc, wo, D3DPOOL_MANAGED));
    EXPECT_EQ(D3D_OK, CreateVertexBufferPT(13, pt, wo | D3DUSAGE_DYNAMIC, D3DPOOL_DEFAULT));
    EXPECT_EQ(D3D_OK, CreateVertexBufferPT2(14, pt2, wo, D3DPOOL_MANAGED));

    ExpectBuffer(spct, 10);
    ExpectBuffer(spc, 11);
    ExpectBuffer(pc, 12);
    ExpectBuffer(pt, 13, wo | D3DUSAGE_DYNAMIC, D3DPOOL_DEFAULT);
    ExpectBuffer(pt2, 14);
}

TEST_F(MeshBuffers, QuadBuffersAreManagedFourVertexStrips)
{
    DS_SimpleMesh<DX_V::SPCT> spct;
    DS_SimpleMesh<DX_V::SPC> spc;
    DS_SimpleMesh<DX_V::PC> pc;
    DS_SimpleMesh<DX_V::PT> pt;
    pt.primitiveType = D3DPT_TRIANGLELIST;

    EXPECT_EQ(D3D_OK, CreateQuadBufferSPCT(spct));
    EXPECT_EQ(D3D_OK, CreateQuadBufferSPC(spc));
    EXPECT_EQ(D3D_OK, CreateQuadBufferPC(pc));
    EXPECT_EQ(D3D_OK, CreateQuadBufferPT(pt));

    ExpectQuad(spct);
    ExpectQuad(spc);
    ExpectQuad(pc);
    ExpectQuad(pt);
}

TEST_F(MeshBuffers, CreationReplacesAndReleasesTheHeldBuffer)
{
    TexturedMesh<DX_V::SPCT> mesh;
    ASSERT_EQ(D3D_OK, CreateQuadBufferSPCT(mesh));
    ASSERT_EQ(D3D_OK, CreateIndexBuffer16(6, mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED));
    ComHolder<IDirect3DVertexBuffer9> oldVertices = mesh.vertices;
    ComHolder<IDirect3DIndexBuffer9> oldIndices = mesh.indices;

    ASSERT_EQ(D3D_OK, CreateVertexBufferSPCT(40, mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED));
    ASSERT_EQ(D3D_OK, CreateIndexBuffer16(60, mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED));

    EXPECT_EQ(1u, RefCount(oldVertices.Get())); // only the probe's reference is left
    EXPECT_EQ(1u, RefCount(oldIndices.Get()));
    EXPECT_NE(oldVertices.Get(), mesh.vertices.Get());
    ExpectBuffer(mesh, 40);
    D3DINDEXBUFFER_DESC desc{};
    ASSERT_EQ(D3D_OK, mesh.indices->GetDesc(&desc));
    EXPECT_EQ(D3DFMT_INDEX16, desc.Format);
    EXPECT_EQ(120u, desc.Size);
}

TEST_F(MeshBuffers, FailedCreationLeavesNoBuffer)
{
    DS_IndexedMesh<DX_V::PT> mesh;
    ASSERT_EQ(D3D_OK, CreateQuadBufferPT(mesh));
    ASSERT_EQ(D3D_OK, CreateIndexBuffer16(6, mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED));

    // A count whose byte size does not fit 32 bits.
    EXPECT_TRUE(FAILED(CreateVertexBufferPT(UINT_MAX / 10, mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED)));
    EXPECT_TRUE(FAILED(CreateIndexBuffer16(UINT_MAX, mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED)));
    EXPECT_FALSE(mesh.vertices);
    EXPECT_FALSE(mesh.indices);

    ASSERT_EQ(D3D_OK, CreateQuadBufferPT(mesh));
    const ScopedCurrentDevice noDevice(nullptr);
    EXPECT_TRUE(FAILED(CreateQuadBufferPT(mesh)));
    EXPECT_FALSE(mesh.vertices);
    BindIndexedMeshPT(mesh); // binding without a device does nothing
}

TEST_F(MeshBuffers, BoundScreenQuadReachesTheBackBuffer)
{
    IDirect3DDevice9* d = dev.Device();
    DS_SimpleMesh<DX_V::SPC> quad;
    ASSERT_EQ(D3D_OK, CreateQuadBufferSPC(quad));
    // Pixels 16..48 both ways, in strip order.
    const D3DCOLOR colour = 0xFFE04010;
    ASSERT_TRUE(FillVertices(quad.vertices.Get(), std::vector<DX_V::SPC>{{16, 48, 0, 1, colour},
                                                                        {16, 16, 0, 1, colour},
                                                                        {48, 48, 0, 1, colour},
                                                                        {48, 16, 0, 1, colour}}));
    PlainState(d, D3DTA_DIFFUSE);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, Clear, 1.0f, 0);

    ASSERT_EQ(D3D_OK, d->BeginScene());
    BindQuadSPCForDraw(quad);
    EXPECT_EQ(D3D_OK, d->DrawPrimitive(quad.primitiveType, 0, quad.primitiveCount));
    d->EndScene();

    const Pixels p = dev.ReadBackBuffer();
    EXPECT_TRUE(p.AllNear(17, 17, 47, 47, Rgba::FromArgb(colour), 0));
    EXPECT_TRUE(p.AllNear(0, 0, 64, 15, ClearRgba, 0));
    EXPECT_TRUE(p.AllNear(49, 0, 64, 64, ClearRgba, 0));
}

TEST_F(MeshBuffers, BoundTexturedQuadShowsItsTexture)
{
    IDirect3DDevice9* d = dev.Device();
    TexturedMesh<DX_V::PT> quad;
    ASSERT_EQ(D3D_OK, CreateQuadBufferPT(quad));
    quad.texture = SolidTexture(d, 0xFF30C060);
    std::vector<DX_V::PT> corners;
    for (int i = 0; i < 4; ++i)
        corners.push_back({CornerX[i], CornerY[i], 0.5f, CornerU[i], CornerV[i]});
    ASSERT_TRUE(FillVertices(quad.vertices.Get(), corners));
    PlainState(d, D3DTA_TEXTURE); // no texture bound yet: the stage would give white
    d->Clear(0, nullptr, D3DCLEAR_TARGET, Clear, 1.0f, 0);

    ASSERT_EQ(D3D_OK, d->BeginScene());
    BindTexturedQuadPT(quad);
    EXPECT_EQ(D3D_OK, d->DrawPrimitive(quad.primitiveType, 0, quad.primitiveCount));
    d->EndScene();

    ExpectLeftHalf(dev.ReadBackBuffer(), Rgba{0x30, 0xC0, 0x60, 255});
}

namespace {

// Draws the left-half quad of an indexed mesh of any format through bind,
// after another index buffer that holds only the first triangle was bound:
// the second triangle appears only when bind sets the mesh's own indices.
template <class V, class MakeVertex, class Bind>
void DrawIndexedQuad(TestDevice& dev, DS_IndexedMesh<V>& mesh, MakeVertex make, Bind bind)
{
    IDirect3DDevice9* d = dev.Device();
    ASSERT_EQ(D3D_OK, CreateMeshVertexBuffer(4, mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED));
    ASSERT_EQ(D3D_OK, CreateIndexBuffer16(6, mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED));
    mesh.primitiveType = D3DPT_TRIANGLELIST;
    mesh.indexedPrimitiveCount = 2;
    std::vector<V> corners;
    for (int i = 0; i < 4; ++i)
        corners.push_back(make(i));
    ASSERT_TRUE(FillVertices(mesh.vertices.Get(), corners));

    auto writeIndices = [](IDirect3DIndexBuffer9* buffer, const uint16_t (&values)[6]) {
        void* data = nullptr;
        ASSERT_EQ(D3D_OK, buffer->Lock(0, 0, &data, 0));
        std::memcpy(data, values, sizeof(values));
        buffer->Unlock();
    };
    writeIndices(mesh.indices.Get(), {0, 1, 2, 2, 1, 3});
    DS_IndexedMesh<V> decoy;
    ASSERT_EQ(D3D_OK, CreateIndexBuffer16(6, decoy, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED));
    writeIndices(decoy.indices.Get(), {0, 1, 2, 0, 1, 2});
    d->SetIndices(decoy.indices.Get());
    d->Clear(0, nullptr, D3DCLEAR_TARGET, Clear, 1.0f, 0);

    ASSERT_EQ(D3D_OK, d->BeginScene());
    bind(mesh);
    EXPECT_EQ(D3D_OK, d->DrawIndexedPrimitive(mesh.primitiveType, 0, 0, mesh.vertexCount, 0,
                                              mesh.indexedPrimitiveCount));
    d->EndScene();
    d->SetIndices(nullptr);
}

} // namespace

TEST_F(MeshBuffers, BoundIndexedMeshesDrawThroughTheirIndices)
{
    IDirect3DDevice9* d = dev.Device();
    const Rgba green{0x30, 0xC0, 0x60, 255};
    ComHolder<IDirect3DTexture9> texture = SolidTexture(d, 0xFF30C060);

    {
        SCOPED_TRACE("PCT");
        PlainState(d, D3DTA_DIFFUSE);
        DS_IndexedMesh<DX_V::PCT> mesh;
        DrawIndexedQuad(
            dev, mesh,
            [](int i) { return DX_V::PCT{CornerX[i], CornerY[i], 0.5f, 0xFF30C060, CornerU[i], CornerV[i]}; },
            [](const DS_IndexedMesh<DX_V::PCT>& m) { BindMeshPCT(m); });
        ExpectLeftHalf(dev.ReadBackBuffer(), green);
    }
    {
        SCOPED_TRACE("PNT");
        PlainState(d, D3DTA_TEXTURE);
        d->SetTexture(0, texture.Get());
        DS_IndexedMesh<DX_V::PNT> mesh;
        DrawIndexedQuad(
            dev, mesh,
            [](int i) { return DX_V::PNT{CornerX[i], CornerY[i], 0.5f, 0, 0, -1, CornerU[i], CornerV[i]}; },
            [](const DS_IndexedMesh<DX_V::PNT>& m) { BindMeshPNT(m); });
        ExpectLeftHalf(dev.ReadBackBuffer(), green);
    }
    {
        SCOPED_TRACE("PT");
        PlainState(d, D3DTA_TEXTURE);
        d->SetTexture(0, texture.Get());
        DS_IndexedMesh<DX_V::PT> mesh;
        DrawIndexedQuad(
            dev, mesh, [](int i) { return DX_V::PT{CornerX[i], CornerY[i], 0.5f, CornerU[i], CornerV[i]}; },
            [](const DS_IndexedMesh<DX_V::PT>& m) { BindIndexedMeshPT(m); });
        ExpectLeftHalf(dev.ReadBackBuffer(), green);
    }
    d->SetTexture(0, nullptr);
}
