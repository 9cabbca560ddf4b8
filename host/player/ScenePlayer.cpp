#include "host/player/ScenePlayer.h"

#include "foundation/core/SaverError.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/render/StageStates.h"
#include "foundation/resources/ResourceCache.h"
#include "host/framework/Settings.h"
#include "host/music/MusicPlaylist.h"
#include "host/music/SoundVolume.h"
#include "objects/sound/DS_Sound.h"
#include "scene/slideshow/LoadSceneDocument.h"
#include "res/resource.h"

#include <algorithm>
#include <cmath>

namespace {

const int32_t SplashResource = IDR_SPLASH;
const D3DCOLOR Black = 0x00000000;

// The splash picture is an orb on a transparent ground: blended over the
// black clear, whatever state the device was left in.
void SetSplashStates(IDirect3DDevice9* device)
{
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);

    SetLinearFilters(device, 0);
    SetAddressing(device, 0, D3DTADDRESS_CLAMP);

    ModulateTextureByDiffuseOnStage0(device);
    DisableStage(device, 1);
}

template <class Action>
void ForEachSound(DS_SlideShow_Light* root, Action action)
{
    if (!root)
        return;
    for (const CountedPtr<DS_SlideContainer>& slide : root->slides) {
        for (const CountedPtr<DS_ABObj>& object : slide->soundObjects) {
            if (auto* sound = dynamic_cast<DS_Sound*>(object.Get()))
                action(*sound->controller);
        }
    }
}

} // namespace

ScenePlayer::~ScenePlayer()
{
    LeaveSharedSound();
    root.reset();
    resourceManager.reset();
    if (GlobalSceneView && GlobalSceneView->borders == &borders)
        GlobalSceneView->UseBorders(nullptr);
}

void ScenePlayer::MakeCurrent(IDirect3DDevice9* device)
{
    CurrentDevice = device;
    // Never the previous screen's document: its textures, effects and meshes
    // belong to that screen's device.
    CurrentResManager = resourceManager.get();
    CurrentResourceCache = resourceManager ? &resourceManager->Cache() : nullptr;
    if (GlobalSceneView)
        GlobalSceneView->UseBorders(&borders);
}

HRESULT ScenePlayer::RunFrame(float appTime)
{
    if (loaded) {
        if (root) {
            UpdatePlayer(appTime);
            RenderPlayer();
        }
        return S_OK;
    }
    // The loading frame shows the splash while the document loads: drawn
    // again, since the full-screen swap leaves the back buffer undefined
    // after each present.
    if (splashShown) {
        RedrawSplash();
        return LoadAndStartScene();
    }
    ShowSplash();
    return S_OK;
}

void ScenePlayer::ShowSplash()
{
    if (!CurrentDevice)
        return;
    splashQuad.LoadCenteredImage(SplashResource);
    splashQuad.SetAlpha(255, 1.0f);
    if (DrawSplash())
        splashShown = true;
}

void ScenePlayer::RedrawSplash()
{
    if (CurrentDevice)
        DrawSplash();
}

bool ScenePlayer::DrawSplash()
{
    if (FAILED(CurrentDevice->BeginScene()))
        return false;
    CurrentDevice->Clear(0, nullptr, D3DCLEAR_TARGET, Black, 1.0f, 0);
    // A quad without a buffer (its picture did not load) leaves black.
    if (splashQuad.vertices) {
        SetSplashStates(CurrentDevice);
        splashQuad.BindForDraw();
        CurrentDevice->DrawPrimitive(splashQuad.primitiveType, 0, splashQuad.primitiveCount);
    }
    CurrentDevice->EndScene();
    return true;
}

HRESULT ScenePlayer::LoadAndStartScene()
{
    loaded = true;
    SceneDocument document = documentBytes.empty() ? LoadSceneDocument()
                                                   : LoadSceneDocument(documentBytes.data(), documentBytes.size());
    if (!document)
        return MediaNotFound;
    resourceManager = std::move(document.resources);
    root = std::move(document.root);

    for (const CountedPtr<DS_SlideContainer>& slide : root->slides)
        slide->BuildObjects();
    // Another screen's player loaded first: it plays the music, and the
    // same sounds from this one would only be heard twice, out of step.
    const bool heard = !showSound->heardPlayer;
    if (heard)
        showSound->heardPlayer = this;
    else
        SilenceSounds();
    if (heard && showSound->playsMusic) {
        for (std::size_t i = 0; i < root->audioFiles.size(); ++i)
            ExtractAudioToTemp(*root->audioFiles[i], i);
    }
    root->SetPicturePosition(GetPicturePosition());
    if (heard && showSound->playsMusic)
        StartPlaylist(showSound->playlist, root->audioFiles);
    ApplySoundVolume();
    return S_OK;
}

void ScenePlayer::UpdatePlayer(float time)
{
    if (root)
        root->Update(time);
}

void ScenePlayer::RenderPlayer()
{
    if (!CurrentDevice || !root)
        return;
    if (SUCCEEDED(CurrentDevice->BeginScene()))
        root->Render();
    CurrentDevice->EndScene();
}

void ScenePlayer::OnDeviceInvalidated()
{
    if (root)
        root->OnDeviceInvalidated();
}

void ScenePlayer::OnDeviceRestored()
{
    if (root)
        root->OnDeviceRestored();
}

void ScenePlayer::ReleaseScene()
{
    LeaveSharedSound();
    const bool published = CurrentResManager && CurrentResManager == resourceManager.get();
    root.reset();
    resourceManager.reset();
    if (published) {
        CurrentResManager = nullptr;
        CurrentResourceCache = nullptr;
    }
    splashQuad.texture.Release();
    splashQuad.vertices.Release();
    for (DS_SimpleMesh<DX_V::SPC>& border : borders.quads)
        border.vertices.Release();
    std::fill(borders.placedAt, borders.placedAt + 4, NAN);
    if (GlobalSceneView && GlobalSceneView->borders == &borders)
        GlobalSceneView->UseBorders(nullptr);
    if (GlobalSceneView)
        GlobalSceneView->ReleaseBordersOf(CurrentDevice);
}

void ScenePlayer::LeaveSharedSound()
{
    // The shared playlist must not go on naming this player's music.
    if (Heard()) {
        showSound->heardPlayer = nullptr;
        showSound->playlist = MusicPlaylist{};
    }
}

void ScenePlayer::SilenceSounds()
{
    ForEachSound(root.get(), [](DS_Sound_Ctrl& sound) { sound.Silence(); });
}

void ScenePlayer::PauseSounds()
{
    ForEachSound(root.get(), [](DS_Sound_Ctrl& sound) { sound.Pause(); });
}

void ScenePlayer::ResumeSounds()
{
    ForEachSound(root.get(), [](DS_Sound_Ctrl& sound) { sound.Resume(); });
}
