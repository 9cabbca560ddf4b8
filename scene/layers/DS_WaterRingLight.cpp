#include "scene/layers/DS_WaterRingLight.h"

#include "foundation/core/Numeric.h"
#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/render/SceneView.h"
#include "foundation/render/SpecularProbe.h"
#include "foundation/render/StageStates.h"
#include "foundation/render/TextureAddressing.h"
#include "foundation/render/BackBuffer.h"
#include "foundation/resources/DS_DocResManager.h"

namespace {

const wchar_t* const RecordName = L"DS_WaterRingLight";
const int32_t WrittenVersion = 2;
const int32_t FirstVersionWithSettings = 2;

const int SceneMode = 1;

const float DropRateScale = 1.0f / 60.0f;
const unsigned int DefaultDropRate = 30; // 0.5 drops per second
const float ShineScale = 0.01f;
const unsigned int DefaultShine = 90;
const float ShinePowerScale = 0.79999995f;
const unsigned int DefaultShinePower = 50; // power 40

// The surface is GridHeight units high and as wide as the picture's
// proportions make it; the camera looks straight down on it from CameraHeight.
const float GridHeight = 30.0f;
const float HalfGrid = GridHeight * 0.5f;
const float CameraHeight = 120.0f;
const float NearPlane = -1.0f;
const float FarPlane = 2000.0f;

const D3DCOLOR OpaqueBlack = 0xFF000000;

void WriteValue(ArchiveHandle& archive, unsigned int value)
{
    uint32_t stored = value;
    archive->WriteUInt(stored);
}

D3DXMATRIX Identity()
{
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    return m;
}

// Fixed-function state of the lit water: one directional light, highlights,
// Gouraud shading, the texture as it stands on stage 0, no blending, no depth.
void SetWaterStates(IDirect3DDevice9* device, bool specularAfterStages)
{
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
    device->SetRenderState(D3DRS_COLORVERTEX, TRUE);
    device->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
    device->SetRenderState(D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL);
    device->SetRenderState(D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL);
    device->SetRenderState(D3DRS_SPECULARMATERIALSOURCE, D3DMCS_MATERIAL);
    // Highlights seen from the camera's position: the water's view looks
    // down its negative z axis, which a distant viewer would face away from.
    device->SetRenderState(D3DRS_LOCALVIEWER, TRUE);
    // The view holds the camera's zoom and the fill's scale, which scale the
    // normals with it: unnormalised, the highlights would grow and fade with
    // the zoom on every device.
    device->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE);
    device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);

    SetLinearFilters(device, 0, D3DTEXF_NONE);

    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    // The texture as it stands; the fixed-function pipeline adds the
    // highlights after the stages. A device that adds them only to a stage
    // that reads the diffuse colour (Wine's) gets the texture plus the lit
    // diffuse colour, which is black here (black material, black vertex
    // colours, no ambient): the same picture.
    if (specularAfterStages)
        SetColourOperation(device, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT);
    else
        SetColourOperation(device, 0, D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    SetAlphaOperation(device, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT);
    DisableStage(device, 1);
}

// What the scene's other draws expect: no lighting, stage 0 selecting the
// texture as the layer's defaults have it, no texture bound (the scene's
// capture lives in the default pool).
void EndWaterStates(IDirect3DDevice9* device)
{
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
    device->SetRenderState(D3DRS_NORMALIZENORMALS, FALSE);
    SetColourOperation(device, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    device->SetTexture(0, nullptr);
}

// The picture as a plain textured quad, whatever the water left.
void SetPictureStates(IDirect3DDevice9* device)
{
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
    SelectTextureOnStage0(device);
    DisableStage(device, 1);
}

} // namespace

float WaterDampingFromSetting(unsigned int value)
{
    if (value < 50)
        return 0.9f + static_cast<float>(value) * 0.09f * 0.02f;
    return 0.99f + static_cast<float>(value - 50) * 0.009f * 0.02f;
}

