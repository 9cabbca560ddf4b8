#include "scene/layers/DS_GlassBallLight.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/geometry/MeshBuffers.h"
#include "foundation/render/ColouredQuads.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/core/Numeric.h"
#include "foundation/render/SceneView.h"
#include "foundation/render/StageStates.h"
#include "foundation/render/TextureAddressing.h"
#include "foundation/render/TextureFormats.h"
#include "foundation/render/VertexLock.h"
#include "foundation/render/BackBuffer.h"
#include "foundation/resources/DS_DocResManager.h"
#include "foundation/resources/FirstLinkTexture.h"

#include <d3dx9tex.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const wchar_t* const RecordName = L"DS_GlassBallLight";
const int32_t WrittenVersion = 1;

const wchar_t* const ArtModule = L"common_res.dll";
const int32_t Overlay1Resource = 58;
const int32_t Overlay2Resource = 59;
const int32_t ShadowResource = 60;
const int32_t BackgroundResource = 5;

const float MotionSpeedScale = 0.02f;
const float MotionSpeedOffset = 1.0f;
// Phase units per second at speed 1.
const float PhaseRate = 0.0625f;
// Both motions repeat every two phase units, so the phase is kept within
// [0, 2) without changing what they show.
const float PhasePeriod = 2.0f;

const float FieldOfView = Pi / 4.0f;
const float NearPlane = 1.0f;
const float FarPlane = 3000.0f;
// The camera distance of the full-size ball, and the scene units of the
// ball's placement.
const float FullSizeDistance = 600.0f;
const float PlacementUnits = 250.0f;
const float OffsetUnits = 500.0f;

const D3DCOLOR OpaqueBlack = 0xFF000000;

// The hemisphere of the bump map and the disc of the mask.
const int HemisphereCentre = 128;
const int HemisphereRadiusSquared = 128 * 128;
const float SlopeScale = 51200.0f;
const int DiscRadiusSquared = 508 * 508;

const float BumpScaleU = 0.2f;
const float BumpScaleV = 0.25f;

