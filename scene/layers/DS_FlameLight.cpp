#include "scene/layers/DS_FlameLight.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/geometry/MeshBuffers.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/render/SceneView.h"
#include "foundation/render/StageStates.h"
#include "foundation/render/VertexLock.h"
#include "foundation/render/BackBuffer.h"
#include "foundation/resources/DS_DocResManager.h"
#include "foundation/resources/EffectTechnique.h"

namespace {

const wchar_t* const RecordName = L"DS_FlameLight";
const int32_t WrittenVersion = 2;
const int32_t FirstVersionWithFireRecord = 2;

const wchar_t* const CommonModule = L"common_res.dll";
const int32_t FlamePattern = 7;
const int32_t FlameNoise = 8;

// The band covers 65 % of the picture's height, its bottom at the picture's
// bottom; each unit of drop moves it down by 0.5 % of the height.
const float BandHeight = 0.65f;
const float DropStep = 0.005f;
// The fire texture's v at the band's bottom.
const float BandBottomV = 0.95f;

const float PlaceholderWidth = 800.0f;
const float PlaceholderHeight = 600.0f;

// The fire effect's technique that draws the flame band.
const char* const FlameTechnique = "AsEffect";

// Top-left, top-right, bottom-left, bottom-right.
void WriteBandPositions(DS_SimpleMesh<DX_V::PT>& quad, float width, float top, float bottom)
{
    VertexLock<DX_V::PT> lock(quad, 4);
    if (!lock)
        return;
    DX_V::PT* v = lock.Vertices();
    const float xs[4] = {0.0f, width, 0.0f, width};
    const float ys[4] = {top, top, bottom, bottom};
    for (int i = 0; i < 4; ++i) {
        v[i].x = xs[i];
        v[i].y = ys[i];
        v[i].z = 0.0f;
    }
}

} // namespace

DS_FlameLight::DS_FlameLight() : fireSwitch(1), distortionSwitch(1)
{
    flameDrop.value = 0;
    flameDrop.undo.Snapshot();
    fire.patternLink.value = FileKey{CommonModule, FlamePattern};
    fire.noiseLink.value = FileKey{CommonModule, FlameNoise};
}

// Members go in reverse order: the quad, the distortion, the fire, the
// parameters; then the base.
DS_FlameLight::~DS_FlameLight() = default;

void DS_FlameLight::Read(ArchiveHandle& archive, int32_t version)
{
    int32_t value = 0;
    archive->ReadInt(value);
    fireSwitch.value = value;
    archive->ReadInt(value);
    distortionSwitch.value = value;
    uint32_t drop = 0;
    archive->ReadUInt(drop);
    flameDrop.value = drop;
    if (version < FirstVersionWithFireRecord) {
        uint32_t fireSpeed = 0;
        archive->ReadUInt(fireSpeed);
        fire.speed.SetValue(fireSpeed, nullptr);
    }
    ReadFileLink(archive, distortion.bumpImage);
    ReadFileLink(archive, distortion.effectLink);
    ReadScaledValue(archive, distortion.speed);
    ReadScaledValue(archive, distortion.strength);
    ReadScaledValue(archive, distortion.bumpScale);
    if (version >= FirstVersionWithFireRecord) {
        // The nested record's class name is not compared: a fire brush is
        // always what stands here.
        const ObjectHeader header = ReadObjectHeader(archive);
        DS_FireFX stored;
        stored.Read(archive, header.version);
        fire = stored;
    } else {
        DS_FileLink3 discarded;
        ReadFileLink(archive, discarded);
        ReadFileLink(archive, discarded);
    }
    ReadLightBase(archive, *this);
}

void DS_FlameLight::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    int32_t value = fireSwitch.value;
    archive->WriteInt(value);
    value = distortionSwitch.value;
    archive->WriteInt(value);
    uint32_t drop = flameDrop.value;
    archive->WriteUInt(drop);
    if (CurrentResManager)
        CurrentResManager->StoreImageLink(distortion.bumpImage);
    WriteFileLink(distortion.bumpImage, archive);
    WriteFileLink(distortion.effectLink, archive);
    WriteScaledValue(archive, distortion.speed);
    WriteScaledValue(archive, distortion.strength);
    WriteScaledValue(archive, distortion.bumpScale);
    fire.Write(archive);
    DS_2D_Light::Write(archive);
}

