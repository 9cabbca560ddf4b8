// The adapter list, the screen devices of the show, their selection, the
// per-frame device test with its reset, and their release.
#include "host/framework/CD3DScreensaver.h"

#include "foundation/core/SaverError.h"
#include "host/framework/DisplayModes.h"
#include "host/framework/MonitorSettings.h"
#include "host/framework/SaverClock.h"

#include <cwchar>
#include <new>

namespace {

struct DepthCandidate {
    D3DFORMAT format;
    UINT depthBits;
    UINT stencilBits;
};

const DepthCandidate DepthCandidates[] = {
    {D3DFMT_D16, 16, 0},   {D3DFMT_D15S1, 15, 1},   {D3DFMT_D24X8, 24, 0},
    {D3DFMT_D24S8, 24, 8}, {D3DFMT_D24X4S4, 24, 4}, {D3DFMT_D32, 32, 0},
};

const D3DDEVTYPE DeviceTypes[] = {D3DDEVTYPE_HAL, D3DDEVTYPE_SW};

// Back-buffer formats a windowed device tries after the desktop's own.
const D3DFORMAT WindowedFormats[] = {D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_A1R5G5B5, D3DFMT_R5G6B5};

const wchar_t* DepthFormatText(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_D16:
        return L" (D16)";
    case D3DFMT_D15S1:
        return L" (D15S1)";
    case D3DFMT_D24X8:
        return L" (D24X8)";
    case D3DFMT_D24S8:
        return L" (D24S8)";
    case D3DFMT_D24X4S4:
        return L" (D24X4S4)";
    case D3DFMT_D32:
        return L" (D32)";
    default:
        return L"";
    }
}

const wchar_t* VertexProcessingText(DWORD flags)
{
    if (flags & D3DCREATE_PUREDEVICE)
        return L"pure hw vp";
    if (flags & D3DCREATE_HARDWARE_VERTEXPROCESSING)
        return L"hw vp";
    if (flags & D3DCREATE_MIXED_VERTEXPROCESSING)
        return L"mixed vp";
    return L"sw vp";
}

int FindDevice(const AdapterRecord& adapter, D3DDEVTYPE type, bool windowedOnly, bool last)
{
    int found = -1;
    for (int i = 0; i < adapter.deviceCount; ++i) {
        const DeviceRecord& d = adapter.devices[i];
        if (d.type != type || (windowedOnly && !d.windowedCapable))
            continue;
        found = i;
        if (!last)
            break;
    }
    return found;
}

} // namespace

HRESULT CD3DScreensaver::ListAdapterDevices()
{
    if (!direct3D)
        return E_FAIL;
    UINT count = direct3D->GetAdapterCount();
    if (count > MaxAdapters)
        count = MaxAdapters;
    for (UINT i = 0; i < count; ++i) {
        std::unique_ptr<AdapterRecord> record(new (std::nothrow) AdapterRecord{});
        if (!record)
            return E_OUTOFMEMORY;
        AdapterRecord& adapter = *record;
        direct3D->GetAdapterIdentifier(i, 0, &adapter.identifier);
        direct3D->GetAdapterDisplayMode(i, &adapter.desktopMode);
        adapter.monitorIndex = -1;
        const HMONITOR monitor = direct3D->GetAdapterMonitor(i);
        for (int m = 0; m < monitorCount; ++m) {
            if (monitors[m].monitor && monitors[m].monitor == monitor) {
                adapter.monitorIndex = m;
                monitors[m].adapterIndex = static_cast<int>(i);
                break;
            }
        }

        ModeRecord kept[MaxKeptModes];
        int keptCount = 0;
        const UINT modeCount = direct3D->GetAdapterModeCount(i, D3DFMT_X8R8G8B8);
        for (UINT j = 0; j < modeCount; ++j) {
            D3DDISPLAYMODE mode{};
            if (SUCCEEDED(direct3D->EnumAdapterModes(i, D3DFMT_X8R8G8B8, j, &mode)))
                KeepDisplayMode(kept, keptCount, mode);
        }
        SortModes(kept, keptCount);
        ListDevices(i, adapter, kept, keptCount);
        adapters[adapterCount++] = std::move(record);
    }
    return S_OK;
}

