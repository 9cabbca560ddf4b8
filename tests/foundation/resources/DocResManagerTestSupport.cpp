#include "tests/foundation/resources/DocResManagerTestSupport.h"

#include "foundation/core/CurrentDevice.h"
#include "foundation/resources/MeshLoaders.h"
#include "foundation/resources/ReadDocResManager.h"

TableResourceRecord EmbeddedPicture(const std::wstring& path, const Bytes& content)
{
    return TableResourceRecord{0, L"", content, path};
}

TableResourceRecord TestModuleRecord(int32_t id) { return TableResourceRecord{id, TESTMODULE_FILE_NAME, {}, L""}; }

Bytes ResourceTableBytes(const ResourceTableContent& content, int32_t version)
{
    DocumentBuilder builder;
    ResourceTableRecord(builder, content, version);
    return builder.Take();
}

DS_FileLink3 TestModuleLink(int32_t id) { return DS_FileLink3(id, TESTMODULE_FILE_NAME); }

void DocResManagerTest::SetUp()
{
    ASSERT_TRUE(device.Ok());
    current.emplace(device.Device());
}

void DocResManagerTest::TearDown()
{
    manager.reset();
    CurrentResManager = nullptr;
    CurrentResourceCache = nullptr;
    current.reset();
}

DS_DocResManager& DocResManagerTest::Read(const Bytes& record)
{
    ByteArchive archive(record);
    manager.reset();
    manager.reset(ReadDocResManager(archive.handle));
    CurrentResManager = manager.get();
    return *manager;
}

DS_DocResManager& DocResManagerTest::Fresh()
{
    manager.reset();
    manager = std::make_unique<DS_DocResManager>();
    CurrentResManager = manager.get();
    return *manager;
}

void DrawTextureQuad(IDirect3DDevice9* device, IDirect3DTexture9* texture)
{
    struct Vertex {
        float x, y, z, rhw, u, v;
    };
    D3DSURFACE_DESC back{};
    IDirect3DSurface9* surface = nullptr;
    if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface)))
        return;
    surface->GetDesc(&back);
    surface->Release();
    const float right = static_cast<float>(back.Width) - 0.5f;
    const float bottom = static_cast<float>(back.Height) - 0.5f;
    const Vertex quad[4] = {{-0.5f, -0.5f, 0, 1, 0, 0},
                            {right, -0.5f, 0, 1, 1, 0},
                            {-0.5f, bottom, 0, 1, 0, 1},
                            {right, bottom, 0, 1, 1, 1}};
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetTexture(0, texture);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1);
    device->BeginScene();
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
    device->EndScene();
    device->SetTexture(0, nullptr);
}

void DrawMeshThroughEffect(IDirect3DDevice9* device, const LoadedMesh& mesh, ID3DXEffect* effect)
{
    D3DXMATRIX world, identity, projection;
    D3DXMatrixTranslation(&world, -1, -2, -3);
    D3DXMatrixIdentity(&identity);
    D3DXMatrixOrthoLH(&projection, 8, 8, -10, 10);
    device->SetTransform(D3DTS_WORLD, &world);
    device->SetTransform(D3DTS_VIEW, &identity);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);
    device->SetStreamSource(0, mesh.vertices.Get(), 0, LoadedMeshStride);
    device->SetIndices(mesh.indices.Get());
    device->BeginScene();
    UINT passes = 0;
    if (SUCCEEDED(effect->Begin(&passes, 0))) {
        for (UINT pass = 0; pass < passes; ++pass) {
            effect->BeginPass(pass);
            device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, mesh.vertexCount, 0, mesh.faceCount);
            effect->EndPass();
        }
        effect->End();
    }
    device->EndScene();
    device->SetStreamSource(0, nullptr, 0, 0);
    device->SetIndices(nullptr);
}

Rgba Colour(uint32_t argb)
{
    return Rgba{static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8), static_cast<uint8_t>(argb), 255};
}
