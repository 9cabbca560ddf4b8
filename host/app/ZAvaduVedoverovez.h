// The screensaver application: the framework with one scene player per
// screen device. Selecting a screen makes its player current and publishes
// that player's device, document and resource cache to the scene code.
#pragma once

#include "host/framework/CD3DScreensaver.h"
#include "host/player/ScenePlayer.h"

constexpr int PlayerCount = 10;

class ZAvaduVedoverovez : public CD3DScreensaver {
public:
    // The program's settings key, its title from the string table, a depth
    // buffer for every device.
    ZAvaduVedoverovez();
    ~ZAvaduVedoverovez() override;

    // The settings dialog, owned by the window given on the command line.
    void ShowConfigDialog() override;
    void ShowExtraDialog(HWND owner) override;
    INT_PTR SoundDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) override;
    void ReadSettings() override;
    void OnScreenSelected(int index) override;
    // NoDirect3D when the D3DX runtime is not installed: every mode then
    // shows that text instead of drawing.
    HRESULT OnDirect3DCreated() override;
    HRESULT CheckDeviceRequirements(const D3DCAPS9& caps, DWORD behaviorFlags, D3DFORMAT backBufferFormat) override;
    // After each device creation and each successful reset: the sound device
    // is started (once) with the user's volume, the current slide gets its
    // device objects back and the sounds paused for the reset play on. Never
    // fails: a failure inside becomes the error state MediaNotFound.
    HRESULT OnDeviceRestored() override;
    // Before the frame's screens: when resets took the music's graph and
    // every screen is back, the graph is made again and the track that
    // played starts again from its beginning, once however many screens
    // were reset.
    HRESULT UpdateFrame() override;
    // One frame of the current player: its splash, its load, then its show.
    HRESULT RenderFrame() override;
    // Before a reset and when the devices go: every sound object is paused
    // (so that nothing plays on while the primary buffer is at full volume,
    // nor under the error box), the music stops, its graph goes and the
    // scene lets go of its default-pool objects.
    HRESULT OnDeviceInvalidated() override;
    // The selected screen's scene lets go of everything made on its device
    // before the framework releases the device.
    HRESULT OnDeviceDestroyed() override;
    // An event of the music's graph: the end of a track starts the next one
    // of the show's playlist.
    void OnMusicEvent(int code) override;

    // The one playlist and the one heard player of all the screens; before
    // the players, which refer to it until they go.
    ShowSound showSound;
    // Indexed like the screen devices.
    ScenePlayer players[PlayerCount];
    ScenePlayer* currentPlayer = nullptr;

private:
    // The music's graph went with the devices' objects and is to be made
    // again when they come back.
    bool musicGraphReleased = false;
};

// The application object of the process, for the settings dialogs.
extern ZAvaduVedoverovez* AppInstance;
