#include "scene/layers/FakeLake2D.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/geometry/MeshBuffers.h"
#include "foundation/render/ColouredQuads.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/render/SceneView.h"
#include "foundation/render/StageStates.h"
#include "foundation/render/VertexLock.h"
#include "foundation/render/BackBuffer.h"
#include "foundation/resources/DS_DocResManager.h"
#include "foundation/resources/ResourceCache.h"
#include "res/resource.h"

#include <d3dx9tex.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const wchar_t* const RecordName = L"FakeLake2D";
const int32_t WrittenVersion = 2;
const int32_t FirstVersionWithValues = 2;

// The program's noise picture, from which a bump texture is built when the
// document holds none for the lake.
const int32_t NoiseResource = IDR_NOISE;

// The reflection is a square copy of the picture, 128 × 2^n a side; 2^7
// steps reach 16384, beyond the textures of any device.
const uint32_t SmallestReflectionSide = 128;
const uint32_t LargestReflectionExponent = 7;

// The ripple turns by 4.5 radians per clock second and displaces the
// reflection by at most 0.04 of its size.
const float RippleTurnHalf = 0.5f;
const float RippleTurnRate = 9.0f;
const float RippleScale = 0.04f;
// The bump texture spans from just inside its edge to the tiling value.
const float BumpInset = 0.01f;

void WriteValue(ArchiveHandle& archive, unsigned int value)
{
    uint32_t stored = value;
    archive->WriteUInt(stored);
}

// Stage 0 shows the bound texture as it stands and stage 1 is off, whatever
// the lake's own draw or its device set-up left there.
void SetPictureStages(IDirect3DDevice9* device)
{
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    SelectTextureOnStage0(device);
    DisableStage(device, 1);
}

// The heights picture's top level as 8-bit red values, row by row.
bool ReadRedChannel(IDirect3DTexture9* texture, UINT& width, UINT& height, std::vector<float>& red)
{
    D3DSURFACE_DESC desc{};
    ComHolder<IDirect3DSurface9> level;
    ComHolder<IDirect3DDevice9> device;
    if (!texture || FAILED(texture->GetLevelDesc(0, &desc)) || FAILED(texture->GetSurfaceLevel(0, level.Out())) ||
        FAILED(texture->GetDevice(device.Out())) || desc.Width == 0 || desc.Height == 0)
        return false;
    // Whatever the picture's format, a plain copy in system memory reads the
    // same way.
    ComHolder<IDirect3DSurface9> copy;
    if (FAILED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, D3DFMT_A8R8G8B8, D3DPOOL_SCRATCH,
                                                   copy.Out(), nullptr)) ||
        FAILED(D3DXLoadSurfaceFromSurface(copy.Get(), nullptr, nullptr, level.Get(), nullptr, nullptr,
                                          D3DX_FILTER_NONE, 0)))
        return false;
    D3DLOCKED_RECT locked{};
    if (FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY)))
        return false;
    width = desc.Width;
    height = desc.Height;
    red.resize(static_cast<std::size_t>(width) * height);
    for (UINT y = 0; y < height; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(locked.pBits) + static_cast<std::size_t>(y) * locked.Pitch;
        for (UINT x = 0; x < width; ++x)
            red[static_cast<std::size_t>(y) * width + x] = static_cast<float>(row[x * 4 + 2]) / 255.0f;
    }
    copy->UnlockRect();
    return true;
}

int8_t SignedByte(float v)
{
    const float scaled = std::round(std::clamp(v, -1.0f, 1.0f) * 127.0f);
    return static_cast<int8_t>(scaled);
}

// One mip level of (du, dv) pairs into the locked V8U8 level.
bool WriteBumpLevel(IDirect3DTexture9* texture, UINT level, UINT width, UINT height, const std::vector<float>& du,
                    const std::vector<float>& dv)
{
    D3DLOCKED_RECT locked{};
    if (FAILED(texture->LockRect(level, &locked, nullptr, 0)))
        return false;
    for (UINT y = 0; y < height; ++y) {
        int8_t* row = reinterpret_cast<int8_t*>(static_cast<uint8_t*>(locked.pBits) +
                                                static_cast<std::size_t>(y) * locked.Pitch);
        for (UINT x = 0; x < width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * width + x;
            row[x * 2] = SignedByte(du[i]);
            row[x * 2 + 1] = SignedByte(dv[i]);
        }
    }
    texture->UnlockRect(level);
    return true;
}