// The ball: a square of 512 scene units about the origin; the shadow: a
// flat band under it, overlapping its lower part.
const DX_V::PT2 BallVertices[4] = {
    {-256.0f, -256.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f},
    {-256.0f, 256.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
    {256.0f, -256.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f},
    {256.0f, 256.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f},
};
const DX_V::PT2 ShadowVertices[4] = {
    {-230.4f, -372.19293f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f},
    {-230.4f, -185.61412f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
    {232.9f, -372.19293f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f},
    {232.9f, -185.61412f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f},
};

// The motion shared by every glass-ball layer of the process.
float sharedPhase = 0.0f;
float sharedPrevious = 0.0f;
bool sharedStarted = false;

// Every quotient of the placement is 0 where the divisor is 0 or the result
// would not be finite: a layer or picture without a size places nothing off
// the centre.
float PlacementQuotient(float a, float b) { return FiniteOr(QuotientOr(a, b, 0.0f), 0.0f); }

// A factor that divides: 1 in place of 0, so that a missing size leaves the
// lens as it is.
float Divisor(float v) { return v != 0.0f && std::isfinite(v) ? v : 1.0f; }

float Hemisphere(int x, int y)
{
    const int dx = x - HemisphereCentre;
    const int dy = y - HemisphereCentre;
    const int d = dx * dx + dy * dy;
    return d <= HemisphereRadiusSquared ? std::sqrt(static_cast<float>(HemisphereRadiusSquared - d)) : 0.0f;
}

int16_t Slope(float rise) { return static_cast<int16_t>(std::atan(rise) * SlopeScale / Pi); }

HRESULT CreateQuadVertices(ComHolder<IDirect3DVertexBuffer9>& buffer, const DX_V::PT2 (&vertices)[4])
{
    const HRESULT hr = CreateVertexBufferInto(buffer, 4, sizeof(DX_V::PT2), DX_V::PT2::FVF, D3DUSAGE_WRITEONLY,
                                              D3DPOOL_MANAGED);
    if (FAILED(hr))
        return hr;
    void* data = nullptr;
    if (SUCCEEDED(buffer->Lock(0, 0, &data, 0)) && data) {
        std::memcpy(data, vertices, sizeof(vertices));
        buffer->Unlock();
    }
    return hr;
}

// A plain textured draw on stage 0 (the background and scroll quads).
void SetPlainStates(IDirect3DDevice9* d)
{
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    d->SetRenderState(D3DRS_LIGHTING, FALSE);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    UntransformedTexCoords(d, 0, 0);
    SelectTextureOnStage0(d);
    DisableStage(d, 1);
}

// Stage 1 reads its texture at the generated coordinates and keeps stage 0's
// alpha. Direct3D leaves a stage undefined whose alpha operation is off
// while its colour operation is on, so both are set.
void EnableStage1(IDirect3DDevice9* d, IDirect3DTexture9* texture)
{
    d->SetTexture(1, texture);
    SelectTextureKeepAlphaOnStage(d, 1);
    DisableStage(d, 2);
}

// Stage 1 out of the cascade, its coordinates back to the layer's default.
void DisableStage1(IDirect3DDevice9* d)
{
    d->SetTexture(1, nullptr);
    DisableStage(d, 1);
}

void SetWrappedLinearSampler(IDirect3DDevice9* d, DWORD sampler)
{
    SetAddressing(d, sampler, D3DTADDRESS_WRAP);
    SetLinearFilters(d, sampler);
}

void SetBumpMatrix(IDirect3DDevice9* d)
{
    SetBumpEnvMatrix(d, 0, BumpScaleU, 0.0f, 0.0f, BumpScaleV);
    // The luminance offset and scale, read only by the luminance form of
    // the bump operation.
    const float zero = 0.0f;
    const float one = 1.0f;
    DWORD bits = 0;
    std::memcpy(&bits, &zero, sizeof bits);
    d->SetTextureStageState(0, D3DTSS_BUMPENVLOFFSET, bits);
    std::memcpy(&bits, &one, sizeof bits);
    d->SetTextureStageState(0, D3DTSS_BUMPENVLSCALE, bits);
}

void DrawStrip(TexturedQuad& quad)
{
    if (!quad.vertices)
        return;
    quad.BindForDraw();
    CurrentDevice->DrawPrimitive(quad.primitiveType, 0, quad.primitiveCount);
}

uint8_t Channel(unsigned long colorref, int shift) { return static_cast<uint8_t>((colorref >> shift) & 0xFFu); }

} // namespace

DS_GlassBallLight::DS_GlassBallLight()
{
    overlayImage1.value = {ArtModule, Overlay1Resource};
    overlayImage2.value = {ArtModule, Overlay2Resource};
    shadowImage.value = {ArtModule, ShadowResource};
    backgroundPicture.value = {ArtModule, BackgroundResource};
    motionSpeed.scale = MotionSpeedScale;
    motionSpeed.offset = MotionSpeedOffset;
    motionSpeed.Recompute();
    background.aspect = 1.0f;
    D3DXMatrixIdentity(&stage1Matrix);
}

DS_GlassBallLight::~DS_GlassBallLight() = default;

void DS_GlassBallLight::ResetSharedMotion()
{
    sharedPhase = 0.0f;
    sharedPrevious = 0.0f;
    sharedStarted = false;
}

float DS_GlassBallLight::SharedMotionPhase() { return sharedPhase; }

void DS_GlassBallLight::Read(ArchiveHandle& archive, int32_t)
{
    ReadFileLink(archive, overlayImage1);
    ReadFileLink(archive, overlayImage2);
    ReadFileLink(archive, shadowImage);
    ReadFileLink(archive, backgroundPicture);
    uint32_t speed = 0;
    archive->ReadUInt(speed);
    motionSpeed.SetValue(speed, nullptr);
    archive->ReadPoint(position.value);
    archive->ReadUInt(size.value);
    archive->ReadUInt(depth.value);
    archive->ReadInt(overlaySwitch1.value);
    archive->ReadInt(overlaySwitch2.value);
    archive->ReadInt(shadowSwitch.value);
    archive->ReadInt(pictureBackgroundSwitch.value);
    archive->ReadInt(motionMode.value);
    int32_t colour = 0;
    archive->ReadInt(colour);
    topColour.value = static_cast<uint32_t>(colour);
    archive->ReadInt(colour);
    bottomColour.value = static_cast<uint32_t>(colour);
    ReadLightBase(archive, *this);
}

void DS_GlassBallLight::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    for (DS_ImageFileLink* link : {&overlayImage1, &overlayImage2, &shadowImage, &backgroundPicture}) {
        if (CurrentResManager)
            CurrentResManager->StoreImageLink(*link);
        WriteFileLink(*link, archive);
    }
    archive->WriteUInt(motionSpeed.value);
    POINT point = position.value;
    archive->WritePoint(point);
    archive->WriteUInt(size.value);
    archive->WriteUInt(depth.value);
    archive->WriteInt(overlaySwitch1.value);
    archive->WriteInt(overlaySwitch2.value);
    archive->WriteInt(shadowSwitch.value);
    archive->WriteInt(pictureBackgroundSwitch.value);
    archive->WriteInt(motionMode.value);
    int32_t colour = static_cast<int32_t>(topColour.value);
    archive->WriteInt(colour);
    colour = static_cast<int32_t>(bottomColour.value);
    archive->WriteInt(colour);
    DS_2D_Light::Write(archive);
}

