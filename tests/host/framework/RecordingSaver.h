// A framework subclass for tests: it records the hooks the framework calls,
// clears each screen to a colour of its own, and lets a test fail device
// creations and report lost or not-reset devices.
#pragma once

#include "host/framework/CD3DScreensaver.h"
#include "tests/support/Pixels.h"

#include <windows.h>
#include <d3d9.h>

#include <deque>
#include <string>
#include <vector>

// Each test executable keeps its settings under a key of its own, so that
// tests running side by side do not see each other's values.
extern const wchar_t* const TestSettingsKeyPath;
// Points the settings at TestSettingsKeyPath and empties it.
void UseEmptyTestSettingsKey();

// A hidden top-level window that goes with the object.
class HiddenWindow {
public:
    HiddenWindow(int width = 320, int height = 200, DWORD style = WS_POPUP);
    ~HiddenWindow();
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;
    HWND Get() const { return window; }

private:
    HWND window = nullptr;
};

// Removes a WM_QUIT from this thread's queue; true when there was one.
bool TakeQuitMessage();

class RecordingSaver : public CD3DScreensaver {
public:
    RecordingSaver();

    // The colour a screen is cleared to: it changes with each restore, so a
    // frame shows whether it was drawn after the latest one.
    static D3DCOLOR ColourAfterRestores(int restores);

    // Direct3D and the adapter list, as the create step makes them.
    bool ListAdapters();
    // Test mode over a hidden window, its adapter list made.
    bool PrepareWindowed(HWND window);

    HRESULT CheckDeviceRequirements(const D3DCAPS9& caps, DWORD flags, D3DFORMAT format) override;
    HRESULT OnDeviceCreated() override;
    HRESULT OnDeviceRestored() override;
    HRESULT OnDeviceInvalidated() override;
    HRESULT OnDeviceDestroyed() override;
    HRESULT RenderFrame() override;
    HRESULT OnFinalCleanup() override;

    std::vector<std::string> events;
    int restores = 0;
    int finalCleanups = 0;
    // Creations to fail before the real call is made.
    int creationsToFail = 0;
    // Every creation asked for, with the parameters it was asked with.
    std::vector<D3DPRESENT_PARAMETERS> creations;
    // Results TestCooperativeLevel gives before it asks the device.
    std::deque<HRESULT> cooperativeLevels;
    // The back buffer as each Present found it.
    std::vector<Pixels> presented;
    // Called inside RenderFrame, before the clear.
    void (*duringRender)(RecordingSaver&) = nullptr;
    // Called inside each device creation, before the device is made.
    void (*duringCreation)(RecordingSaver&) = nullptr;
    // No display device's current mode can be read.
    bool displaySettingsFail = false;

protected:
    HRESULT CreateD3DDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                            D3DPRESENT_PARAMETERS& parameters, IDirect3DDevice9** created) override;
    HRESULT TestCooperativeLevel(IDirect3DDevice9* screenDevice) override;
    HRESULT PresentScreen(IDirect3DDevice9* screenDevice) override;
    BOOL ReadDisplaySettings(const wchar_t* deviceName, DEVMODEW& settings) override;
};