void CD3DScreensaver::ListDevices(UINT adapterIndex, AdapterRecord& adapter, const ModeRecord* modes, int modeCount)
{
    // The desktop's format first: whether it is usable decides whether the
    // device can draw into a window.
    D3DFORMAT formats[MaxKeptModes + 1];
    int formatCount = 0;
    formats[formatCount++] = adapter.desktopMode.Format;
    for (int m = 0; m < modeCount; ++m) {
        bool known = false;
        for (int f = 0; f < formatCount; ++f)
            known = known || formats[f] == modes[m].format;
        if (!known)
            formats[formatCount++] = modes[m].format;
    }

    for (D3DDEVTYPE type : DeviceTypes) {
        if (adapter.deviceCount >= MaxDeviceTypes)
            break;
        DeviceRecord& device = adapter.devices[adapter.deviceCount];
        device = DeviceRecord{};
        device.type = type;
        device.description = type == D3DDEVTYPE_HAL ? L"HAL" : L"SW";
        // A type the adapter lacks leaves the caps zeroed; no format then
        // passes the requirements.
        direct3D->GetDeviceCaps(adapterIndex, type, &device.caps);

        bool usable[MaxKeptModes + 1] = {};
        DWORD flags[MaxKeptModes + 1] = {};
        D3DFORMAT depth[MaxKeptModes + 1] = {};
        for (int f = 0; f < formatCount; ++f) {
            if (FAILED(direct3D->CheckDeviceType(adapterIndex, type, formats[f], formats[f], FALSE)))
                continue;
            if (type == D3DDEVTYPE_HAL)
                adapter.hasHal = TRUE;
            else
                adapter.hasSoftware = TRUE;
            depth[f] = D3DFMT_UNKNOWN;
            usable[f] = ChooseBehaviorFlags(device.caps, formats[f], flags[f]) &&
                        (!wantDepthBuffer || ChooseDepthFormat(adapterIndex, type, formats[f], depth[f]));
        }

        for (int m = 0; m < modeCount && device.modeCount < MaxModes; ++m) {
            int f = 0;
            while (formats[f] != modes[m].format)
                ++f;
            if (!usable[f])
                continue;
            ModeRecord& kept = device.modes[device.modeCount++];
            kept = modes[m];
            kept.behaviorFlags = flags[f];
            kept.depthStencilFormat = depth[f];
        }
        device.windowedCapable = usable[0];
        device.defaultMode = FindDefaultMode(device);
        if (device.modeCount > 0) {
            ++adapter.deviceCount;
            if (type == D3DDEVTYPE_HAL)
                adapter.halUsable = TRUE;
            else
                adapter.softwareUsable = TRUE;
        }
    }
}

bool CD3DScreensaver::ChooseBehaviorFlags(const D3DCAPS9& caps, D3DFORMAT format, DWORD& flags)
{
    const DWORD threading = multithreaded ? D3DCREATE_MULTITHREADED : 0;
    if (caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) {
        DWORD tries[3];
        int tryCount = 0;
        if (caps.DevCaps & D3DDEVCAPS_PUREDEVICE)
            tries[tryCount++] = D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE;
        tries[tryCount++] = D3DCREATE_HARDWARE_VERTEXPROCESSING;
        tries[tryCount++] = D3DCREATE_MIXED_VERTEXPROCESSING;
        for (int i = 0; i < tryCount; ++i) {
            if (SUCCEEDED(CheckDeviceRequirements(caps, tries[i], format))) {
                flags = tries[i] | threading;
                return true;
            }
        }
    }
    if (SUCCEEDED(CheckDeviceRequirements(caps, D3DCREATE_SOFTWARE_VERTEXPROCESSING, format))) {
        flags = D3DCREATE_SOFTWARE_VERTEXPROCESSING | threading;
        return true;
    }
    return false;
}