// Each texel of the next level is the mean of the four above it.
void HalveLevel(UINT width, UINT height, std::vector<float>& values)
{
    const UINT newWidth = std::max(1u, width / 2);
    const UINT newHeight = std::max(1u, height / 2);
    std::vector<float> halved(static_cast<std::size_t>(newWidth) * newHeight);
    auto at = [&](UINT x, UINT y) {
        return values[static_cast<std::size_t>(std::min(y, height - 1)) * width + std::min(x, width - 1)];
    };
    for (UINT y = 0; y < newHeight; ++y)
        for (UINT x = 0; x < newWidth; ++x)
            halved[static_cast<std::size_t>(y) * newWidth + x] =
                0.25f * (at(2 * x, 2 * y) + at(2 * x + 1, 2 * y) + at(2 * x, 2 * y + 1) + at(2 * x + 1, 2 * y + 1));
    values.swap(halved);
}

} // namespace

void ReflectQuad(ScreenQuad& quad, float f)
{
    const int edges[2][2] = {{ScreenQuad::TopLeft, ScreenQuad::BottomLeft},
                             {ScreenQuad::TopRight, ScreenQuad::BottomRight}};
    for (const auto& edge : edges) {
        ScreenCorner& top = quad.corners[edge[0]];
        ScreenCorner& bottom = quad.corners[edge[1]];
        const float t = top.y;
        const float b = bottom.y;
        const float vt = top.v;
        const float vb = bottom.v;
        top.y = b - f * (b - t);
        top.v = vt + (1.0f - f) * (vb - vt);
        bottom.v = vt + (1.0f - 2.0f * f) * (vb - vt);
    }
}

ComHolder<IDirect3DTexture9> BuildLakeBumpTexture(IDirect3DTexture9* heights, float fade, float amplitude)
{
    UINT width = 0;
    UINT height = 0;
    std::vector<float> h;
    if (!ReadRedChannel(heights, width, height, h))
        return ComHolder<IDirect3DTexture9>();

    // Calm towards the top, where the lake meets the horizon: the heights
    // ease to mid grey by a weight that grows from 0 at the bottom row to
    // fade at the top.
    for (UINT y = 0; y < height; ++y) {
        const float weight =
            std::clamp(fade * (1.0f - (static_cast<float>(y) + 0.5f) / static_cast<float>(height)), 0.0f, 1.0f);
        for (UINT x = 0; x < width; ++x) {
            float& value = h[static_cast<std::size_t>(y) * width + x];
            value = value * (1.0f - weight) + 0.5f * weight;
        }
    }

    // The surface normal's sideways parts: central differences, steeper by
    // amplitude, with the normal's upright part 1 before normalising. The
    // picture tiles across, so columns wrap; the fade makes the rows differ
    // at the top and bottom, so there the difference is one-sided.
    std::vector<float> du(h.size());
    std::vector<float> dv(h.size());
    for (UINT y = 0; y < height; ++y) {
        const UINT up = y == 0 ? 0 : y - 1;
        const UINT down = y + 1 == height ? y : y + 1;
        const float rowSpan = static_cast<float>(down - up);
        for (UINT x = 0; x < width; ++x) {
            const UINT left = x == 0 ? width - 1 : x - 1;
            const UINT right = x + 1 == width ? 0 : x + 1;
            const std::size_t at = static_cast<std::size_t>(y) * width;
            const float sx = -0.5f * amplitude * (h[at + right] - h[at + left]);
            const float sy = rowSpan > 0.0f ? -amplitude *
                                                  (h[static_cast<std::size_t>(down) * width + x] -
                                                   h[static_cast<std::size_t>(up) * width + x]) /
                                                  rowSpan
                                            : 0.0f;
            const float inverseLength = 1.0f / std::sqrt(sx * sx + sy * sy + 1.0f);
            du[at + x] = sx * inverseLength;
            dv[at + x] = sy * inverseLength;
        }
    }

    ComHolder<IDirect3DDevice9> device;
    heights->GetDevice(device.Out());
    ComHolder<IDirect3DTexture9> texture;
    if (FAILED(device->CreateTexture(width, height, 0, 0, D3DFMT_V8U8, D3DPOOL_MANAGED, texture.Out(), nullptr)))
        return ComHolder<IDirect3DTexture9>();
    const DWORD levels = texture->GetLevelCount();
    for (DWORD level = 0; level < levels; ++level) {
        if (level > 0) {
            HalveLevel(width, height, du);
            HalveLevel(width, height, dv);
            width = std::max(1u, width / 2);
            height = std::max(1u, height / 2);
        }
        if (!WriteBumpLevel(texture.Get(), level, width, height, du, dv))
            return ComHolder<IDirect3DTexture9>();
    }
    return texture;
}

