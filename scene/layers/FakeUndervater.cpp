#include "scene/layers/FakeUndervater.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/geometry/MeshBuffers.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/render/SceneView.h"
#include "foundation/render/StageStates.h"

namespace {

const wchar_t* const RecordName = L"FakeUndervater";
const int32_t WrittenVersion = 2;
// Version 1 kept only the brush's speed, at twice the rate the brush runs.
const int32_t SpeedOnlyVersion = 1;

} // namespace

FakeUndervater::FakeUndervater() = default;

// The brush goes before the base.
FakeUndervater::~FakeUndervater() = default;

void FakeUndervater::Read(ArchiveHandle& archive, int32_t version)
{
    if (version == SpeedOnlyVersion) {
        uint32_t speed = 0;
        archive->ReadUInt(speed);
        water.speed.SetValue(speed, nullptr);
        water.speed.SetValue(water.speed.value / 2, nullptr);
    } else {
        // The nested record's class name is not compared: an underwater
        // brush is always what stands here.
        const ObjectHeader header = ReadObjectHeader(archive);
        DS_UnderwaterFX stored;
        stored.Read(archive, header.version);
        water = stored;
    }
    ReadLightBase(archive, *this);
}

void FakeUndervater::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    water.Write(archive);
    DS_2D_Light::Write(archive);
}

void FakeUndervater::OnDeviceCreated()
{
    DS_2D_Light::OnDeviceCreated();
    water.BindResources(nullptr);
}

void FakeUndervater::OnDeviceRestored()
{
    DS_2D_Light::OnDeviceRestored();
    water.CheckTechniques();
}

void FakeUndervater::FrameMove(float time)
{
    camera.FrameMove(time);
    water.Update(time);
}

void FakeUndervater::DrawBackground(bool) { DS_2D_Light::DrawBackground(false); }

bool FakeUndervater::NeedsSceneCapture() { return true; }

void FakeUndervater::FinishFrame()
{
    RenderTargetPair& pair = EndSceneCapture(false);
    sceneTexture = pair.current.Get();
    // Without a texture to capture into, the scene went straight to the back
    // buffer and stays there as it was drawn.
    if (sceneTexture) {
        // Both ways the scene is copied texel for texel where the brush
        // does not move it.
        const TexelAlignedRedraw aligned;
        if (water.effect)
            water.Apply(*this);
        else
            DrawCapturedScene();
    }
    if (GlobalSceneView)
        GlobalSceneView->DrawBorders();
}

void FakeUndervater::DrawCapturedScene()
{
    if (!CurrentDevice || !GlobalSceneView)
        return;
    IDirect3DDevice9* d = CurrentDevice;
    // The capture's alpha is whatever the draws left there: the scene is
    // copied, not blended.
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetRenderState(D3DRS_LIGHTING, FALSE);
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    d->SetPixelShader(nullptr);
    SelectTextureOnStage0(d);
    DisableStage(d, 1);
    SetAddressing(d, 0, D3DTADDRESS_CLAMP);
    d->SetTransform(D3DTS_VIEW, &GlobalSceneView->viewMatrix);
    d->SetTransform(D3DTS_PROJECTION, &GlobalSceneView->projection);
    GlobalSceneView->SetWorld(pictureQuad.world);
    BindVertexStream<DX_V::PT>(pictureQuad);
    d->SetTexture(0, sceneTexture.Get());
    d->DrawPrimitive(pictureQuad.primitiveType, 0, pictureQuad.primitiveCount);

    // The capture lives in the default pool: bound, the device would keep
    // it through a reset, which then fails. Addressing back to the layer's
    // own.
    d->SetTexture(0, nullptr);
    SetAddressing(d, 0, D3DTADDRESS_MIRROR);
}