int DS_GlassBallLight::BackgroundModeFor(int mode) const
{
    return pictureBackgroundSwitch.value == 1 ? mode : SceneView::Fill;
}

void DS_GlassBallLight::PushViewSize(const D3DSURFACE_DESC& surface, int mode)
{
    const int viewMode = GlobalSceneView ? GlobalSceneView->mode : pushedMode;
    insidePush = true;
    savedBackgroundMode = backgroundMode;
    backgroundMode = BackgroundModeFor(mode);
    SetSize(layerWidth, layerHeight);
    savedWidth = layerWidth;
    savedHeight = layerHeight;
    SetSize(static_cast<int>(surface.Width), static_cast<int>(surface.Height));
    DS_2D_Light::PushViewSize(surface, mode);
    // The sizing above already moved the layer to the surface and the view
    // to Fit: keep the layer's own size and the view's mode for the pop.
    sizeStack.back() = {savedWidth, savedHeight};
    pushedMode = viewMode;
}

void DS_GlassBallLight::PopViewSize()
{
    if (!insidePush)
        return;
    insidePush = false;
    SetSize(savedWidth, savedHeight);
    backgroundMode = pictureBackgroundSwitch.value == 1 ? savedBackgroundMode : SceneView::Fill;
    SetSize(layerWidth, layerHeight);
    DS_2D_Light::PopViewSize();
}

void DS_GlassBallLight::SetPicturePosition(int mode)
{
    backgroundMode = BackgroundModeFor(mode);
    SetSize(layerWidth, layerHeight);
}

void DS_GlassBallLight::DrawBackground(bool) { DS_2D_Light::DrawBackground(false); }

void DS_GlassBallLight::ComputeLens()
{
    const float u = static_cast<float>(size.value);
    const float e = static_cast<float>(depth.value);
    k0 = -FullSizeDistance / (0.75f * u / 100.0f + 0.25f) / Divisor(scaleB * coverC);
    k1 = ((u * coverC * scaleB / 100.0f) * 1.105f + 0.385f) * 1.05f * (0.5f * e / 100.0f + 1.0f);
    k3 = 0.125f + 0.5f * e * 0.125f / 100.0f;
}

uint32_t DS_GlassBallLight::BumpTexel(int x, int y)
{
    int16_t u = 0;
    int16_t v = 0;
    // The last column has no right neighbour: it counts as level.
    if (x < BumpMapSide - 1) {
        const float h = Hemisphere(x, y);
        u = Slope(h - Hemisphere(x + 1, y));
        v = Slope(h - Hemisphere(x, y + 1));
    }
    return static_cast<uint16_t>(u) | (static_cast<uint32_t>(static_cast<uint16_t>(v)) << 16);
}