FakeLake2D::FakeLake2D() : bumpKey(GuidKey::Fresh())
{
    SetScaled(rippleSpeed, 50, 0.02f, 0.0f);
    SetScaled(bumpTiling, 100, 0.01f, 0.0f);
    // Every value leaves the result below 0.5; from 100 on it is 0 or less.
    SetScaled(lakeFraction, 25, -0.005f, 0.5f);
    SetScaled(bumpFade, 100, 0.01f, 0.0f);
    SetScaled(tintStrength, 31, 0.008f, 0.0f);
    SetScaled(tintFalloff, 58, 0.01f, 0.0f);
    D3DXMatrixIdentity(&bumpMatrix);
}

FakeLake2D::~FakeLake2D() = default;

void FakeLake2D::Read(ArchiveHandle& archive, int32_t version)
{
    if (version >= FirstVersionWithValues) {
        ReadScaledValue(archive, bumpTiling);
        ReadScaledValue(archive, rippleSpeed);
        ReadScaledValue(archive, lakeFraction);
        ReadScaledValue(archive, bumpFade);
        ReadScaledValue(archive, tintStrength);
        ReadScaledValue(archive, tintFalloff);
        uint32_t value = 0;
        archive->ReadUInt(value);
        bumpAmplitude.value = value;
        archive->ReadUInt(value);
        horizonBand.value = value;
        int32_t exponent = 0;
        archive->ReadInt(exponent);
        reflectionSizeExponent.value = exponent;
        archive->ReadUInt(value);
        tintColor.value = value;
    }
    ReadGuid(archive, bumpKey.id);
    archive->ReadString(bumpKey.name);
    bool flag = false;
    archive->ReadBool(flag);
    bumpKey.flag = flag ? 1 : 0;
    ReadLightBase(archive, *this);
}

void FakeLake2D::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    if (CurrentResManager)
        CurrentResManager->GuidTexture(bumpKey) = bumpTexture;
    WriteScaledValue(archive, bumpTiling);
    WriteScaledValue(archive, rippleSpeed);
    WriteScaledValue(archive, lakeFraction);
    WriteScaledValue(archive, bumpFade);
    WriteScaledValue(archive, tintStrength);
    WriteScaledValue(archive, tintFalloff);
    WriteValue(archive, bumpAmplitude.value);
    WriteValue(archive, horizonBand.value);
    int32_t exponent = reflectionSizeExponent.value;
    archive->WriteInt(exponent);
    WriteValue(archive, static_cast<unsigned int>(tintColor.value));
    if (CurrentResManager)
        CurrentResManager->RefreshGuidTextureBytes(bumpKey);
    WriteGuid(archive, bumpKey.id);
    archive->WriteString(bumpKey.name);
    bool flag = bumpKey.flag != 0;
    archive->WriteBool(flag);
    DS_2D_Light::Write(archive);
}

float FakeLake2D::LakeFraction() const
{
    // From value 100 on the result would reach 0 (a division by zero) and
    // then turn the lake upside down: there is no lake then.
    const float f = lakeFraction.result;
    return f > 0.0f ? f : 0.0f;
}

uint32_t FakeLake2D::ReflectionExponent() const
{
    // As large as the document asks, up to what the device's textures hold.
    uint32_t largest = 0;
    D3DCAPS9 caps{};
    if (CurrentDevice && SUCCEEDED(CurrentDevice->GetDeviceCaps(&caps))) {
        const DWORD maxSide = std::min(caps.MaxTextureWidth, caps.MaxTextureHeight);
        while (largest < LargestReflectionExponent && (SmallestReflectionSide << (largest + 1)) <= maxSide)
            ++largest;
    }
    const int n = reflectionSizeExponent.value;
    if (n < 0)
        return 0;
    return std::min(static_cast<uint32_t>(n), largest);
}

