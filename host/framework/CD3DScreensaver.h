// The screensaver framework: the mode from the command line, a window per
// monitor (or the preview or test window), a Direct3D device per screen, the
// message loop that draws a frame whenever the queue is empty, the error box,
// and the input that ends the show. The application derives from it and
// fills in the hooks; everything runs on one thread.
#pragma once

#include "foundation/core/ComHolder.h"
#include "host/framework/DeviceRecords.h"
#include "host/framework/LaunchMode.h"
#include "host/framework/ShowMusic.h"

#include <windows.h>
#include <d3d9.h>

#include <memory>

constexpr int MaxMonitors = 9;

// One display device of the desktop, with the error box drawn on it.
struct MonitorRecord {
    wchar_t adapterDescription[128];
    wchar_t monitorDescription[128];
    // Null unless the display device is attached to the desktop.
    HMONITOR monitor;
    RECT screen;
    int adapterIndex;
    HWND window;
    // The error box, in the window's client coordinates, and its velocity in
    // pixels per second.
    float boxX;
    float boxY;
    float boxWidth;
    float boxHeight;
    float boxVelocityX;
    float boxVelocityY;
};

class CD3DScreensaver {
public:
    CD3DScreensaver();
    virtual ~CD3DScreensaver();
    CD3DScreensaver(const CD3DScreensaver&) = delete;
    CD3DScreensaver& operator=(const CD3DScreensaver&) = delete;

    // Mode, monitors, windows, Direct3D and the adapter list, settings.
    // Always 0: a failure is kept in the error state and shown by Run.
    virtual HRESULT Create(HINSTANCE instance);
    // Create with the given command line in place of the process's own.
    HRESULT CreateFromCommandLine(HINSTANCE instance, const wchar_t* commandLine);
    // The settings dialog, the show or the password change, by mode; then
    // the adapter list and the Direct3D object go. Returns 0.
    virtual HRESULT Run();
    virtual void ShowConfigDialog() {}
    virtual void ShowExtraDialog(HWND) {}
    virtual void ReadSettings() {}
    // Paints a show window: the error box on black.
    virtual void PaintWindow(HWND window, HDC dc);
    virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    virtual INT_PTR SoundDialogProc(HWND, UINT, WPARAM, LPARAM) { return 0; }
    virtual void DescribeDevice();
    virtual void UpdateFrameRate();
    // The text of an error code into text (size characters); FALSE when the
    // code has no text of its own and the unspecified-problem text is given.
    virtual BOOL GetErrorText(HRESULT code, wchar_t* text, DWORD size);
    virtual void OnScreenSelected(int) {}
    virtual HRESULT OnDirect3DCreated() { return S_OK; }
    virtual HRESULT CheckDeviceRequirements(const D3DCAPS9&, DWORD, D3DFORMAT) { return S_OK; }
    virtual HRESULT CheckCreatedDevice(IDirect3DDevice9*) { return S_OK; }
    virtual HRESULT InitScene() { return S_OK; }
    virtual HRESULT OnDeviceCreated() { return S_OK; }
    // After each screen device is created and after each successful reset,
    // with that screen selected and before it is drawn: the application
    // restores what OnDeviceInvalidated released.
    virtual HRESULT OnDeviceRestored() { return S_OK; }
    virtual HRESULT UpdateFrame() { return S_OK; }
    virtual HRESULT RenderFrame() { return S_OK; }
    // Before a reset and when the screen devices go, with the screen selected.
    virtual HRESULT OnDeviceInvalidated() { return S_OK; }
    virtual HRESULT OnDeviceDestroyed() { return S_OK; }
    virtual HRESULT OnFinalCleanup() { return S_OK; }
    virtual void OnMusicEvent(int) {}

    // Shows the text of code in a message box; returns code.
    HRESULT ShowErrorMessage(HRESULT code);
    // Records a failure; no frame is drawn once it is set.
    void SetError(HRESULT code);