void DS_GlassBallLight::CreateBumpMap()
{
    bumpMap.Release();
    // Devices without 16-bit slopes take 8-bit ones: the same bend at a
    // coarser step.
    const D3DFORMAT formats[] = {D3DFMT_V16U16, D3DFMT_V8U8};
    const D3DFORMAT format = FirstSupportedBumpMapFormat(formats, 2);
    if (format == D3DFMT_UNKNOWN ||
        FAILED(CurrentDevice->CreateTexture(BumpMapSide, BumpMapSide, 1, 0, format, D3DPOOL_MANAGED, bumpMap.Out(),
                                            nullptr)))
        return;
    D3DLOCKED_RECT locked{};
    if (FAILED(bumpMap->LockRect(0, &locked, nullptr, 0)))
        return;
    for (int y = 0; y < BumpMapSide; ++y) {
        uint8_t* row = static_cast<uint8_t*>(locked.pBits) + static_cast<std::ptrdiff_t>(y) * locked.Pitch;
        for (int x = 0; x < BumpMapSide; ++x) {
            const uint32_t texel = BumpTexel(x, y);
            if (format == D3DFMT_V16U16) {
                std::memcpy(row + 4 * x, &texel, 4);
            } else {
                const int8_t u = static_cast<int8_t>(static_cast<int16_t>(texel & 0xFFFF) / 256);
                const int8_t v = static_cast<int8_t>(static_cast<int16_t>(texel >> 16) / 256);
                row[2 * x] = static_cast<uint8_t>(u);
                row[2 * x + 1] = static_cast<uint8_t>(v);
            }
        }
    }
    bumpMap->UnlockRect(0);
}

void DS_GlassBallLight::CreateDiscMask()
{
    discMask.Release();
    // Without an alpha-only format the mask keeps its alpha in a 32-bit
    // texture; its colour is never shown.
    const D3DFORMAT format = SupportsTextureFormat(D3DFMT_A8) ? D3DFMT_A8 : D3DFMT_A8R8G8B8;
    if (FAILED(CurrentDevice->CreateTexture(DiscMaskSide, DiscMaskSide, 1, 0, format, D3DPOOL_MANAGED,
                                            discMask.Out(), nullptr)))
        return;
    D3DLOCKED_RECT locked{};
    if (FAILED(discMask->LockRect(0, &locked, nullptr, 0)))
        return;
    const int half = DiscMaskSide / 2;
    for (int y = 0; y < DiscMaskSide; ++y) {
        uint8_t* row = static_cast<uint8_t*>(locked.pBits) + static_cast<std::ptrdiff_t>(y) * locked.Pitch;
        const int dy = y - half;
        for (int x = 0; x < DiscMaskSide; ++x) {
            const int dx = x - half;
            const uint8_t alpha = dx * dx + dy * dy <= DiscRadiusSquared ? 0 : 255;
            if (format == D3DFMT_A8) {
                row[x] = alpha;
            } else {
                const uint32_t texel = static_cast<uint32_t>(alpha) << 24;
                std::memcpy(row + 4 * x, &texel, 4);
            }
        }
    }
    discMask->UnlockRect(0);
}

uint8_t DS_GlassBallLight::GradientChannel(uint8_t top, uint8_t bottom, unsigned int y)
{
    const float c0 = top;
    const float c1 = bottom;
    // The difference times the row is a whole number, held exactly; dividing
    // it last keeps rows that land on a whole step from falling short of it.
    return static_cast<uint8_t>(std::trunc(c0 + (c1 - c0) * static_cast<float>(y) / 255.0f));
}

