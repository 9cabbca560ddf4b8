#include "tests/support/LayerTestSupport.h"

#include "scene/layerbase/DS_2D_Light.h"
#include "tests/support/TestTextures.h"
#include "tools/effects/CompiledEffectWriter.h"
#include "tools/effects/FlatColourEffect.h"

#include <d3dx9shader.h>

#include <cmath>
#include <cstdio>
#include <cstring>

void AddPicture(DS_DocResManager& manager, const FileKey& key, IDirect3DTexture9* texture, UINT width,
                UINT height)
{
    TextureSet& set = manager.Table().textureSets[key];
    set.textures.clear();
    set.textures.emplace_back();
    set.textures.back() = texture;
    set.width = width;
    set.height = height;
    set.aspect = width ? static_cast<float>(height) / static_cast<float>(width) : 1.0f;
}

void ActivateLayer(DS_2D_Light& layer, const FileKey& key, int width, int height, int pictureMode)
{
    layer.pictureLink.value = key;
    layer.OnDeviceCreated();
    layer.SetSize(1, 1);
    layer.SetPicturePosition(pictureMode);
    layer.SetSize(width, height);
    layer.ResetCameraPan();
    layer.OnDeviceRestored();
}

std::vector<uint8_t> EffectWithRefusedTechniques(std::initializer_list<const char*> refused,
                                                 std::initializer_list<const char*> accepted, D3DCOLOR argb)
{
    // Version token ps_4_0, then the end token: a shader model beyond any
    // Direct3D 9 device, so CreatePixelShader refuses it.
    const std::vector<uint8_t> beyondAnyDevice = {0x00, 0x04, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
    char source[128];
    std::snprintf(source, sizeof source, "ps_2_0\ndef c0, %f, %f, %f, %f\nmov oC0, c0\n",
                  ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                  ((argb >> 24) & 0xFF) / 255.0);
    std::vector<uint8_t> plain;
    ID3DXBuffer* assembled = nullptr;
    if (SUCCEEDED(D3DXAssembleShader(source, static_cast<UINT>(std::strlen(source)), nullptr, nullptr, 0, &assembled,
                                     nullptr))) {
        const auto* bytes = static_cast<const uint8_t*>(assembled->GetBufferPointer());
        plain.assign(bytes, bytes + assembled->GetBufferSize());
        assembled->Release();
    }
    CompiledEffectWriter writer;
    const auto add = [&writer](const char* name, const std::vector<uint8_t>& shader) {
        EffectPassState state;
        state.operation = EffectState::PixelShader;
        state.kind = EffectStateKind::Shader;
        state.shader = shader;
        EffectTechnique& technique = writer.AddTechnique(name);
        technique.passes.push_back(EffectPass{"P0", {EffectPassState(EffectState::AlphaBlendEnable, 0, 0),
                                                      EffectPassState(EffectState::ZEnable, 0, 0), state}});
    };
    for (const char* name : refused)
        add(name, beyondAnyDevice);
    for (const char* name : accepted)
        add(name, plain);
    return writer.Write();
}

void AddEffectRecord(DS_DocResManager& manager, const FileKey& key, const std::vector<uint8_t>& bytes)
{
    ResourceRecord record(key.path);
    record.SetBytes(static_cast<int32_t>(bytes.size()), bytes.data());
    auto& records = manager.Table().allRecords[key];
    records.clear();
    records.push_back(record);
    manager.Table().effects.erase(key);
}

ComHolder<ID3DXEffect> LoadEffect(IDirect3DDevice9* device, const std::vector<uint8_t>& bytes)
{
    ComHolder<ID3DXEffect> effect;
    D3DXCreateEffect(device, bytes.data(), static_cast<UINT>(bytes.size()), nullptr, nullptr, 0, nullptr,
                     effect.Out(), nullptr);
    return effect;
}

ComHolder<ID3DXEffect> CopyTextureEffect(IDirect3DDevice9* device)
{
    CompiledEffectWriter writer;
    writer.AddTechnique("Copy").passes.push_back(EffectPass{"Copy",
                                                            {
                                                                {EffectState::AlphaBlendEnable, 0, FALSE},
                                                                {EffectState::ColorOp, 0, D3DTOP_SELECTARG1},
                                                                {EffectState::ColorArg1, 0, D3DTA_TEXTURE},
                                                                {EffectState::AlphaOp, 0, D3DTOP_SELECTARG1},
                                                                {EffectState::AlphaArg1, 0, D3DTA_TEXTURE},
                                                            }});
    return LoadEffect(device, writer.Write());
}

ComHolder<ID3DXEffect> FlatEffect(IDirect3DDevice9* device, D3DCOLOR argb)
{
    return LoadEffect(device, FlatColourEffect(argb));
}

void MakeQuadPT(DS_SimpleMesh<DX_V::PT>& mesh, float left, float top, float right, float bottom)
{
    CreateQuadBufferPT(mesh);
    VertexLock<DX_V::PT> lock(mesh, 4);
    if (!lock)
        return;
    const DX_V::PT corners[4] = {{left, bottom, 0.0f, 0.0f, 1.0f},
                                 {left, top, 0.0f, 0.0f, 0.0f},
                                 {right, bottom, 0.0f, 1.0f, 1.0f},
                                 {right, top, 0.0f, 1.0f, 0.0f}};
    for (int i = 0; i < 4; ++i)
        lock.Vertices()[i] = corners[i];
}

void MakeTwoWindingSquares(TexturedMesh<DX_V::PNT>& mesh, float side)
{
    CreateMeshVertexBuffer(8, mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED);
    CreateIndexBuffer16(12, mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED);
    mesh.primitiveType = D3DPT_TRIANGLELIST;
    mesh.indexedPrimitiveCount = 4;
    {
        VertexLock<DX_V::PNT> lock(mesh, 8);
        if (!lock)
            return;
        // Top left, top right, bottom left, bottom right, once per texel
        // (texel centres at u 0.25 and 0.75).
        const float xs[4] = {0.0f, side, 0.0f, side};
        const float ys[4] = {0.0f, 0.0f, side, side};
        for (int square = 0; square < 2; ++square) {
            for (int i = 0; i < 4; ++i)
                lock.Vertices()[square * 4 + i] = {xs[i], ys[i], 0.0f, 0.0f, 0.0f, -1.0f, 0.25f + 0.5f * square,
                                                   0.5f};
        }
    }
    // With y down the screen, top left → top right → bottom left turns
    // clockwise.
    WriteIndices(mesh.indices.Get(), {0, 1, 2, 1, 3, 2, 4, 6, 5, 5, 6, 7});
}

void WriteIndices(IDirect3DIndexBuffer9* buffer, std::initializer_list<uint16_t> indices)
{
    D3DINDEXBUFFER_DESC desc{};
    if (!buffer || FAILED(buffer->GetDesc(&desc)) || desc.Size < indices.size() * sizeof(uint16_t))
        return;
    void* data = nullptr;
    if (FAILED(buffer->Lock(0, 0, &data, 0)))
        return;
    uint16_t* out = static_cast<uint16_t*>(data);
    for (uint16_t index : indices)
        *out++ = index;
    buffer->Unlock();
}

ComHolder<IDirect3DTexture9> TwoTexelTexture(IDirect3DDevice9* device, D3DCOLOR left, D3DCOLOR right)
{
    return ColourTexture(device, 2, 1, [left, right](UINT x, UINT) { return x == 0 ? left : right; });
}

Rgba BlendOver(const Rgba& dst, const Rgba& src)
{
    const double a = src.a / 255.0;
    const auto mix = [a](uint8_t d, uint8_t s) {
        return static_cast<uint8_t>(std::lround(std::fmin(255.0, s * a + d * (1.0 - a))));
    };
    Rgba out;
    out.r = mix(dst.r, src.r);
    out.g = mix(dst.g, src.g);
    out.b = mix(dst.b, src.b);
    out.a = 255;
    return out;
}

void DrawObjectFrame(IDirect3DDevice9* device, DS_2D_Light& layer, DS_ABObj& object, float time)
{
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    device->BeginScene();
    object.Update(time);
    layer.DrawBackground(false);
    object.Render(layer);
    device->EndScene();
}