DS_WaterRingLight::DS_WaterRingLight()
    : grid(std::make_unique<WaterGrid>()), worldMatrix(Identity()), viewMatrix(Identity()),
      cameraMatrix(Identity()), projectionMatrix(Identity())
{
    SetScaled(dropRate, DefaultDropRate, DropRateScale, 0.0f);
    SetScaled(shine, DefaultShine, ShineScale, 0.0f);
    SetScaled(shinePower, DefaultShinePower, ShinePowerScale, 0.0f);
}

DS_WaterRingLight::~DS_WaterRingLight() = default;

void DS_WaterRingLight::Read(ArchiveHandle& archive, int32_t version)
{
    if (version >= FirstVersionWithSettings) {
        for (MediaParamT<unsigned int>* setting :
             {&waveSpeed, &rowDensity, &columnDensity, &dropStrength, &damping, &refractionDepth}) {
            uint32_t value = 0;
            archive->ReadUInt(value);
            setting->value = value;
        }
        ReadScaledValue(archive, dropRate);
        ReadScaledValue(archive, shine);
        ReadScaledValue(archive, shinePower);
    }
    long storedMode = 0;
    archive->ReadLong(storedMode);
    mode.value = static_cast<int>(storedMode);
    ReadLightBase(archive, *this);
}

void DS_WaterRingLight::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    for (const MediaParamT<unsigned int>* setting :
         {&waveSpeed, &rowDensity, &columnDensity, &dropStrength, &damping, &refractionDepth})
        WriteValue(archive, setting->value);
    WriteScaledValue(archive, dropRate);
    WriteScaledValue(archive, shine);
    WriteScaledValue(archive, shinePower);
    long storedMode = mode.value;
    archive->WriteLong(storedMode);
    DS_2D_Light::Write(archive);
}

void DS_WaterRingLight::DrawHighlight(DS_SimpleMesh<DX_V::SPC>& quad, int style, bool flag)
{
    if (CurrentDevice)
        CurrentDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
    DS_2D_Light::DrawHighlight(quad, style, flag);
}

void DS_WaterRingLight::DrawMeshPart(const MeshPart& part)
{
    if (CurrentDevice)
        CurrentDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
    DS_2D_Light::DrawMeshPart(part);
}

void DS_WaterRingLight::DrawSpriteArray(const SpriteArrayDrawable& sprites)
{
    if (CurrentDevice)
        CurrentDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
    DS_2D_Light::DrawSpriteArray(sprites);
}

void DS_WaterRingLight::DrawFrameChildren(const TexturedMesh<DX_V::PNT>& mesh)
{
    if (CurrentDevice)
        CurrentDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
    DS_2D_Light::DrawFrameChildren(mesh);
}

void DS_WaterRingLight::OnDeviceCreated()
{
    DS_2D_Light::OnDeviceCreated();
    grid->BuildRefractionTable();

    // Looking straight down the y axis from above the surface.
    D3DXMatrixRotationX(&cameraMatrix, -Pi / 2.0f);
    cameraMatrix._41 = 0.0f;
    cameraMatrix._42 = CameraHeight;
    cameraMatrix._43 = 0.0f;
    D3DXMatrixInverse(&viewMatrix, nullptr, &cameraMatrix);

    grid->stepScale = 1.0f + 0.02f * static_cast<float>(waveSpeed.value);
    grid->dropStrength = 0.01f * static_cast<float>(dropStrength.value) * 0.7f + 0.1f;
    grid->damping = WaterDampingFromSetting(damping.value);
    grid->refractionDepth = 0.01f * static_cast<float>(refractionDepth.value);

    ResizeGrid();
    ApplyMaterial();
}