void DS_GlassBallLight::FillGradient()
{
    gradient.Release();
    if (FAILED(D3DXCreateTexture(CurrentDevice, GradientSide, GradientSide, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                 gradient.Out())))
        return;
    const unsigned long top = topColour.value;
    const unsigned long bottom = bottomColour.value;
    // Every level holds the same rows, each level's row taken at its centre.
    for (DWORD level = 0; level < gradient->GetLevelCount(); ++level) {
        D3DSURFACE_DESC desc{};
        D3DLOCKED_RECT locked{};
        if (FAILED(gradient->GetLevelDesc(level, &desc)) || FAILED(gradient->LockRect(level, &locked, nullptr, 0)))
            continue;
        const UINT step = GradientSide / std::max(desc.Height, 1u);
        for (UINT y = 0; y < desc.Height; ++y) {
            uint32_t texel = 0;
            for (int shift : {0, 8, 16}) {
                const uint32_t c = GradientChannel(Channel(top, shift), Channel(bottom, shift), y * step + step / 2);
                // COLORREF byte order (red first) into 0x00RRGGBB.
                texel |= c << (16 - shift);
            }
            uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) +
                                                        static_cast<std::ptrdiff_t>(y) * locked.Pitch);
            std::fill(row, row + desc.Width, texel);
        }
        gradient->UnlockRect(level);
    }
}

void DS_GlassBallLight::OnDeviceCreated()
{
    DS_2D_Light::OnDeviceCreated();
    if (!CurrentDevice)
        return;

    // Without a document the overlays keep the textures they hold.
    if (CurrentResManager) {
        overlay1 = GetFirstLinkTexture(overlayImage1).texture;
        overlay2 = GetFirstLinkTexture(overlayImage2).texture;
        shadow = GetFirstLinkTexture(shadowImage).texture;
    }
    CreateBumpMap();
    FillGradient();
    CreateDiscMask();

    const ScreenQuad whole = ScreenQuad::FromBackBuffer();
    backgroundQuad.SetTexture(gradient.Get(), whole);
    for (TexturedQuad& quad : scrollQuads)
        quad.LoadDefaultImage(whole);
    for (DS_SimpleMesh<DX_V::SPC>& border : borderQuads)
        SetQuadSPC(border, OpaqueBlack, whole);
    // A buffer that cannot be made leaves its passes without a quad; the
    // background is set up all the same.
    CreateQuadVertices(ballQuad, BallVertices);
    CreateQuadVertices(shadowQuad, ShadowVertices);

    background = GetFirstLinkTexture(backgroundPicture);
    if (pictureBackgroundSwitch.value == 1) {
        backgroundQuad.SetTexture(background.texture.Get(), whole);
        backgroundMode = SceneView::Fit;
    } else {
        backgroundMode = SceneView::Fill;
    }
    SetSize(layerWidth, layerHeight);
}

void DS_GlassBallLight::OnDeviceRestored()
{
    DS_2D_Light::OnDeviceRestored();
    if (!CurrentDevice)
        return;
    IDirect3DDevice9* d = CurrentDevice;
    SetWrappedLinearSampler(d, 1);
    SetLinearFilters(d, 0, D3DTEXF_LINEAR);
    SetBumpMatrix(d);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    // Stage 1 stays off here: the picture and the slide's objects are drawn
    // before the ball, and a stage 1 left on would replace their colours.
    // The ball's passes switch it on and off themselves.
}

void DS_GlassBallLight::OnDeviceInvalidated()
{
    DS_2D_Light::OnDeviceInvalidated();
    for (TexturedQuad& quad : scrollQuads)
        quad.texture.Release();
}

void DS_GlassBallLight::SetSize(int w, int h)
{
    DS_2D_Light::SetSize(w, h);
    if (GlobalSceneView)
        GlobalSceneView->Setup(w, h, background, backgroundMode, false);
    ComputeLens();

    ScreenQuad fitted;
    fitted.FitImage(background, w, h);
    if (!insidePush)
        fitted.ScaleToBackBuffer(w, h);
    const float left = fitted.Left();
    const float top = fitted.Top();
    const float backgroundW = static_cast<float>(background.width);
    const float backgroundH = static_cast<float>(background.height);
    if (GlobalSceneView) {
        const SceneView& view = *GlobalSceneView;
        const D3DXMATRIX p = view.camera * view.fillOffset * view.fillScale;
        scaleB = p._11;
        scaleB2 = p._22;
        offsetE = PlacementQuotient(p._41 * (fitted.Right() - left), backgroundW);
        offsetF = PlacementQuotient(p._42 * (fitted.Bottom() - top), backgroundH);
    }

    // The background follows the camera's pan and zoom like a picture.
    ScreenQuad moved = fitted;
    for (ScreenCorner& corner : moved.corners) {
        corner.x = left + scaleB * (corner.x - left) + offsetE;
        corner.y = top + scaleB2 * (corner.y - top) + offsetF;
    }
    backgroundQuad.SetCorners(moved);

    PlaceBorders(fitted);
    ComputeLens();
    if (GlobalSceneView)
        GlobalSceneView->Setup(w, h, background, SceneView::Fit, false);
}