bool CD3DScreensaver::ChooseDepthFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                        D3DFORMAT& depthFormat)
{
    if (!direct3D)
        return false;
    for (const DepthCandidate& candidate : DepthCandidates) {
        if (candidate.depthBits < minDepthBits || candidate.stencilBits < minStencilBits)
            continue;
        if (SUCCEEDED(direct3D->CheckDeviceFormat(adapter, type, adapterFormat, D3DUSAGE_DEPTHSTENCIL,
                                                  D3DRTYPE_SURFACE, candidate.format)) &&
            SUCCEEDED(direct3D->CheckDepthStencilMatch(adapter, type, adapterFormat, adapterFormat,
                                                       candidate.format))) {
            depthFormat = candidate.format;
            return true;
        }
    }
    return false;
}

HRESULT CD3DScreensaver::CreateScreenDevices()
{
    BeginBusy();
    if (mode == LaunchMode::Preview || mode == LaunchMode::Test) {
        windowed = true;
        GetClientRect(mainWindow, &showRect);
        clientRect = showRect;
        const int adapter = FindWindowedAdapter();
        if (adapter < 0) {
            SetError(DeviceCreateFailed);
        } else {
            adapters[adapter]->window = mainWindow;
            ScreenDevice& screen = screenDevices[screenDeviceCount];
            screen = ScreenDevice{};
            screen.adapterIndex = adapter;
            if (SUCCEEDED(CreateWindowedDevice(screen))) {
                ++screenDeviceCount;
            } else {
                screen = ScreenDevice{};
                SetError(mode == LaunchMode::Preview ? NoPreview : DeviceCreateFailed);
            }
        }
    } else {
        windowed = false;
        // A show that draws on no monitor is silent black unless the user
        // chose that for every one of them; otherwise it says why.
        bool allLeftBlack = true;
        bool hardwareDisabled = false;
        for (int m = 0; m < monitorCount && screenDeviceCount < MaxScreenDevices; ++m) {
            const int index = monitors[m].adapterIndex;
            if (index < 0 || index >= adapterCount) {
                if (monitors[m].window)
                    allLeftBlack = false;
                continue;
            }
            AdapterRecord& adapter = *adapters[index];
            if (!adapter.leaveBlack)
                allLeftBlack = false;
            if (adapter.disableHardware && !adapter.softwareUsable) {
                hardwareDisabled = hardwareDisabled || !adapter.leaveBlack;
                adapter.leaveBlack = TRUE;
            }
            if (adapter.leaveBlack || adapter.deviceCount == 0)
                continue;
            adapter.window = monitors[m].window;
            ScreenDevice& screen = screenDevices[screenDeviceCount];
            screen = ScreenDevice{};
            screen.adapterIndex = index;
            if (SUCCEEDED(CreateFullscreenDevice(screen))) {
                ++screenDeviceCount;
            } else {
                screen = ScreenDevice{};
                SetError(DeviceCreateFailed);
            }
        }
        if (screenDeviceCount == 0 && !errorSet && !allLeftBlack)
            SetError(hardwareDisabled ? NoHardwareDevice : NoCompatibleDevice);
    }

    RECT covered{};
    for (int m = 0; m < monitorCount; ++m) {
        MonitorRecord& record = monitors[m];
        if (!record.monitor)
            continue;
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoW(record.monitor, &info))
            record.screen = info.rcMonitor;
        if (mode == LaunchMode::Full && record.window)
            SetWindowPos(record.window, HWND_TOPMOST, record.screen.left, record.screen.top,
                         record.screen.right - record.screen.left, record.screen.bottom - record.screen.top,
                         SWP_NOACTIVATE);
    }
    if (mode == LaunchMode::Full) {
        for (int i = 0; i < screenDeviceCount; ++i) {
            const int m = screenDevices[i].monitorIndex;
            if (m >= 0)
                UnionRect(&covered, &covered, &monitors[m].screen);
        }
        showRect = covered;
    }

    if (!errorSet) {
        for (int i = 0; i < screenDeviceCount; ++i) {
            SelectScreenDevice(i);
            ScreenDevice& screen = screenDevices[i];
            if (FAILED(OnDeviceCreated())) {
                SetError(DeviceObjectsFailed);
                continue;
            }
            screen.objectsCreated = true;
            if (FAILED(OnDeviceRestored())) {
                SetError(DeviceObjectsFailed);
                continue;
            }
            screen.objectsRestored = true;
        }
        DescribeDevice();
    }
    mouseMoveCount = 0;
    RestMouseAtCursor();
    EndBusy();
    return S_OK;
}