D3DCOLOR FakeLake2D::TintColour() const
{
    const unsigned long colorref = tintColor.value;
    const D3DCOLOR red = colorref & 0xFF;
    const D3DCOLOR green = (colorref >> 8) & 0xFF;
    const D3DCOLOR blue = (colorref >> 16) & 0xFF;
    return (red << 16) | (green << 8) | blue;
}

void FakeLake2D::UpdateLakeGeometry()
{
    const float w = static_cast<float>(GetPictureWidth());
    const float h = static_cast<float>(GetPictureHeight());
    const float f = LakeFraction();
    ScreenQuad lake = ScreenQuad::Rectangle(0.0f, 0.0f, w, h);
    ReflectQuad(lake, f);
    const ScreenCorner* const c = lake.corners;

    {
        VertexLock<DX_V::PT2> lock(plane, 6);
        if (lock) {
            const int order[6] = {ScreenQuad::TopLeft,     ScreenQuad::BottomLeft, ScreenQuad::BottomRight,
                                  ScreenQuad::TopLeft,     ScreenQuad::BottomRight, ScreenQuad::TopRight};
            for (int i = 0; i < 6; ++i) {
                DX_V::PT2& vertex = lock.Vertices()[i];
                vertex.x = c[order[i]].x;
                vertex.y = c[order[i]].y;
                vertex.z = 0.0f;
                vertex.u2 = c[order[i]].u;
                vertex.v2 = c[order[i]].v;
            }
        }
    }
    {
        VertexLock<DX_V::PC> lock(tintQuad, 4);
        if (lock)
            WriteCornersPC(lake, tintQuad);
    }

    // The band above the horizon is horizonBand picture pixels high; a lake
    // of no depth (or a picture of no height) has none.
    const float top = c[ScreenQuad::TopLeft].y;
    const float lakeHeight = c[ScreenQuad::BottomRight].y - top;
    float band = 0.0f;
    if (h > 0.0f && f > 0.0f && lakeHeight > 0.0f)
        band = std::trunc(static_cast<float>(horizonBand.value) * (lakeHeight / h) / f);
    const float left = c[ScreenQuad::BottomLeft].x;
    const float right = left + std::trunc(c[ScreenQuad::TopRight].x - left);
    // Upside down in strip order: corners 0 and 2 on the band's upper edge.
    const ScreenQuad bandQuad = ScreenQuad::Rectangle(left, top, right, top - band);
    VertexLock<DX_V::PC> lock(horizonQuad, 4);
    if (lock)
        WriteCornersPC(bandQuad, horizonQuad);
}

void FakeLake2D::OnDeviceCreated()
{
    DS_2D_Light::OnDeviceCreated();
    CreateVertexBufferPT2(6, plane, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED);
    plane.primitiveType = D3DPT_TRIANGLELIST;
    plane.primitiveCount = 2;

    const D3DCOLOR tint = TintColour();
    const ScreenQuad whole = ScreenQuad::FromBackBuffer();
    SetQuadPC(tintQuad, tint, whole);
    SetQuadPC(horizonQuad, tint, whole);
    const float nearAlpha = tintStrength.result;
    const float farAlpha = nearAlpha * (1.0f - tintFalloff.result);
    SetQuadAlphasPC(tintQuad, nearAlpha, nearAlpha, farAlpha, farAlpha);
    SetQuadAlphasPC(horizonQuad, 0.0f, 0.0f, farAlpha, farAlpha);

    // The document's bump texture for the key; without one (or where the
    // document's V8U8 file cannot be read) a texture is built from the
    // program's noise picture, so the lake still ripples.
    bumpTexture.Release();
    if (CurrentResManager)
        bumpTexture = CurrentResManager->GuidTexture(bumpKey);
    if (!bumpTexture && CurrentResourceCache)
        bumpTexture = BuildLakeBumpTexture(CurrentResourceCache->GetResourceTexture(NoiseResource).Get(),
                                           bumpFade.result, static_cast<float>(bumpAmplitude.value));

    OnPictureChanged();

    const float s = bumpTiling.result;
    VertexLock<DX_V::PT2> lock(plane, 6);
    if (lock) {
        const float bump[6][2] = {{BumpInset, BumpInset}, {BumpInset, s}, {s, s},
                                  {BumpInset, BumpInset}, {s, s},         {s, BumpInset}};
        for (int i = 0; i < 6; ++i) {
            lock.Vertices()[i].u = bump[i][0];
            lock.Vertices()[i].v = bump[i][1];
        }
    }
}

