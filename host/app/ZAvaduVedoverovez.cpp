#include "host/app/ZAvaduVedoverovez.h"

#include "foundation/core/SaverError.h"
#include "foundation/core/CurrentDevice.h"
#include "host/dialogs/SettingsDialog.h"
#include "host/dialogs/SoundDialog.h"
#include "host/framework/DeviceRequirements.h"
#include "host/framework/MonitorSettings.h"
#include "host/framework/Settings.h"
#include "host/music/MusicGraph.h"
#include "host/music/MusicPlaylist.h"
#include "host/music/SoundVolume.h"
#include "host/runtime/D3DXRuntime.h"
#include "objects/sound/SoundDevice.h"
#include "res/resource.h"

#include <commctrl.h>

#include <cwchar>

ZAvaduVedoverovez* AppInstance = nullptr;

namespace {

const int TitleLength = 200;
// Full volume, in hundredths of a decibel.
const LONG PrimaryBufferVolume = 0;

} // namespace

ZAvaduVedoverovez::ZAvaduVedoverovez()
{
    AppInstance = this;

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    SetSettingsKeyPath(ProgramSettingsKeyPath);
    wcsncpy(settingsKeyPath, ProgramSettingsKeyPath, MAX_PATH - 1);

    // The framework's title stays when the string is missing.
    wchar_t title[TitleLength] = {};
    if (LoadStringW(GetModuleHandleW(nullptr), IDS_DISPLAY_NAME, title, TitleLength) > 0)
        wcscpy(windowTitle, title);

    wantDepthBuffer = true;
    music = &GraphMusic();
    for (ScenePlayer& player : players)
        player.ShareShowSound(showSound);
}

ZAvaduVedoverovez::~ZAvaduVedoverovez()
{
    if (AppInstance == this)
        AppInstance = nullptr;
}

void ZAvaduVedoverovez::ShowConfigDialog()
{
    // Owned by the window given with /c, so that it is modal to the
    // system's screen-saver settings.
    // A window that no longer exists (or never did) would make the dialog
    // fail: it is shown on its own then.
    ShowSettingsDialog(*this, parentWindow && IsWindow(parentWindow) ? parentWindow : nullptr);
}

void ZAvaduVedoverovez::ShowExtraDialog(HWND owner)
{
    ShowExtraSettingsDialog(owner);
}

INT_PTR ZAvaduVedoverovez::SoundDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    return HandleSoundDialogMessage(dialog, message, wparam, lparam);
}

void ZAvaduVedoverovez::ReadSettings()
{
    ReadSettingsFromRegistry(*this);
}

void ZAvaduVedoverovez::OnScreenSelected(int index)
{
    if (index < 0 || index >= PlayerCount)
        return;
    currentPlayer = &players[index];
    currentPlayer->MakeCurrent(device);
}

HRESULT ZAvaduVedoverovez::OnDirect3DCreated()
{
    return LoadD3DXRuntime() ? S_OK : NoDirect3D;
}

HRESULT ZAvaduVedoverovez::CheckDeviceRequirements(const D3DCAPS9& caps, DWORD, D3DFORMAT backBufferFormat)
{
    return CheckBumpMappingSupport(direct3D.Get(), caps, backBufferFormat);
}

HRESULT ZAvaduVedoverovez::OnDeviceRestored()
{
    try {
        // Once per process; a start that failed (no sound card) is tried
        // again at the next restore, and the show goes on silent meanwhile.
        InitDirectSound(mainWindow);
        // The volume went to full before the reset: the user's comes back.
        ApplySoundVolume();

        // The current slide's layer makes its default-pool objects again and
        // sets its device state, so that the frame drawn right after a reset
        // shows the scene whole. Any other slide restores its layer when it
        // becomes current.
        if (currentPlayer)
            currentPlayer->OnDeviceRestored();

        for (ScenePlayer& player : players)
            player.ResumeSounds();
    } catch (...) {
        SetError(MediaNotFound);
    }
    return S_OK;
}

HRESULT ZAvaduVedoverovez::UpdateFrame()
{
    // Each screen's reset takes the graph: it comes back once the frame's
    // resets are all done, so that two screens start the track over once. A
    // show that made no graph (the preview) gets none here either.
    if (!musicGraphReleased || errorSet || screenDeviceCount == 0)
        return S_OK;
    for (int i = 0; i < screenDeviceCount; ++i) {
        if (screenDevices[i].device && !screenDevices[i].objectsRestored)
            return S_OK;
    }
    musicGraphReleased = false;
    // Part of the restore, which turns anything thrown into the error state.
    try {
        if (InitMusicGraph(mainWindow))
            ResumePlaylist(showSound.playlist);
    } catch (...) {
        SetError(MediaNotFound);
    }
    return S_OK;
}

HRESULT ZAvaduVedoverovez::RenderFrame()
{
    // Once a failure is recorded the error box takes over; a scene whose
    // restore failed must not draw with the objects it lost.
    if (errorSet || !currentPlayer)
        return S_OK;
    showSound.playsMusic = mode == LaunchMode::Full || mode == LaunchMode::Test;
    if (currentPlayer->RunFrame(appTime) == MediaNotFound)
        SetError(MediaNotFound);
    return S_OK;
}

HRESULT ZAvaduVedoverovez::OnDeviceInvalidated()
{
    // Stopping the primary buffer does not stop the buffers that play into
    // it, and its volume goes to full: they are paused first.
    for (ScenePlayer& player : players)
        player.PauseSounds();
    if (PrimarySoundBuffer) {
        PrimarySoundBuffer->SetVolume(PrimaryBufferVolume);
        PrimarySoundBuffer->Stop();
    }
    if (MusicControl)
        MusicControl->Stop();
    // Not cleared when there is no graph: two screens invalidated one after
    // the other must not forget that the first one took it.
    if (MusicGraph)
        musicGraphReleased = true;
    ReleaseMusicGraph();
    if (currentPlayer)
        currentPlayer->OnDeviceInvalidated();
    return S_OK;
}

HRESULT ZAvaduVedoverovez::OnDeviceDestroyed()
{
    if (currentPlayer)
        currentPlayer->ReleaseScene();
    if (CurrentDevice == device)
        CurrentDevice = nullptr;
    return S_OK;
}

void ZAvaduVedoverovez::OnMusicEvent(int code)
{
    PlayNextTrack(showSound.playlist, code);
}