void CD3DScreensaver::RestMouseAtCursor()
{
    // Showing and moving the windows makes the system send a move to where
    // the pointer rests; only moves away from there are the user's.
    POINT cursor{};
    if (!GetCursorPos(&cursor))
        return;
    HWND under = mainWindow;
    for (int m = 0; m < monitorCount; ++m) {
        RECT area{};
        if (monitors[m].window && GetWindowRect(monitors[m].window, &area) && PtInRect(&area, cursor)) {
            under = monitors[m].window;
            break;
        }
    }
    if (under && ScreenToClient(under, &cursor))
        LastMousePosition = cursor;
}

int CD3DScreensaver::FindWindowedAdapter() const
{
    for (int m = 0; m < monitorCount; ++m) {
        const int a = monitors[m].adapterIndex;
        if (a >= 0 && a < adapterCount && adapters[a]->halUsable)
            return a;
    }
    int found = -1;
    for (int m = 0; m < monitorCount; ++m) {
        const int a = monitors[m].adapterIndex;
        if (a >= 0 && a < adapterCount && adapters[a]->softwareUsable)
            found = a;
    }
    return found;
}

HRESULT CD3DScreensaver::CreateWindowedDevice(ScreenDevice& screen)
{
    const int a = screen.adapterIndex;
    if (a < 0 || a >= adapterCount)
        return E_FAIL;
    AdapterRecord& adapter = *adapters[a];
    int chosen = adapter.disableHardware ? -1 : FindDevice(adapter, D3DDEVTYPE_HAL, true, false);
    if (chosen < 0)
        chosen = FindDevice(adapter, D3DDEVTYPE_SW, true, true);
    if (chosen < 0)
        return NoHardwareDevice;
    adapter.chosenDevice = chosen;
    const DeviceRecord& device = adapter.devices[chosen];

    D3DFORMAT format = adapter.desktopMode.Format;
    DWORD flags = 0;
    D3DFORMAT depth = D3DFMT_UNKNOWN;
    bool found = SUCCEEDED(ChooseWindowedBehavior(a, device, format, flags, depth));
    for (D3DFORMAT candidate : WindowedFormats) {
        if (found)
            break;
        format = candidate;
        found = SUCCEEDED(ChooseWindowedBehavior(a, device, format, flags, depth));
    }
    if (!found)
        return E_FAIL;

    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = 0;
    parameters.BackBufferHeight = 0;
    parameters.BackBufferFormat = format;
    parameters.BackBufferCount = 1;
    parameters.MultiSampleType = D3DMULTISAMPLE_NONE;
    parameters.SwapEffect = windowedSwapEffect;
    parameters.hDeviceWindow = mainWindow;
    parameters.Windowed = TRUE;
    parameters.EnableAutoDepthStencil = wantDepthBuffer;
    parameters.AutoDepthStencilFormat = depth;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;

    screen.monitorIndex = adapter.monitorIndex;
    screen.deviceType = device.type;
    screen.behaviorFlags = flags;
    // Kept as asked for: CreateDevice fills in the window's size, and a
    // reset should follow the window instead.
    screen.presentParameters = parameters;
    IDirect3DDevice9* created = nullptr;
    const HRESULT hr = CreateD3DDevice(static_cast<UINT>(a), device.type, mainWindow, flags, parameters, &created);
    if (SUCCEEDED(hr))
        screen.device.Attach(created);
    return hr;
}

HRESULT CD3DScreensaver::ChooseWindowedBehavior(int adapter, const DeviceRecord& device, D3DFORMAT format,
                                                DWORD& flags, D3DFORMAT& depthFormat)
{
    const AdapterRecord& record = *adapters[adapter];
    const HRESULT hr = direct3D->CheckDeviceType(static_cast<UINT>(adapter), device.type, record.desktopMode.Format,
                                                 format, TRUE);
    if (FAILED(hr))
        return hr;
    if (!ChooseBehaviorFlags(device.caps, format, flags))
        return E_FAIL;
    depthFormat = D3DFMT_UNKNOWN;
    if (wantDepthBuffer &&
        !ChooseDepthFormat(static_cast<UINT>(adapter), device.type, record.desktopMode.Format, depthFormat))
        return E_FAIL;
    return S_OK;
}

