// The message loop, one frame on every screen, and the error reporting: the
// message box outside the show and the moving error box inside it.
#include "host/framework/CD3DScreensaver.h"

#include "host/framework/ErrorTexts.h"
#include "host/framework/SaverClock.h"

#include <mmsystem.h>

namespace {

const DWORD IdleSleepMilliseconds = 30;
const float ErrorBoxWidth = 300;
const float ErrorBoxHeight = 150;
const DWORD ErrorTextSize = 400;
const DWORD MessageTextSize = 512;
// Input counts from the first presented frame on, or from this long after
// the show started when no frame could be presented (devices lost from the
// start), so that the show can always be ended.
const float LongestWaitForAFrame = 10.0f;

RECT BoxRect(const MonitorRecord& record)
{
    return {static_cast<LONG>(record.boxX), static_cast<LONG>(record.boxY),
            static_cast<LONG>(record.boxX + record.boxWidth), static_cast<LONG>(record.boxY + record.boxHeight)};
}

// Reverses a velocity whose next step would leave [low, high].
void Bounce(float position, float size, float& velocity, float dt, LONG low, LONG high)
{
    if ((velocity > 0 && position + size + velocity * dt > high) || (velocity < 0 && position + velocity * dt < low))
        velocity = -velocity;
}

} // namespace

HRESULT CD3DScreensaver::RunMessageLoop()
{
    ApplicationClock.Start();
    if (!errorSet) {
        const HRESULT hr = InitScene();
        // Run shows the failure; shown here as well it would come twice.
        if (FAILED(hr))
            return hr;
        CreateScreenDevices();
    }
    // An end asked for while the devices were made has run already and
    // turned the flag off: it must stay off.
    if (mode == LaunchMode::Full && !showEnded)
        SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, TRUE, nullptr, 0);

    MSG message{};
    for (;;) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                break;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        } else {
            Sleep(IdleSleepMilliseconds);
            if (errorSet)
                AnimateErrorBox();
            else
                DrawAllScreens();
        }
    }
    return S_OK;
}

HRESULT CD3DScreensaver::DrawAllScreens()
{
    BeginBusy();
    appTime = ApplicationClock.ApplicationTime();
    elapsedTime = ApplicationClock.ElapsedTime();
    UpdateFrame();
    UpdateFrameRate();
    if (reclaimActivation && !inputCounts && mainWindow) {
        reclaimActivation = false;
        SetForegroundWindow(mainWindow);
    }

    bool complete = true;
    for (int i = 0; i < screenDeviceCount && complete; ++i) {
        SelectScreenDevice(i);
        if (!device)
            continue;
        bool drawable = true;
        // A lost device ends the frame: nothing of it is presented anywhere.
        complete = TestScreenDevice(i, drawable);
        if (complete && drawable)
            RenderFrame();
    }
    for (int i = 0; i < screenDeviceCount && complete; ++i) {
        SelectScreenDevice(i);
        if (device)
            PresentScreen(device);
    }
    if (complete || appTime > LongestWaitForAFrame)
        StartCountingInput();
    EndBusy();
    return S_OK;
}

void CD3DScreensaver::AnimateErrorBox()
{
    if (screenDeviceCount > 0)
        ReleaseScreenDevices();
    // The box is what the show shows: input ends it from here on.
    StartCountingInput();
    const DWORD now = timeGetTime();
    const float dt = errorBoxTicking ? static_cast<float>(now - lastErrorBoxTick) / 1000.0f : 0.0f;
    lastErrorBoxTick = now;
    errorBoxTicking = true;
    if (!errorText[0])
        GetErrorText(errorCode, errorText, ErrorTextSize);

    for (int m = 0; m < monitorCount; ++m) {
        MonitorRecord& record = monitors[m];
        if (!record.window)
            continue;
        RECT area = showRect;
        if (mode == LaunchMode::Full) {
            area = record.screen;
            MapWindowPoints(nullptr, record.window, reinterpret_cast<POINT*>(&area), 2);
        }
        PlaceErrorBox(record, area, dt);
    }
}