    // The steps of Create and Run, in their order of use.
    void EnumerateMonitors();
    HRESULT OpenShowWindows();
    HRESULT ListAdapterDevices();
    bool ChooseDepthFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, D3DFORMAT& depthFormat);
    HRESULT RunMessageLoop();
    HRESULT CreateScreenDevices();
    int FindWindowedAdapter() const;
    HRESULT CreateWindowedDevice(ScreenDevice& screen);
    HRESULT ChooseWindowedBehavior(int adapter, const DeviceRecord& device, D3DFORMAT format, DWORD& flags,
                                   D3DFORMAT& depthFormat);
    HRESULT CreateFullscreenDevice(ScreenDevice& screen);
    void SelectScreenDevice(int index);
    HRESULT DrawAllScreens();
    void AnimateErrorBox();
    void ReleaseScreenDevices();
    void RunPasswordChange();
    // Ends the show (Full and Test modes) for the reason given, which the
    // program writes to the debug output.
    void EndShowOnInput(const wchar_t* reason = L"input");
    void CloseShow();

    LaunchMode mode = LaunchMode::Configure;
    DWORD allScreensSame = 0;
    HWND mainWindow = nullptr;
    HWND parentWindow = nullptr;
    HINSTANCE instance = nullptr;
    bool previewWaiting = false;
    int mouseMoveCount = 0;
    bool windowed = false;
    // Keys, buttons, mouse moves and deactivation end the full-screen show
    // only once it shows something: from its first presented frame (or the
    // error box) on. Before that the windows are up but the devices are
    // still being made, and making a full-screen device can itself take the
    // activation away.
    bool inputCounts = false;
    // Why the show ended, or null while it runs.
    const wchar_t* endReason = nullptr;

    BOOL errorSet = FALSE;
    HRESULT errorCode = S_OK;
    wchar_t errorText[400] = {};

    MonitorRecord monitors[MaxMonitors] = {};
    int monitorCount = 0;

    ScreenDevice screenDevices[MaxScreenDevices] = {};
    int screenDeviceCount = 0;

    std::unique_ptr<AdapterRecord> adapters[MaxAdapters];
    int adapterCount = 0;
    ComHolder<IDirect3D9> direct3D;
    // The device of the selected screen device (borrowed).
    IDirect3DDevice9* device = nullptr;

    // The union of the screens in the full-screen show, the window's client
    // area otherwise; and the client rectangle of the selected screen.
    RECT showRect = {};
    RECT clientRect = {};
    D3DSURFACE_DESC backBufferDesc = {};

    wchar_t windowTitle[200] = {};

    bool wantDepthBuffer = false;
    bool multithreaded = false;
    wchar_t settingsKeyPath[MAX_PATH] = {};
    // The music of the show (borrowed); none plays without it.
    ShowMusic* music = nullptr;

    UINT minDepthBits = 16;
    UINT minStencilBits = 0;
    D3DSWAPEFFECT fullscreenSwapEffect = D3DSWAPEFFECT_DISCARD;
    D3DSWAPEFFECT windowedSwapEffect = D3DSWAPEFFECT_COPY;

    float appTime = 0;
    float elapsedTime = 0;

    wchar_t deviceText[90] = {};
    wchar_t frameRateText[40] = {};

protected:
    // The device calls that a test must be able to fail: Wine never loses a
    // device, and a full-screen creation cannot be made to fail on demand.
    virtual HRESULT CreateD3DDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                                    D3DPRESENT_PARAMETERS& parameters, IDirect3DDevice9** created);
    virtual HRESULT TestCooperativeLevel(IDirect3DDevice9* screenDevice);
    virtual HRESULT PresentScreen(IDirect3DDevice9* screenDevice);
    // The current mode of a display device (EnumDisplaySettingsW).
    virtual BOOL ReadDisplaySettings(const wchar_t* deviceName, DEVMODEW& settings);

private:
    void WaitForPreviewTimer();
    void EndShow(const wchar_t* reason);
    // From now on input ends the show; moves count from where the pointer
    // rests.
    void StartCountingInput();
    // Work during which the devices must stay: an end of the show asked for
    // meanwhile runs when the last of it is done.
    void BeginBusy() { ++busy; }
    void EndBusy();
    void RestMouseAtCursor();
    bool ChooseBehaviorFlags(const D3DCAPS9& caps, D3DFORMAT format, DWORD& flags);
    void ListDevices(UINT adapterIndex, AdapterRecord& adapter, const ModeRecord* modes, int modeCount);
    // False when the frame must end at once (a lost device).
    bool TestScreenDevice(int index, bool& drawable);
    void RestoreAfterReset(int index, bool& drawable);
    void PlaceErrorBox(MonitorRecord& record, const RECT& area, float dt);
    MonitorRecord* FindMonitorOfWindow(HWND window);
    void StoreFallbackMode(const AdapterRecord& adapter, const ModeRecord& mode) const;
    void RegisterWindowClass();

    int busy = 0;
    bool endRequested = false;
    const wchar_t* requestedEndReason = nullptr;
    // The show was deactivated before its first frame: the system took the
    // activation while the devices were made, not the user, and a
    // full-screen device stays lost until the show is active again.
    bool reclaimActivation = false;
    // Set once the show has ended (devices released, WM_QUIT posted).
    bool showEnded = false;
    DWORD lastErrorBoxTick = 0;
    bool errorBoxTicking = false;
    int framesCounted = 0;
    double frameCountStart = -1;
};

// The framework object of the process; its window procedure goes here.
extern CD3DScreensaver* SaverInstance;
// The last mouse position the show saw; (-1, -1) until the first move.
extern POINT LastMousePosition;

LRESULT CALLBACK SaverWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