void DS_WaterRingLight::OnDeviceRestored()
{
    if (CurrentDevice) {
        IDirect3DDevice9* const device = CurrentDevice;
        // First, since it sets states of its own that the restore then sets.
        specularAfterStages = DeviceAddsSpecularAfterStages();
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);

        D3DLIGHT9 light{};
        light.Type = D3DLIGHT_DIRECTIONAL;
        light.Diffuse = lightColour;
        light.Specular = D3DXCOLOR(1.0f, 1.0f, 1.0f, 0.0f);
        light.Direction = lightDirection;
        device->SetLight(0, &light);
        device->LightEnable(0, TRUE);
        ApplyMaterial();

        device->SetFVF(D3DFVF_XYZ);
        device->SetTransform(D3DTS_VIEW, &viewMatrix);
        device->SetTransform(D3DTS_WORLD, &worldMatrix);
        device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
        device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
        // Lighting stays off between the water's own draws.
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        device->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
        for (DWORD stage = 0; stage < 2; ++stage) {
            const D3DTEXTUREOP op = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
            SetColourOperation(device, stage, op, D3DTA_TEXTURE, D3DTA_CURRENT);
            SetAlphaOperation(device, stage, op, D3DTA_TEXTURE, D3DTA_CURRENT);
            device->SetTextureStageState(stage, D3DTSS_TEXCOORDINDEX, 0);
        }
        SetLinearFilters(device, 0);
        SetAddressing(device, 0, D3DTADDRESS_MIRROR);
    }
    // The effects of the slide's objects come back after a reset too.
    if (CurrentResManager)
        CurrentResManager->OnResetDevice();

    ResizeGrid();
    SetSize(storedWidth, storedHeight);
    const D3DSURFACE_DESC backBuffer = GetBackBufferDesc();
    targetPair.Create(backBuffer.Width, backBuffer.Height);
}

void DS_WaterRingLight::OnDeviceInvalidated()
{
    DS_2D_Light::OnDeviceInvalidated();
    grid->ReleaseBuffers();
}

void DS_WaterRingLight::FinishFrame()
{
    if (mode.value == SceneMode) {
        RenderTargetPair& pair = EndSceneCapture(true);
        DrawWaterMesh(pair.current.Get());
    }
    if (GlobalSceneView)
        GlobalSceneView->DrawBorders();
}

void DS_WaterRingLight::DrawBackground(bool)
{
    if (mode.value == SceneMode) {
        if (CurrentDevice)
            SetPictureStates(CurrentDevice);
        DS_2D_Light::DrawBackground(false);
        return;
    }
    DrawWaterMesh(pictureQuad.texture.Get());
}

void DS_WaterRingLight::FrameMove(float time)
{
    camera.FrameMove(time);
    // A clock that went back restarts the interval.
    if (time < lastDropTime)
        lastDropTime = time;
    // At most one timed drop per frame; a rate of 0 gives none.
    if (dropRate.result > 0.0f && time - lastDropTime > 1.0f / dropRate.result) {
        grid->AddRandomDrop();
        lastDropTime = time;
    }
    grid->Step(D3DXVECTOR3(cameraMatrix._41, cameraMatrix._42, cameraMatrix._43));
}

void DS_WaterRingLight::SetSize(int width, int height)
{
    storedWidth = width;
    storedHeight = height;
    if (width == 0 || height == 0)
        return;
    DS_2D_Light::SetSize(width, height);

    // The surface (GridHeight / c wide, GridHeight high) fills the screen's
    // height or its width, whichever it meets first.
    const float d = static_cast<float>(width) / static_cast<float>(height);
    const float c = PictureAspect();
    float f = 0.0f;
    float e = 0.0f;
    if (c * d > 1.0f) {
        f = HalfGrid * d;
        e = HalfGrid;
    } else {
        f = HalfGrid / c;
        e = f / d;
    }
    D3DXMatrixOrthoOffCenterRH(&projectionMatrix, -f, f, -e, e, NearPlane, FarPlane);
}

void DS_WaterRingLight::SetPicturePosition(int newMode)
{
    DS_2D_Light::SetPicturePosition(newMode);
    SetSize(storedWidth, storedHeight);
}

void DS_WaterRingLight::DrawOverlayQuad(const DS_SimpleMesh<DX_V::SPC>& quad)
{
    DS_2D_Light::DrawOverlayQuad(quad);
    if (CurrentDevice)
        CurrentDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
}