void DS_GlassBallLight::PlaceBorders(const ScreenQuad& fitted)
{
    const float l = fitted.Left();
    const float r = fitted.Right();
    const float t = fitted.Top();
    const float b = fitted.Bottom();
    const float ws = scaleB * r - scaleB * l;
    const float hs = scaleB2 * b - scaleB2 * t;
    coverG = PlacementQuotient(ws, ws + 2.0f * (std::trunc(scaleB * l) + 1.0f));
    coverC = PlacementQuotient(hs, hs + 2.0f * (std::trunc(scaleB2 * t) + 1.0f));

    float sx = 1.0f;
    float sy = 1.0f;
    float ox = 0.0f;
    float oy = 0.0f;
    if (GlobalSceneView) {
        sx = GlobalSceneView->inverseFillX;
        sy = GlobalSceneView->inverseFillY;
        ox = GlobalSceneView->offsetX;
        oy = GlobalSceneView->offsetY;
    }
    const float ex = PlacementQuotient(ws * ox * sx, static_cast<float>(background.width));
    const float fy = PlacementQuotient(hs * oy * sy, static_cast<float>(background.height));
    const float xl = l + ex;
    const float xr = l + sx * (r - l) + ex;
    const float yt = t + fy;
    const float yb = t + sy * (b - t) + fy;

    const float sideW = std::trunc(xl) + 1.0f;
    const float sideH = std::trunc(yb - yt);
    const float bandW = std::trunc(xr - xl);
    const float bandH = std::trunc(yt) + 1.0f;
    const ScreenQuad placed[4] = {
        ScreenQuad::Rectangle(0.0f, 0.0f, sideW, sideH),
        ScreenQuad::Rectangle(xr, 0.0f, sideW + xr, sideH),
        ScreenQuad::Rectangle(0.0f, 0.0f, bandW, bandH),
        ScreenQuad::Rectangle(0.0f, yb, bandW, bandH + yb),
    };
    for (int i = 0; i < 4; ++i) {
        VertexLock<DX_V::SPC> lock(borderQuads[i], 4);
        if (lock)
            WriteCornersSPC(placed[i], borderQuads[i]);
    }
}

void DS_GlassBallLight::FrameMove(float t)
{
    camera.FrameMove(t);
    SetSize(layerWidth, layerHeight);
    if (motionMode.value == Still) {
        sway = 0.0f;
        return;
    }
    if (!sharedStarted) {
        sharedPrevious = t;
        sharedStarted = true;
    }
    const float phase = sharedPhase + (t - sharedPrevious) * motionSpeed.result * PhaseRate;
    sharedPhase = std::isfinite(phase) ? phase - PhasePeriod * std::floor(phase / PhasePeriod) : 0.0f;

    if (motionMode.value == ScrollOneWay || motionMode.value == ScrollOtherWay) {
        sway = 0.0f;
        const float o = (motionMode.value == ScrollOneWay ? -0.5f : 0.5f) * sharedPhase;
        const float f = o - std::floor(o);
        const D3DSURFACE_DESC backBuffer = GetBackBufferDesc();
        const float w = static_cast<float>(backBuffer.Width);
        const float h = static_cast<float>(backBuffer.Height);
        scrollQuads[0].SetCorners(ScreenQuad::Rectangle(f * w, 0.0f, f * w + w, h));
        scrollQuads[1].SetCorners(ScreenQuad::Rectangle(f * w - w, 0.0f, f * w, h));
    } else if (motionMode.value == Sway) {
        const float v = 0.5f * sharedPhase;
        const float g = 2.0f * (v - std::floor(v)) - 1.0f;
        sway = 2.0f * std::fabs(g) - 1.0f;
    }
    sharedPrevious = t;
}