void FakeLake2D::OnPictureChanged()
{
    pictureQuad.LoadLinkImage(pictureLink);
    SetSize(layerWidth, layerHeight);
    reflection.MakePowerOfTwoCopy(ReflectionExponent(), pictureQuad.image.texture.Get());
    UpdateLakeGeometry();
}

void FakeLake2D::FrameMove(float time)
{
    camera.FrameMove(time);
    rippleSpeed.AdvanceClock(time);
    const float angle = (rippleSpeed.time * RippleTurnHalf) * RippleTurnRate;
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    bumpMatrix._11 = c * RippleScale;
    bumpMatrix._12 = s * -RippleScale;
    bumpMatrix._21 = s * RippleScale;
    bumpMatrix._22 = c * RippleScale;
}

void FakeLake2D::BindLakeStages()
{
    IDirect3DDevice9* const device = CurrentDevice;
    device->SetTexture(0, bumpTexture.Get());
    SetAddressing(device, 0, D3DTADDRESS_CLAMP);
    SetBumpEnvMatrix(device, 0, bumpMatrix._11, bumpMatrix._12, bumpMatrix._21, bumpMatrix._22);
    BumpEnvMapOnStage(device, 0);
    // A stage whose colour is on must have its alpha on too, or the device
    // refuses the whole set-up.
    SelectTextureKeepAlphaOnStage(device, 1);
    device->SetTexture(1, reflection.image.texture.Get());
}

void FakeLake2D::OnDeviceRestored()
{
    if (CurrentDevice) {
        IDirect3DDevice9* const device = CurrentDevice;
        device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        device->SetRenderState(D3DRS_AMBIENT, 0xFFFFFFFF);
        device->SetRenderState(D3DRS_DITHERENABLE, TRUE);
        device->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        device->SetTransform(D3DTS_WORLD, &identity);

        BindLakeStages();
        for (DWORD sampler = 0; sampler < 2; ++sampler)
            SetLinearFilters(device, sampler);
        SetAddressing(device, 1, D3DTADDRESS_MIRROR);
        device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
        SetColourOperation(device, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        UntransformedTexCoords(device, 1, 1);
        SetColourOperation(device, 1, D3DTOP_SELECTARG1, D3DTA_TEXTURE);
    }
    // The effects of the slide's objects come back after a reset too.
    if (CurrentResManager)
        CurrentResManager->OnResetDevice();
    const D3DSURFACE_DESC backBuffer = GetBackBufferDesc();
    targetPair.Create(backBuffer.Width, backBuffer.Height);
}

void FakeLake2D::DrawBackground(bool)
{
    if (!CurrentDevice || !GlobalSceneView)
        return;
    IDirect3DDevice9* const device = CurrentDevice;
    // Fails harmlessly on a device without a depth buffer.
    device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);

    SetPictureStages(device);
    // The picture, and WORLD := the picture's placement, which the lake's
    // draws keep.
    DS_2D_Light::DrawBackground(false);

    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetVertexShader(nullptr);
    device->SetFVF(DX_V::PT2::FVF);
    device->SetStreamSource(0, plane.vertices.Get(), 0, sizeof(DX_V::PT2));
    for (DWORD sampler = 0; sampler < 2; ++sampler)
        SetLinearFilters(device, sampler, D3DTEXF_NONE);
    if (bumpTexture) {
        // Stage 1 samples the mirrored picture at the second coordinates,
        // displaced by the bump texture sampled at the first.
        BindLakeStages();
        device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
        SetAlphaOperation(device, 0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE);
        device->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 1);
        SetAddressing(device, 1, D3DTADDRESS_MIRROR);
        DisableStage(device, 2);
    } else {
        // Without a bump texture the lake is a still mirror.
        device->SetTexture(0, reflection.image.texture.Get());
        device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 1);
        SetAddressing(device, 0, D3DTADDRESS_MIRROR);
    }
    device->DrawPrimitive(plane.primitiveType, 0, plane.primitiveCount);

    device->SetTexture(1, nullptr);
    SetPictureStages(device);
    DrawQuadPC(tintQuad);
    DrawQuadPC(horizonQuad);
}