bool DS_WaterRingLight::NeedsSceneCapture() { return mode.value == SceneMode; }

float DS_WaterRingLight::PictureAspect()
{
    const int w = GetPictureWidth();
    const int h = GetPictureHeight();
    // Without a picture the surface is square rather than infinitely long.
    if (w <= 0 || h <= 0)
        return 1.0f;
    return static_cast<float>(h) / static_cast<float>(w);
}

void DS_WaterRingLight::ResizeGrid()
{
    grid->Resize(GridHeight / PictureAspect(), GridHeight, 1.0f + 0.01f * static_cast<float>(rowDensity.value),
                 1.0f + 0.01f * static_cast<float>(columnDensity.value));
    grid->AddRandomDrop();
    // A flat surface until the first step, so that a frame drawn before it
    // shows the picture rather than whatever the new buffer held.
    grid->WriteVertices(D3DXVECTOR3(cameraMatrix._41, cameraMatrix._42, cameraMatrix._43));
}

void DS_WaterRingLight::ApplyMaterial()
{
    if (!CurrentDevice)
        return;
    D3DMATERIAL9 material{};
    material.Diffuse = D3DXCOLOR(0.0f, 0.0f, 0.0f, 1.0f);
    material.Specular = D3DXCOLOR(shine.result, shine.result, shine.result, 0.0f);
    material.Power = shinePower.result;
    CurrentDevice->SetMaterial(&material);
}

void DS_WaterRingLight::DrawWaterMesh(IDirect3DTexture9* texture)
{
    if (!CurrentDevice || !GlobalSceneView)
        return;
    IDirect3DDevice9* const device = CurrentDevice;
    const SceneView& view = *GlobalSceneView;
    SetWaterStates(device, specularAfterStages);
    // Mirrored at the edges, where the refraction looks a little past the
    // texture, on a device that can mirror it; clamped on one that cannot
    // address a capture whose sides are not powers of two that way.
    const D3DTEXTUREADDRESS addressing = UsableAddressing(texture, D3DTADDRESS_MIRROR);
    SetAddressing(device, 0, addressing);
    ApplyMaterial();
    device->SetTransform(D3DTS_WORLD, &worldMatrix);

    // The picture's pan and zoom: the camera's shift as a fraction of the
    // picture moves the surface by the same fraction of its own size, and
    // the zoom and fill scale it.
    const D3DXMATRIX placement = view.camera * view.fillOffset * view.fillScale;
    const float pictureW = static_cast<float>(GetPictureWidth());
    const float pictureH = static_cast<float>(GetPictureHeight());
    const float u = pictureW > 0.0f && placement._11 != 0.0f ? placement._41 / placement._11 / pictureW : 0.0f;
    const float v = pictureH > 0.0f && placement._22 != 0.0f ? placement._42 / placement._22 / pictureH : 0.0f;
    D3DXMATRIX toCorner;
    D3DXMatrixTranslation(&toCorner, grid->width * (0.5f + u), 0.0f, grid->height * (0.5f + v));
    D3DXMATRIX toCentre;
    D3DXMatrixTranslation(&toCentre, -0.5f * grid->width, 0.5f * grid->height, 0.0f);
    D3DXMATRIX scaling = placement;
    scaling._41 = 0.0f;
    scaling._42 = 0.0f;
    const D3DXMATRIX waterView = toCorner * viewMatrix * scaling * toCentre;
    device->SetTransform(D3DTS_VIEW, &waterView);
    device->SetTransform(D3DTS_PROJECTION, &projectionMatrix);
    device->SetTexture(0, texture);

    grid->Draw();

    device->SetTransform(D3DTS_WORLD, &view.worldMatrix);
    device->SetTransform(D3DTS_VIEW, &view.viewMatrix);
    device->SetTransform(D3DTS_PROJECTION, &view.projection);
    EndWaterStates(device);
}