void DS_FlameLight::OnDeviceCreated()
{
    DS_2D_Light::OnDeviceCreated();
    if (SUCCEEDED(CreateQuadBufferPT(flameQuad))) {
        VertexLock<DX_V::PT> lock(flameQuad, 4);
        if (lock) {
            const DX_V::PT corners[4] = {{0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
                                         {PlaceholderWidth, 0.0f, 0.0f, 1.0f, 0.0f},
                                         {0.0f, PlaceholderHeight, 0.0f, 0.0f, BandBottomV},
                                         {PlaceholderWidth, PlaceholderHeight, 0.0f, 1.0f, BandBottomV}};
            for (int i = 0; i < 4; ++i)
                lock.Vertices()[i] = corners[i];
        }
    }
    if (!distortion.Restore())
        SwitchDistortionOff();
    OnPictureChanged();
    fire.BindResources(nullptr);
    CheckFireTechnique();
}

void DS_FlameLight::SwitchDistortionOff()
{
    distortionSwitch.value = 0;
    distortionSwitch.undo.Snapshot();
}

void DS_FlameLight::CheckFireTechnique()
{
    if (fire.effect && !UsableTechnique(fire.effect.Get(), FlameTechnique))
        fire.effect.Release();
}

void DS_FlameLight::OnPictureChanged()
{
    DS_2D_Light::OnPictureChanged();
    DS_2D_Light::SetSize(layerWidth, layerHeight);
    const float w = static_cast<float>(pictureQuad.image.width);
    const float h = static_cast<float>(pictureQuad.image.height);
    distortion.SetQuad(w, h);
    const float k = 1.0f + DropStep * static_cast<float>(flameDrop.value);
    WriteBandPositions(flameQuad, w, k * h - BandHeight * h, k * h);
}

void DS_FlameLight::OnDeviceRestored()
{
    IDirect3DDevice9* device = CurrentDevice;
    if (device) {
        device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        device->SetTransform(D3DTS_WORLD, &identity);

        SetLayerDefaultStages(device);
        for (DWORD sampler = 0; sampler < 4; ++sampler)
            SetLinearFilters(device, sampler);
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        SetAddressing(device, 0, D3DTADDRESS_CLAMP);
        device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    }
    // After a device reset the effects were left lost by the invalidation:
    // they take their device objects again here, as the plain layer's do.
    if (CurrentResManager)
        CurrentResManager->OnResetDevice();
    // A technique the device refuses now is a missing effect, as when the
    // layer was made: no heat haze (the scene is then drawn directly), no
    // flame.
    distortion.CheckTechnique();
    if (!distortion.effect)
        SwitchDistortionOff();
    fire.CheckTechniques();
    CheckFireTechnique();
    DS_2D_Light::SetSize(layerWidth, layerHeight);
    const D3DSURFACE_DESC backBuffer = GetBackBufferDesc();
    targetPair.Create(backBuffer.Width, backBuffer.Height);
}

void DS_FlameLight::OnDeviceInvalidated() { DS_2D_Light::OnDeviceInvalidated(); }

void DS_FlameLight::FrameMove(float time)
{
    fire.Update(time);
    camera.FrameMove(time);
    distortion.FrameMove(time);
}

void DS_FlameLight::DrawBackground(bool)
{
    DS_2D_Light::DrawBackground(false);
    if (fireSwitch.value == 0 || !fire.effect)
        return;
    fire.DrawFire(flameQuad);
    fire.effect->SetTechnique(FlameTechnique);
    DrawQuadWithEffect(flameQuad, fire.effect.Get());
}

bool DS_FlameLight::NeedsSceneCapture() { return DistortionOn(); }

void DS_FlameLight::FinishFrame()
{
    // The capture began only when the scene held a texture to draw into;
    // without one the scene went straight to the back buffer and stays.
    if (DistortionOn() && GlobalSceneView) {
        GlobalSceneView->Setup(layerWidth, layerHeight, pictureQuad.image, pictureMode, false);
        targetPair.EndTarget();
        if (targetPair.current) {
            const TexelAlignedRedraw aligned;
            GlobalSceneView->SetWorld(distortion.quad.world);
            distortion.Render(targetPair);
        }
    }
    if (CurrentDevice)
        CurrentDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    if (GlobalSceneView)
        GlobalSceneView->DrawBorders();
    if (CurrentDevice)
        CurrentDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
}