void DS_GlassBallLight::BallViewSize(float& w, float& h) const
{
    if (insidePush) {
        w = static_cast<float>(layerWidth);
        h = static_cast<float>(layerHeight);
        return;
    }
    const D3DSURFACE_DESC backBuffer = GetBackBufferDesc();
    w = static_cast<float>(backBuffer.Width);
    h = static_cast<float>(backBuffer.Height);
}

void DS_GlassBallLight::SetUpBall(bool bumpPass)
{
    IDirect3DDevice9* d = CurrentDevice;
    float w = 0.0f;
    float h = 0.0f;
    BallViewSize(w, h);
    const float layerW = static_cast<float>(layerWidth);
    const float layerH = static_cast<float>(layerHeight);

    const float px = static_cast<float>(position.value.x);
    const float py = static_cast<float>(position.value.y);
    const float t1 =
        ((px + PlacementUnits) * scaleB - PlacementUnits) + PlacementQuotient(OffsetUnits * offsetE, w * coverG);
    float xw = -k0 * t1 / FullSizeDistance;
    const float t2 =
        ((py + PlacementUnits) * scaleB2 - PlacementUnits) + PlacementQuotient(OffsetUnits * offsetF, h * coverC);
    float yw = k0 * t2 / FullSizeDistance;
    if (pictureBackgroundSwitch.value == 1) {
        yw = coverC * yw;
        xw = coverG * Divisor(PlacementQuotient(layerW, layerH)) * xw;
    }

    D3DXMATRIX world;
    D3DXMatrixTranslation(&world, xw, yw, 0.0f);
    D3DXMATRIX view;
    const D3DXVECTOR3 eye(0.0f, 0.0f, k0);
    const D3DXVECTOR3 at(0.0f, 0.0f, 0.0f);
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, FieldOfView, Divisor(PlacementQuotient(layerW, layerH)), NearPlane,
                               FarPlane);
    d->SetTransform(D3DTS_WORLD, &world);
    d->SetTransform(D3DTS_VIEW, &view);
    d->SetTransform(D3DTS_PROJECTION, &projection);

    const float pictureW = static_cast<float>(GetPictureWidth());
    const float pictureH = static_cast<float>(GetPictureHeight());
    float u = 0.0f;
    float v = 0.0f;
    if (bumpPass) {
        const float s = 1.5f - 0.01f * static_cast<float>(depth.value / 2);
        // The picture's proportions in whole numbers, as landscape pictures
        // have always been placed; a portrait picture, whose whole part is 0,
        // keeps its fraction.
        const int width = GetPictureWidth();
        const int height = GetPictureHeight();
        float q = height > 0 ? static_cast<float>(width / height) : 1.0f;
        if (q == 0.0f)
            q = Divisor(PlacementQuotient(pictureW, pictureH));
        u = k3 * sway - PlacementQuotient(s * xw, w * q);
        v = PlacementQuotient(s * yw, h);
    }

    const float a2 = !bumpPass && pictureBackgroundSwitch.value != 0
                         ? PlacementQuotient(static_cast<float>(background.width), static_cast<float>(background.height))
                         : PlacementQuotient(pictureW, pictureH);
    D3DXMATRIX p2;
    D3DXMatrixPerspectiveFovLH(&p2, FieldOfView, Divisor(a2), NearPlane, FarPlane);
    const float distance = std::fabs(k0) * (bumpPass ? k1 : coverC);
    const float wPrime = Divisor(p2._33 * distance + p2._34);

    D3DXMatrixIdentity(&stage1Matrix);
    stage1Matrix._11 = 0.5f * p2._11 / wPrime;
    stage1Matrix._22 = -0.5f * p2._22 / wPrime;
    stage1Matrix._41 = (u - std::floor(u)) + 0.5f;
    stage1Matrix._42 = v + 0.5f;
    d->SetTransform(D3DTS_TEXTURE1, &stage1Matrix);
    d->SetTextureStageState(1, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
    d->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACEPOSITION | 1);
}

