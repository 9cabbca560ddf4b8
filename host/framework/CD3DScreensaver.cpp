#include "host/framework/CD3DScreensaver.h"

#include "foundation/core/SaverError.h"
#include "host/runtime/SystemLibrary.h"
#include "res/resource.h"

#include <windowsx.h>

#include <cwchar>

CD3DScreensaver* SaverInstance = nullptr;
POINT LastMousePosition = {-1, -1};

namespace {

// One line of debug output. Written narrow: Wine's OutputDebugStringW passes
// nothing on to its debug channel, and a debugger on Windows shows both.
void DebugLine(const wchar_t* text)
{
    char line[160];
    if (WideCharToMultiByte(CP_UTF8, 0, text, -1, line, sizeof line, nullptr, nullptr) > 0)
        OutputDebugStringA(line);
}

const wchar_t* const WindowClassName = L"D3DSaverWndClass";
const UINT_PTR PreviewTimer = 1;
const UINT PreviewWaitMilliseconds = 500;
// The sixth move to a new position ends the show; fewer are taken for the
// mouse settling when the show starts.
const int MouseMovesTolerated = 5;

const DWORD PreviewStyle = WS_CHILD | WS_VISIBLE;
const DWORD TestStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
const RECT TestClientArea = {50, 50, 650, 450};

typedef DWORD(WINAPI* PasswordChangeProc)(LPCSTR registryKey, HWND parent, DWORD, DWORD);

void CopyText(wchar_t* to, std::size_t size, const wchar_t* from)
{
    wcsncpy(to, from, size - 1);
    to[size - 1] = L'\0';
}

struct MonitorSearch {
    const wchar_t* deviceName;
    HMONITOR monitor;
    RECT screen;
};

BOOL CALLBACK MatchMonitorName(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    auto* search = reinterpret_cast<MonitorSearch*>(data);
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info) && _wcsicmp(info.szDevice, search->deviceName) == 0) {
        search->monitor = monitor;
        search->screen = info.rcMonitor;
        return FALSE;
    }
    return TRUE;
}

// The monitor that shows the display device, its rectangle from the monitor
// itself; none leaves the record without a monitor.
void FindMonitorOfDevice(const wchar_t* deviceName, MonitorRecord& record)
{
    MonitorSearch search{deviceName, nullptr, {}};
    EnumDisplayMonitors(nullptr, nullptr, MatchMonitorName, reinterpret_cast<LPARAM>(&search));
    record.monitor = search.monitor;
    record.screen = search.screen;
}

bool IsShowMode(LaunchMode mode)
{
    return mode == LaunchMode::Preview || mode == LaunchMode::Full || mode == LaunchMode::Test;
}

} // namespace

CD3DScreensaver::CD3DScreensaver()
{
    CopyText(windowTitle, 200, L"Screen Saver");
    SaverInstance = this;
}

CD3DScreensaver::~CD3DScreensaver()
{
    // Normally gone with the screen devices; a show that never made one
    // still must not leave the music to the process's exit, which the graph
    // would not survive.
    if (music)
        music->Release();
    if (SaverInstance == this)
        SaverInstance = nullptr;
}

HRESULT CD3DScreensaver::Create(HINSTANCE moduleInstance)
{
    return CreateFromCommandLine(moduleInstance, GetCommandLineW());
}

HRESULT CD3DScreensaver::CreateFromCommandLine(HINSTANCE moduleInstance, const wchar_t* commandLine)
{
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE);
    instance = moduleInstance;
    mode = ReadLaunchMode(commandLine, parentWindow);
    EnumerateMonitors();

    if (IsShowMode(mode)) {
        const HRESULT opened = OpenShowWindows();
        if (FAILED(opened))
            SetError(opened);
    }
    if (mode == LaunchMode::Preview && mainWindow)
        WaitForPreviewTimer();

    direct3D.Attach(Direct3DCreate9(D3D_SDK_VERSION));
    if (!direct3D) {
        SetError(NoDirect3D);
        return S_OK;
    }
    HRESULT hr = OnDirect3DCreated();
    if (SUCCEEDED(hr))
        hr = ListAdapterDevices();
    if (FAILED(hr)) {
        SetError(hr);
        return S_OK;
    }
    bool anyUsable = false;
    for (int i = 0; i < adapterCount; ++i)
        anyUsable = anyUsable || adapters[i]->halUsable || adapters[i]->softwareUsable;
    if (!anyUsable) {
        SetError(NoCompatibleDevice);
        return S_OK;
    }
    ReadSettings();
    if (music && (mode == LaunchMode::Full || mode == LaunchMode::Test))
        music->Create(mainWindow);
    return S_OK;
}

