#include "tests/host/framework/RecordingSaver.h"

#include "foundation/core/ComHolder.h"
#include "foundation/core/CurrentDevice.h"
#include "host/framework/DeviceRequirements.h"
#include "host/framework/Settings.h"
#include "host/music/MusicGraph.h"

#include <cwchar>

const wchar_t* const TestSettingsKeyPath = L"Software\\Quillmoor\\Glintcraft\\NightglassTests\\Framework\\";

void UseEmptyTestSettingsKey()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, TestSettingsKeyPath);
    SetSettingsKeyPath(TestSettingsKeyPath);
    PicPosCache = PicPosCacheRecord{};
    MusicSettings = MusicSettingsRecord{};
}

namespace {

const wchar_t* const HiddenWindowClass = L"NightglassHostTestWindow";

Pixels ReadBackBuffer(IDirect3DDevice9* device)
{
    ComHolder<IDirect3DSurface9> back;
    if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, back.Out())))
        return {};
    D3DSURFACE_DESC desc{};
    back->GetDesc(&desc);
    ComHolder<IDirect3DSurface9> copy;
    if (FAILED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM,
                                                   copy.Out(), nullptr)) ||
        FAILED(device->GetRenderTargetData(back.Get(), copy.Get())))
        return {};
    D3DLOCKED_RECT locked{};
    if (FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY)))
        return {};
    Pixels pixels = Pixels::FromLocked(locked, static_cast<int>(desc.Width), static_cast<int>(desc.Height),
                                       desc.Format);
    copy->UnlockRect();
    return pixels;
}

} // namespace

HiddenWindow::HiddenWindow(int width, int height, DWORD style)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = HiddenWindowClass;
        RegisterClassW(&wc);
        registered = true;
    }
    window = CreateWindowW(HiddenWindowClass, L"host test", style, 0, 0, width, height, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

HiddenWindow::~HiddenWindow()
{
    if (window)
        DestroyWindow(window);
}

bool TakeQuitMessage()
{
    MSG message{};
    bool quit = false;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        quit = true;
    return quit;
}

RecordingSaver::RecordingSaver()
{
    wantDepthBuffer = true;
    wcscpy(settingsKeyPath, TestSettingsKeyPath);
    // The program's music, so that the create step's graph is the real one.
    music = &GraphMusic();
}

D3DCOLOR RecordingSaver::ColourAfterRestores(int restores)
{
    const D3DCOLOR colours[] = {0xFF204080, 0xFF30C050, 0xFFD06020, 0xFF8020C0};
    return colours[restores % 4];
}

bool RecordingSaver::ListAdapters()
{
    EnumerateMonitors();
    direct3D.Attach(Direct3DCreate9(D3D_SDK_VERSION));
    return direct3D && SUCCEEDED(ListAdapterDevices()) && adapterCount > 0;
}

bool RecordingSaver::PrepareWindowed(HWND window)
{
    mode = LaunchMode::Test;
    mainWindow = window;
    if (!ListAdapters())
        return false;
    monitors[0].window = window;
    GetClientRect(window, &showRect);
    clientRect = showRect;
    return true;
}

HRESULT RecordingSaver::CheckDeviceRequirements(const D3DCAPS9& caps, DWORD, D3DFORMAT format)
{
    return CheckBumpMappingSupport(direct3D.Get(), caps, format);
}

HRESULT RecordingSaver::OnDeviceCreated()
{
    events.push_back("created");
    return S_OK;
}

HRESULT RecordingSaver::OnDeviceRestored()
{
    ++restores;
    events.push_back("restored");
    return S_OK;
}

HRESULT RecordingSaver::OnDeviceInvalidated()
{
    events.push_back("invalidated");
    return S_OK;
}

HRESULT RecordingSaver::OnDeviceDestroyed()
{
    events.push_back("destroyed");
    return S_OK;
}

HRESULT RecordingSaver::RenderFrame()
{
    events.push_back("render");
    if (duringRender)
        duringRender(*this);
    if (!device)
        return S_OK;
    CurrentDevice = device;
    device->Clear(0, nullptr, D3DCLEAR_TARGET, ColourAfterRestores(restores), 1.0f, 0);
    return S_OK;
}

HRESULT RecordingSaver::OnFinalCleanup()
{
    ++finalCleanups;
    return S_OK;
}

HRESULT RecordingSaver::CreateD3DDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                                        D3DPRESENT_PARAMETERS& parameters, IDirect3DDevice9** created)
{
    creations.push_back(parameters);
    if (duringCreation)
        duringCreation(*this);
    if (creationsToFail > 0) {
        --creationsToFail;
        return D3DERR_NOTAVAILABLE;
    }
    if (parameters.Windowed)
        return CD3DScreensaver::CreateD3DDevice(adapter, type, focusWindow, behaviorFlags, parameters, created);
    // A headless X server cannot change its display mode: a full-screen
    // device is stood in for by a windowed one of the mode's size.
    D3DPRESENT_PARAMETERS windowedParameters = parameters;
    windowedParameters.Windowed = TRUE;
    windowedParameters.FullScreen_RefreshRateInHz = 0;
    windowedParameters.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
    return CD3DScreensaver::CreateD3DDevice(adapter, type, focusWindow, behaviorFlags, windowedParameters, created);
}

HRESULT RecordingSaver::TestCooperativeLevel(IDirect3DDevice9* screenDevice)
{
    if (cooperativeLevels.empty())
        return CD3DScreensaver::TestCooperativeLevel(screenDevice);
    const HRESULT level = cooperativeLevels.front();
    cooperativeLevels.pop_front();
    return level;
}

HRESULT RecordingSaver::PresentScreen(IDirect3DDevice9* screenDevice)
{
    events.push_back("present");
    presented.push_back(ReadBackBuffer(screenDevice));
    return CD3DScreensaver::PresentScreen(screenDevice);
}

BOOL RecordingSaver::ReadDisplaySettings(const wchar_t* deviceName, DEVMODEW& settings)
{
    if (displaySettingsFail)
        return FALSE;
    return CD3DScreensaver::ReadDisplaySettings(deviceName, settings);
}