void DS_GlassBallLight::DrawBallQuad(IDirect3DVertexBuffer9* quad)
{
    if (!quad)
        return;
    CurrentDevice->SetVertexShader(nullptr);
    CurrentDevice->SetFVF(DX_V::PT2::FVF);
    CurrentDevice->SetStreamSource(0, quad, 0, sizeof(DX_V::PT2));
    CurrentDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
}

void DS_GlassBallLight::FinishFrame()
{
    if (!CurrentDevice)
        return;
    IDirect3DDevice9* d = CurrentDevice;
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);

    if (motionMode.value == ScrollOneWay || motionMode.value == ScrollOtherWay) {
        // Two side-by-side copies of the scene so far, into the pair's other
        // texture: the scene scrolls and wraps round.
        const ComHolder<IDirect3DTexture9> scene = targetPair.Flip();
        SetPlainStates(d);
        for (TexturedQuad& quad : scrollQuads) {
            quad.texture = scene.Get();
            DrawStrip(quad);
        }
    }
    const ComHolder<IDirect3DTexture9> captured = EndSceneCapture(false).current;

    SetPlainStates(d);
    DrawStrip(backgroundQuad);

    // The ball: the scene seen through the hemisphere's slopes.
    d->SetRenderState(D3DRS_LIGHTING, FALSE);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    SetUpBall(true);
    d->SetTexture(0, bumpMap.Get());
    SetBumpMatrix(d);
    // The mip filter stays the restore's LINEAR: the bump map has a single
    // level, and the backdrop and overlays drawn through sampler 0 after it
    // use their mip chains.
    SetLinearFilters(d, 0);
    BumpEnvMapOnStage(d, 0);
    SetAlphaOperation(d, 0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE);
    SetWrappedLinearSampler(d, 1);
    // The capture is as large as the screen: wrapped only on a device that
    // can wrap such a texture.
    const D3DTEXTUREADDRESS sceneAddressing = UsableAddressing(captured.Get(), D3DTADDRESS_WRAP);
    SetAddressing(d, 1, sceneAddressing);
    EnableStage1(d, captured.Get());
    DrawBallQuad(ballQuad.Get());
    SetWrappedLinearSampler(d, 1);

    // Overlays, blended by their own alpha.
    SetUpBall(false);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    SetColourOperation(d, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    SetAlphaOperation(d, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE);
    DisableStage1(d);
    if (overlaySwitch1.value != 0) {
        d->SetTexture(0, overlay1.Get());
        DrawBallQuad(ballQuad.Get());
    }
    if (overlaySwitch2.value != 0) {
        d->SetTexture(0, overlay2.Get());
        DrawBallQuad(ballQuad.Get());
    }

    // The background again outside the disc, so the square shows as a ball.
    float w = 0.0f;
    float h = 0.0f;
    BallViewSize(w, h);
    stage1Matrix._11 = PlacementQuotient(stage1Matrix._11, scaleB);
    stage1Matrix._22 = PlacementQuotient(stage1Matrix._22, scaleB2);
    stage1Matrix._41 =
        PlacementQuotient(stage1Matrix._41 - PlacementQuotient(PlacementQuotient(offsetE, w), coverG), scaleB);
    stage1Matrix._42 =
        PlacementQuotient(stage1Matrix._42 - PlacementQuotient(PlacementQuotient(offsetF, h), coverC), scaleB2);
    d->SetTransform(D3DTS_TEXTURE1, &stage1Matrix);
    d->SetTexture(0, discMask.Get());
    EnableStage1(d, backgroundQuad.texture.Get());
    DrawBallQuad(ballQuad.Get());

    DisableStage1(d);
    if (shadowSwitch.value != 0) {
        d->SetTexture(0, shadow.Get());
        DrawBallQuad(shadowQuad.Get());
    }
    d->SetTexture(0, nullptr);
    UntransformedTexCoords(d, 1, 1);

    if (pictureBackgroundSwitch.value == 1 && backgroundMode == SceneView::Fit)
        for (const DS_SimpleMesh<DX_V::SPC>& border : borderQuads)
            if (border.vertices)
                DrawOverlayQuad(border);
}