void CD3DScreensaver::WaitForPreviewTimer()
{
    previewWaiting = true;
    PostMessageW(mainWindow, WM_USER, 0, 0);
    MSG message{};
    while (previewWaiting) {
        const BOOL got = GetMessageW(&message, mainWindow, 0, 0);
        if (got == 0) {
            // The quit was meant for the message loop: leave it there.
            PostQuitMessage(0);
            break;
        }
        // -1: the window was destroyed meanwhile; waiting on it would spin.
        if (got == -1)
            break;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    previewWaiting = false;
}

HRESULT CD3DScreensaver::Run()
{
    switch (mode) {
    case LaunchMode::Configure:
        if (errorSet)
            ShowErrorMessage(errorCode);
        else
            ShowConfigDialog();
        break;
    case LaunchMode::Preview:
    case LaunchMode::Full:
    case LaunchMode::Test:
        if (!mainWindow) {
            // Without a window nothing could ever end the loop. A preview
            // whose parent is gone ends quietly; the other modes say why.
            if (mode != LaunchMode::Preview)
                ShowErrorMessage(errorSet ? errorCode : E_FAIL);
        } else {
            const HRESULT hr = RunMessageLoop();
            if (FAILED(hr))
                ShowErrorMessage(hr);
        }
        break;
    case LaunchMode::RunPasswordChange:
        RunPasswordChange();
        break;
    case LaunchMode::ExtraDialog:
        ShowExtraDialog(nullptr);
        break;
    case LaunchMode::NoOp:
        break;
    }
    for (std::unique_ptr<AdapterRecord>& adapter : adapters)
        adapter.reset();
    adapterCount = 0;
    direct3D.Release();
    return S_OK;
}

void CD3DScreensaver::SetError(HRESULT code)
{
    errorSet = TRUE;
    errorCode = code;
}

void CD3DScreensaver::EnumerateMonitors()
{
    monitorCount = 0;
    DISPLAY_DEVICEW display{};
    display.cb = sizeof display;
    for (DWORD i = 0; monitorCount < MaxMonitors && EnumDisplayDevicesW(nullptr, i, &display, 0); ++i) {
        if (!(display.StateFlags & DISPLAY_DEVICE_MIRRORING_DRIVER)) {
            MonitorRecord& record = monitors[monitorCount++];
            record = MonitorRecord{};
            record.adapterIndex = -1;
            CopyText(record.adapterDescription, 128, display.DeviceString);
            DISPLAY_DEVICEW monitor{};
            monitor.cb = sizeof monitor;
            if (EnumDisplayDevicesW(display.DeviceName, 0, &monitor, 0))
                CopyText(record.monitorDescription, 128, monitor.DeviceString);
            if (display.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) {
                DEVMODEW settings{};
                settings.dmSize = sizeof settings;
                if (ReadDisplaySettings(display.DeviceName, settings)) {
                    POINT origin{0, 0};
                    if (!(display.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE))
                        origin = {settings.dmPosition.x, settings.dmPosition.y};
                    record.screen = {origin.x, origin.y, origin.x + static_cast<LONG>(settings.dmPelsWidth),
                                     origin.y + static_cast<LONG>(settings.dmPelsHeight)};
                    record.monitor = MonitorFromRect(&record.screen, MONITOR_DEFAULTTONULL);
                } else {
                    // Without its mode the device's monitor is found by name.
                    FindMonitorOfDevice(display.DeviceName, record);
                }
            }
        }
        display = DISPLAY_DEVICEW{};
        display.cb = sizeof display;
    }
}

BOOL CD3DScreensaver::ReadDisplaySettings(const wchar_t* deviceName, DEVMODEW& settings)
{
    return EnumDisplaySettingsW(deviceName, ENUM_CURRENT_SETTINGS, &settings);
}

void CD3DScreensaver::RegisterWindowClass()
{
    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = SaverWndProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_NIGHTGLASS));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = WindowClassName;
    // Fails harmlessly when a previous show of this process registered it.
    RegisterClassW(&windowClass);
}

HRESULT CD3DScreensaver::OpenShowWindows()
{
    RegisterWindowClass();
    HWND single = nullptr;
    if (mode == LaunchMode::Preview) {
        RECT area{};
        GetClientRect(parentWindow, &area);
        AdjustWindowRect(&area, PreviewStyle, FALSE);
        single = CreateWindowW(WindowClassName, windowTitle, PreviewStyle, area.left, area.top,
                               area.right - area.left, area.bottom - area.top, parentWindow, nullptr, instance,
                               nullptr);
    } else if (mode == LaunchMode::Full) {
        for (int i = 0; i < monitorCount; ++i) {
            MonitorRecord& record = monitors[i];
            if (!record.monitor)
                continue;
            const RECT& r = record.screen;
            HWND window = CreateWindowExW(WS_EX_TOPMOST, WindowClassName, windowTitle, WS_POPUP | WS_VISIBLE,
                                          r.left, r.top, r.right - r.left, r.bottom - r.top, mainWindow, nullptr,
                                          instance, nullptr);
            if (!window)
                return E_FAIL;
            record.window = window;
            if (!mainWindow)
                mainWindow = window;
        }
    } else if (mode == LaunchMode::Test) {
        RECT area = TestClientArea;
        AdjustWindowRect(&area, TestStyle, FALSE);
        single = CreateWindowW(WindowClassName, windowTitle, TestStyle, area.left, area.top, area.right - area.left,
                               area.bottom - area.top, nullptr, nullptr, instance, nullptr);
    }

    if (single) {
        mainWindow = single;
        monitors[0].window = single;
        GetClientRect(single, &showRect);
        clientRect = showRect;
    }
    return mainWindow ? S_OK : E_FAIL;
}

