// What the show knows of the Direct3D adapters: each adapter's device types
// with the display modes they can use, the user's choices for it, and the
// screen devices created from them for the show.
#pragma once

#include "foundation/core/ComHolder.h"

#include <windows.h>
#include <d3d9.h>

constexpr int MaxAdapters = 9;
constexpr int MaxScreenDevices = 9;
constexpr int MaxDeviceTypes = 3;
constexpr int MaxModes = 150;
// Fewer modes are kept than there are slots.
constexpr int MaxKeptModes = 100;

struct ModeRecord {
    UINT width;
    UINT height;
    D3DFORMAT format;
    DWORD behaviorFlags;
    D3DFORMAT depthStencilFormat;
};

// One device type (HAL or SW) of one adapter.
struct DeviceRecord {
    D3DDEVTYPE type;
    D3DCAPS9 caps;
    const wchar_t* description;
    BOOL windowedCapable;
    int modeCount;
    ModeRecord modes[MaxModes];
    int defaultMode;
};

// Made zeroed for each listed adapter; plain data, so the display-settings
// dialog can snapshot and restore it by copying.
struct AdapterRecord {
    int monitorIndex;
    D3DADAPTER_IDENTIFIER9 identifier;
    D3DDISPLAYMODE desktopMode;
    int deviceCount;
    DeviceRecord devices[MaxDeviceTypes];
    DWORD hasHal;
    DWORD halUsable;
    DWORD hasSoftware;
    DWORD softwareUsable;
    // The user's choices, stored under "Screen %d" (MonitorSettings.h).
    DWORD storedWidth;
    DWORD storedHeight;
    DWORD storedFormat;
    DWORD leaveBlack;
    DWORD disableHardware;
    int chosenDevice;
    HWND window;
};

// One Direct3D device of the show: per monitor in the full-screen show, one
// for the window otherwise.
struct ScreenDevice {
    int adapterIndex;
    int monitorIndex;
    D3DDEVTYPE deviceType;
    DWORD behaviorFlags;
    ComHolder<IDirect3DDevice9> device;
    // Kept for Reset.
    D3DPRESENT_PARAMETERS presentParameters;
    bool objectsCreated;
    bool objectsRestored;
    wchar_t deviceText[90];
    wchar_t frameRateText[40];
};