void CD3DScreensaver::PlaceErrorBox(MonitorRecord& record, const RECT& area, float dt)
{
    if (record.boxWidth == 0) {
        if (mode == LaunchMode::Preview) {
            record.boxX = 0;
            record.boxY = 0;
            record.boxWidth = static_cast<float>(area.right - area.left);
            record.boxHeight = static_cast<float>(area.bottom - area.top);
            record.boxVelocityX = 0;
            record.boxVelocityY = 0;
        } else {
            record.boxWidth = ErrorBoxWidth;
            record.boxHeight = ErrorBoxHeight;
            record.boxX = static_cast<float>(area.left + area.right - ErrorBoxWidth) / 2;
            record.boxY = static_cast<float>(area.top + area.bottom - ErrorBoxHeight) / 2;
            record.boxVelocityX = static_cast<float>(area.right - area.left) / 10;
            record.boxVelocityY = static_cast<float>(area.bottom - area.top) / 20;
        }
        // The whole window, not only the box: what the released device last
        // showed must give way to black.
        InvalidateRect(record.window, nullptr, FALSE);
        UpdateWindow(record.window);
        return;
    }
    if (mode == LaunchMode::Preview)
        return;

    Bounce(record.boxX, record.boxWidth, record.boxVelocityX, dt, area.left, area.right);
    Bounce(record.boxY, record.boxHeight, record.boxVelocityY, dt, area.top, area.bottom);
    const RECT before = BoxRect(record);
    record.boxX += record.boxVelocityX * dt;
    record.boxY += record.boxVelocityY * dt;
    const RECT after = BoxRect(record);
    if (!EqualRect(&before, &after)) {
        InvalidateRect(record.window, &before, FALSE);
        InvalidateRect(record.window, &after, FALSE);
        UpdateWindow(record.window);
    }
}

MonitorRecord* CD3DScreensaver::FindMonitorOfWindow(HWND window)
{
    // By window first: a preview or test window may lie on a monitor other
    // than the first, whose record holds its box.
    for (int m = 0; m < monitorCount; ++m) {
        if (monitors[m].window == window)
            return &monitors[m];
    }
    const HMONITOR nearest = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    for (int m = 0; m < monitorCount; ++m) {
        if (nearest && monitors[m].monitor == nearest)
            return &monitors[m];
    }
    return nullptr;
}

void CD3DScreensaver::PaintWindow(HWND window, HDC dc)
{
    const MonitorRecord* record = FindMonitorOfWindow(window);
    if (!record)
        return;
    const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT box = BoxRect(*record);
    if (!IsRectEmpty(&box)) {
        FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));
        FrameRect(dc, &box, black);
        RECT measured = box;
        DrawTextW(dc, errorText, -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
        RECT text = box;
        text.top = (box.top + box.bottom - (measured.bottom - measured.top)) / 2;
        DrawTextW(dc, errorText, -1, &text, DT_WORDBREAK | DT_CENTER);
        ExcludeClipRect(dc, box.left, box.top, box.right, box.bottom);
    }
    // The client area is the monitor in the full-screen show, and the whole
    // window in the others.
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, black);
}

BOOL CD3DScreensaver::GetErrorText(HRESULT code, wchar_t* text, DWORD size)
{
    const UINT string = ErrorStringId(code);
    if (text && size > 0) {
        text[0] = L'\0';
        LoadStringW(instance ? instance : GetModuleHandleW(nullptr), string, text, static_cast<int>(size));
    }
    return string != UnspecifiedErrorString;
}

HRESULT CD3DScreensaver::ShowErrorMessage(HRESULT code)
{
    wchar_t text[MessageTextSize];
    GetErrorText(code, text, MessageTextSize);
    MessageBoxW(mainWindow, text, windowTitle, MB_ICONERROR);
    return code;
}
