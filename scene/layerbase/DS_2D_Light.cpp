// The layer's record, device lifecycle, sizing and picture handling. The
// frame and the drawing services are in DS_2D_LightDrawing.cpp.
#include "scene/layerbase/DS_2D_Light.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/render/PictureMapping.h"
#include "foundation/render/SceneView.h"
#include "foundation/render/ScreenQuad.h"
#include "foundation/render/StageStates.h"
#include "foundation/render/BackBuffer.h"
#include "foundation/resources/DS_DocResManager.h"

namespace {

const wchar_t* const RecordName = L"DS_2D_Light";
const int32_t WrittenVersion = 3;
const int32_t FirstVersionWithPicture = 2;
const int32_t FirstVersionWithCamera = 3;

const wchar_t* const DefaultPictureModule = L"common_res.dll";
const int32_t DefaultPictureResource = 5;

// The state every layer and object starts a frame from. Alpha blending is
// left to each draw that needs it.
void SetDefaultDeviceState(IDirect3DDevice9* device)
{
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);

    SetLinearFilters(device, 0);
    SetAddressing(device, 0, D3DTADDRESS_MIRROR);

    SetLayerDefaultStages(device);
}

} // namespace

DS_2D_Light::DS_2D_Light()
{
    pictureLink.value.path = DefaultPictureModule;
    pictureLink.value.stamp = DefaultPictureResource;
    binders.SetOwner(this, false);
    BindParamCallback2(binders, pictureLink, &DS_2D_Light::OnPictureChanged, this);
}

DS_2D_Light::~DS_2D_Light() = default;

void DS_2D_Light::Read(ArchiveHandle& archive, int32_t version)
{
    if (version >= FirstVersionWithPicture)
        ReadFileLink(archive, pictureLink);
    if (version >= FirstVersionWithCamera)
        camera = *ReadCamera(archive);
}

void ReadLightBase(ArchiveHandle& archive, DS_2D_Light& layer)
{
    const ObjectHeader header = ReadObjectHeader(archive);
    layer.Read(archive, header.version);
}

void DS_2D_Light::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    if (CurrentResManager)
        CurrentResManager->StoreImageLink(pictureLink);
    WriteFileLink(pictureLink, archive);
    camera.Write(archive);
}

void DS_2D_Light::OnDeviceCreated()
{
    pictureQuad.CreateBuffer();
    pictureQuad.LoadLinkImage(pictureLink);
    if (GlobalSceneView)
        GlobalSceneView->ResetBorderColors();
}

void DS_2D_Light::OnDeviceRestored()
{
    if (CurrentDevice)
        SetDefaultDeviceState(CurrentDevice);
    if (CurrentResManager)
        CurrentResManager->OnResetDevice();
    const D3DSURFACE_DESC backBuffer = GetBackBufferDesc();
    targetPair.Create(backBuffer.Width, backBuffer.Height);
}

void DS_2D_Light::OnDeviceInvalidated()
{
    // The saved surfaces are not the pair's own: they belong to the device.
    targetPair.ReleaseTextures();
    sceneTexture.Release();
    if (CurrentResManager)
        CurrentResManager->OnLostDevice();
}

void DS_2D_Light::SetSize(int width, int height)
{
    layerWidth = width;
    layerHeight = height;
    const SizedTexture& picture = pictureQuad.image;
    if (GlobalSceneView)
        GlobalSceneView->Setup(width, height, picture, GlobalSceneView->mode, false);
    ScreenQuad fitted;
    fitted.FitImage(picture, width, height);
    fitted.ScaleToBackBuffer(width, height);
    PublishPictureMapping(static_cast<int>(picture.height), fitted, width, height, static_cast<int>(picture.width));
}

void DS_2D_Light::SetPicturePosition(int mode)
{
    pictureMode = mode;
    if (GlobalSceneView)
        GlobalSceneView->Setup(layerWidth, layerHeight, pictureQuad.image, mode, false);
    // This class's own sizing, not a subclass's: the subclasses that keep a
    // sizing of their own apply it themselves after this.
    DS_2D_Light::SetSize(layerWidth, layerHeight);
}

void DS_2D_Light::RestoreView()
{
    // SetSize places the picture in the view's current mode, which another
    // screen's layer may have left.
    if (GlobalSceneView)
        GlobalSceneView->mode = pictureMode;
    SetSize(layerWidth, layerHeight);
}

void DS_2D_Light::OnPictureChanged()
{
    pictureQuad.LoadLinkImage(pictureLink);
    SetSize(layerWidth, layerHeight);
}

void DS_2D_Light::FrameMove(float time) { camera.FrameMove(time); }

bool DS_2D_Light::ResetCameraPan()
{
    const bool wasPanning = camera.panMode.value == 1;
    camera.panMode.value = 1;
    camera.panFromX = camera.panToX = 0.0f;
    camera.panFromY = camera.panToY = 0.0f;
    camera.panStart = camera.panEnd = 0.0f;
    return wasPanning;
}

void DS_2D_Light::DrawHighlight(DS_SimpleMesh<DX_V::SPC>&, int, bool) {}

void DS_2D_Light::DrawGlowMarker() {}

const ComHolder<IDirect3DTexture9>& DS_2D_Light::GetSceneTexture() { return sceneTexture; }

ImageQuad& DS_2D_Light::GetPictureQuad() { return pictureQuad; }

int DS_2D_Light::GetPictureWidth() { return static_cast<int>(pictureQuad.image.width); }

int DS_2D_Light::GetPictureHeight() { return static_cast<int>(pictureQuad.image.height); }

bool DS_2D_Light::NeedsSceneCapture() { return false; }