void CD3DScreensaver::RunPasswordChange()
{
    // A system library: from the system folder only, never from the
    // program's or the current folder.
    HMODULE mpr = LoadSystemLibrary(L"mpr.dll");
    if (!mpr)
        return;
    const auto change = reinterpret_cast<PasswordChangeProc>(
        reinterpret_cast<void*>(GetProcAddress(mpr, "PwdChangePasswordA")));
    if (change)
        change("SCRSAVE", parentWindow, 0, 0);
    FreeLibrary(mpr);
}

LRESULT CD3DScreensaver::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_DESTROY:
        if (mode == LaunchMode::Preview || mode == LaunchMode::Test)
            CloseShow();
        break;
    case WM_CLOSE:
        // Only another program closes a window of the full-screen show (the
        // show refuses SC_CLOSE): destroying it would leave the loop running
        // without a window, so the show ends instead.
        if (mode == LaunchMode::Full) {
            EndShow(L"window closed");
            return 0;
        }
        break;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        if (errorSet || mode != LaunchMode::Preview) {
            PaintWindow(window, dc);
        } else {
            RECT client{};
            GetClientRect(window, &client);
            FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ACTIVATEAPP:
        if (wparam == FALSE && mode != LaunchMode::Test) {
            if (inputCounts) {
                EndShowOnInput(L"deactivated");
            } else {
                DebugLine(L"Nightglass: deactivated before the first frame, ignored\n");
                reclaimActivation = mode == LaunchMode::Full;
            }
        }
        break;
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (mode != LaunchMode::Test && inputCounts)
            EndShowOnInput(message == WM_KEYDOWN ? L"key" : L"mouse button");
        break;
    case WM_MOUSEMOVE:
        if (mode != LaunchMode::Test && inputCounts) {
            const POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
            if (at.x != LastMousePosition.x || at.y != LastMousePosition.y) {
                ++mouseMoveCount;
                LastMousePosition = at;
                if (mouseMoveCount > MouseMovesTolerated)
                    EndShowOnInput(L"mouse moved");
            }
        }
        break;
    case WM_SETCURSOR:
        if (mode == LaunchMode::Full) {
            SetCursor(nullptr);
            return TRUE;
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_SYSCOMMAND:
        if (mode == LaunchMode::Full &&
            (wparam == SC_NEXTWINDOW || wparam == SC_PREVWINDOW || wparam == SC_CLOSE || wparam == SC_SCREENSAVE))
            return 0;
        break;
    case WM_TIMER:
        previewWaiting = false;
        KillTimer(window, PreviewTimer);
        break;
    case WM_POWERBROADCAST:
        if (wparam == PBT_APMSUSPEND)
            EndShowOnInput(L"suspend");
        break;
    case WM_USER:
        SetTimer(window, PreviewTimer, PreviewWaitMilliseconds, nullptr);
        break;
    case MusicEventMessage:
        // One event per message: the music posts one message for each.
        OnMusicEvent(music ? music->NextEvent() : -1);
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

void CD3DScreensaver::EndShowOnInput(const wchar_t* reason)
{
    // The preview ends only when its parent destroys it.
    if (mode == LaunchMode::Test || mode == LaunchMode::Full)
        EndShow(reason);
}

void CD3DScreensaver::CloseShow()
{
    EndShow(L"window destroyed");
}

void CD3DScreensaver::EndShow(const wchar_t* reason)
{
    // Input can arrive while a device is being made, reset or drawn (the
    // device calls send messages to its window): the devices must not go
    // from under that work, so the end waits until it is done.
    if (busy > 0) {
        if (!endRequested)
            requestedEndReason = reason;
        endRequested = true;
        return;
    }
    showEnded = true;
    endReason = reason;
    wchar_t line[96];
    swprintf(line, sizeof line / sizeof *line, L"Nightglass: the show ended: %ls\n", reason);
    DebugLine(line);
    // Releasing a full-screen device gives the desktop back, and the system
    // tells the windows (activation, display change): what that sends here
    // must not end the show a second time while its devices go.
    BeginBusy();
    if (mode == LaunchMode::Full)
        SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
    ReleaseScreenDevices();
    OnFinalCleanup();
    --busy;
    endRequested = false;
    PostQuitMessage(0);
}

void CD3DScreensaver::EndBusy()
{
    if (--busy == 0 && endRequested) {
        endRequested = false;
        EndShow(requestedEndReason);
    }
}

void CD3DScreensaver::StartCountingInput()
{
    if (inputCounts)
        return;
    inputCounts = true;
    mouseMoveCount = 0;
    RestMouseAtCursor();
    // With the line that says why a show ended, this tells from outside when
    // input began to count.
    DebugLine(L"Nightglass: input counts from now on\n");
}

LRESULT CALLBACK SaverWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    try {
        if (SaverInstance)
            return SaverInstance->WindowProc(window, message, wparam, lparam);
        return DefWindowProcW(window, message, wparam, lparam);
    } catch (...) {
        return 1;
    }
}