HRESULT CD3DScreensaver::CreateFullscreenDevice(ScreenDevice& screen)
{
    const int a = screen.adapterIndex;
    if (a < 0 || a >= adapterCount || adapters[a]->deviceCount == 0)
        return E_FAIL;
    AdapterRecord& adapter = *adapters[a];
    int chosen = adapter.disableHardware ? -1 : FindDevice(adapter, D3DDEVTYPE_HAL, false, false);
    if (chosen < 0)
        chosen = FindDevice(adapter, D3DDEVTYPE_SW, false, false);
    if (chosen < 0)
        return NoHardwareDevice;
    const DeviceRecord& device = adapter.devices[chosen];
    int modeIndex = ChooseFullscreenMode(adapter, device);
    if (modeIndex < 0)
        return E_FAIL;

    bool fellBack = false;
    for (;;) {
        const ModeRecord& mode = device.modes[modeIndex];
        D3DPRESENT_PARAMETERS parameters{};
        parameters.BackBufferWidth = mode.width;
        parameters.BackBufferHeight = mode.height;
        parameters.BackBufferFormat = mode.format;
        parameters.BackBufferCount = 1;
        parameters.MultiSampleType = D3DMULTISAMPLE_NONE;
        parameters.SwapEffect = fullscreenSwapEffect;
        parameters.hDeviceWindow = adapter.window;
        parameters.Windowed = FALSE;
        parameters.EnableAutoDepthStencil = wantDepthBuffer;
        parameters.AutoDepthStencilFormat = mode.depthStencilFormat;
        parameters.Flags = 0;
        parameters.FullScreen_RefreshRateInHz = 0;
        parameters.PresentationInterval = D3DPRESENT_INTERVAL_ONE;

        screen.monitorIndex = adapter.monitorIndex;
        screen.deviceType = device.type;
        screen.behaviorFlags = mode.behaviorFlags;
        screen.presentParameters = parameters;

        IDirect3DDevice9* created = nullptr;
        HRESULT hr =
            CreateD3DDevice(static_cast<UINT>(a), device.type, mainWindow, mode.behaviorFlags, parameters, &created);
        if (SUCCEEDED(hr)) {
            hr = CheckCreatedDevice(created);
            if (FAILED(hr))
                created->Release();
        }
        if (SUCCEEDED(hr)) {
            screen.device.Attach(created);
            if (fellBack) {
                adapter.storedWidth = mode.width;
                adapter.storedHeight = mode.height;
                adapter.storedFormat = static_cast<DWORD>(mode.format);
                StoreScreenMode(settingsKeyPath, adapter);
            }
            return S_OK;
        }
        if (!PickLowerDisplayMode(device, modeIndex))
            return hr;
        fellBack = true;
    }
}

void CD3DScreensaver::SelectScreenDevice(int index)
{
    ScreenDevice& screen = screenDevices[index];
    device = screen.device.Get();
    if (!windowed && screen.monitorIndex >= 0 && screen.monitorIndex < monitorCount)
        clientRect = monitors[screen.monitorIndex].screen;
    if (device) {
        ComHolder<IDirect3DSurface9> backBuffer;
        if (SUCCEEDED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.Out())))
            backBuffer->GetDesc(&backBufferDesc);
    }
    wcscpy(deviceText, screen.deviceText);
    wcscpy(frameRateText, screen.frameRateText);
    OnScreenSelected(index);
}

bool CD3DScreensaver::TestScreenDevice(int index, bool& drawable)
{
    drawable = true;
    const HRESULT level = TestCooperativeLevel(device);
    if (level == D3DERR_DEVICELOST)
        return false;
    if (level == D3DERR_DEVICENOTRESET)
        RestoreAfterReset(index, drawable);
    return true;
}

void CD3DScreensaver::RestoreAfterReset(int index, bool& drawable)
{
    ScreenDevice& screen = screenDevices[index];
    if (windowed && direct3D && screen.adapterIndex >= 0 && screen.adapterIndex < adapterCount)
        direct3D->GetAdapterDisplayMode(static_cast<UINT>(screen.adapterIndex),
                                        &adapters[screen.adapterIndex]->desktopMode);
    if (screen.objectsRestored) {
        OnDeviceInvalidated();
        screen.objectsRestored = false;
    }
    // Reset writes the sizes it chose into its argument; the kept parameters
    // stay as they were asked for.
    D3DPRESENT_PARAMETERS parameters = screen.presentParameters;
    HRESULT hr = device->Reset(&parameters);
    // The application restores its scene right away, so that this very
    // frame draws it whole.
    if (SUCCEEDED(hr))
        hr = OnDeviceRestored();
    if (SUCCEEDED(hr)) {
        screen.objectsRestored = true;
    } else {
        // The code keeps whatever an earlier failure recorded.
        errorSet = TRUE;
        // The scene lost its device objects and did not get them back: it
        // must not draw with them.
        drawable = false;
    }
}

void CD3DScreensaver::ReleaseScreenDevices()
{
    for (int i = 0; i < screenDeviceCount; ++i) {
        SelectScreenDevice(i);
        ScreenDevice& screen = screenDevices[i];
        if (screen.objectsRestored) {
            OnDeviceInvalidated();
            screen.objectsRestored = false;
        }
        if (screen.objectsCreated) {
            OnDeviceDestroyed();
            screen.objectsCreated = false;
        }
        screen.device.Release();
    }
    screenDeviceCount = 0;
    device = nullptr;
    direct3D.Release();
}

void CD3DScreensaver::DescribeDevice()
{
    for (int i = 0; i < screenDeviceCount; ++i) {
        ScreenDevice& screen = screenDevices[i];
        const bool hal = screen.deviceType == D3DDEVTYPE_HAL;
        const bool softwareVertices = !(screen.behaviorFlags & (D3DCREATE_HARDWARE_VERTEXPROCESSING |
                                                                D3DCREATE_MIXED_VERTEXPROCESSING));
        wchar_t adapterName[MAX_DEVICE_IDENTIFIER_STRING] = {};
        if (hal && screen.adapterIndex >= 0 && screen.adapterIndex < adapterCount)
            MultiByteToWideChar(CP_ACP, 0, adapters[screen.adapterIndex]->identifier.Description, -1, adapterName,
                                MAX_DEVICE_IDENTIFIER_STRING);
        swprintf(screen.deviceText, 90, L"%ls (%ls%ls)%ls%ls", hal ? L"HAL" : L"SW",
                 !hal && !softwareVertices ? L"simulated " : L"", VertexProcessingText(screen.behaviorFlags),
                 hal ? L": " : L"", adapterName);
    }
}

void CD3DScreensaver::UpdateFrameRate()
{
    const double now = ApplicationClock.AbsoluteTime();
    if (frameCountStart < 0)
        frameCountStart = now;
    ++framesCounted;
    if (now - frameCountStart <= 1.0)
        return;
    const double framesPerSecond = framesCounted / (now - frameCountStart);
    for (int i = 0; i < screenDeviceCount; ++i) {
        ScreenDevice& screen = screenDevices[i];
        if (screen.adapterIndex < 0 || screen.adapterIndex >= adapterCount)
            continue;
        const D3DDISPLAYMODE& desktop = adapters[screen.adapterIndex]->desktopMode;
        swprintf(screen.frameRateText, 40, L"%.02f fps (%dx%dx%d)%ls", framesPerSecond,
                 static_cast<int>(desktop.Width), static_cast<int>(desktop.Height), ColourBits(desktop.Format),
                 DepthFormatText(screen.presentParameters.AutoDepthStencilFormat));
    }
    framesCounted = 0;
    frameCountStart = now;
}

HRESULT CD3DScreensaver::CreateD3DDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                                         D3DPRESENT_PARAMETERS& parameters, IDirect3DDevice9** created)
{
    if (!direct3D)
        return E_FAIL;
    return direct3D->CreateDevice(adapter, type, focusWindow, behaviorFlags, &parameters, created);
}

HRESULT CD3DScreensaver::TestCooperativeLevel(IDirect3DDevice9* screenDevice)
{
    return screenDevice->TestCooperativeLevel();
}

HRESULT CD3DScreensaver::PresentScreen(IDirect3DDevice9* screenDevice)
{
    return screenDevice->Present(nullptr, nullptr, nullptr, nullptr);
}
