// What the end-to-end scripts do from inside Wine: play the parent window of
// a preview, and find, close or notify the screensaver's windows.
//   e2e_helper preview <saver> <signal file>   parent window; destroyed once
//                                              the signal file exists
//   e2e_helper close | suspend                 WM_CLOSE or a suspend broadcast
//   e2e_helper windows                         the saver's top-level windows
//   e2e_helper showbox <text> <signal file> [<width> <height> plain]
//                                              the error box showing text, as
//                                              the saver paints it, at (0, 0)
//                                              until the signal file exists;
//                                              300 × 150 unless given, plain:
//                                              in a window that never held a
//                                              Direct3D device
//   e2e_helper messagebox <title>              the text of the message box of
//                                              that title, once it shows; then
//                                              closes it with OK
#include <windows.h>
#include <d3d9.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const wchar_t* const SaverClass = L"D3DSaverWndClass";
const DWORD SignalTimeout = 30000;
const DWORD ExitTimeout = 10000;

void Pump()
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Waits for handle while this thread's windows keep answering.
bool WaitPumping(HANDLE handle, DWORD timeout)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD left = timeout - (GetTickCount() - start);
        if (GetTickCount() - start >= timeout)
            return false;
        const DWORD got = MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_ALLINPUT);
        if (got == WAIT_OBJECT_0)
            return true;
        Pump();
    }
}

int RunPreview(const char* saver, const char* signal)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = L"NightglassPreviewParent";
    RegisterClassW(&wc);
    HWND parent = CreateWindowW(wc.lpszClassName, L"preview parent", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 320, 240,
                                nullptr, nullptr, wc.hInstance, nullptr);
    if (!parent)
        return 3;
    Pump();

    std::string line = std::string("\"") + saver + "\" /p " +
                       std::to_string(static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(parent)));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 4;
    std::printf("parent %llu\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(parent)));
    std::fflush(stdout);

    const DWORD start = GetTickCount();
    while (GetFileAttributesA(signal) == INVALID_FILE_ATTRIBUTES && GetTickCount() - start < SignalTimeout) {
        Pump();
        Sleep(20);
    }
    const bool ranBeforeDestroy = WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
    if (HWND child = FindWindowExW(parent, nullptr, SaverClass, nullptr)) {
        RECT client{};
        GetClientRect(child, &client);
        std::printf("child %ld %ld\n", client.right - client.left, client.bottom - client.top);
        std::fflush(stdout);
    }
    DestroyWindow(parent);
    const bool ended = WaitPumping(process.hProcess, ExitTimeout);
    if (!ended)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("saver %s\n", !ranBeforeDestroy ? "ended early" : ended ? "ended" : "kept running");
    return ranBeforeDestroy && ended ? 0 : 1;
}

BOOL CALLBACK PrintSaverWindow(HWND window, LPARAM)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wcscmp(name, SaverClass) == 0 && IsWindowVisible(window)) {
        RECT r{};
        GetWindowRect(window, &r);
        std::printf("window %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    }
    return TRUE;
}

// The saver's error box with text, painted the way it paints it into its
// window (the window colour in a black frame, the text centred on it), in a
// window of the box's size at the top left of the screen. Like the saver's
// window it held a Direct3D device first: that changes how this Wine
// smooths the text drawn into it.
const wchar_t* BoxText = L"";

LRESULT CALLBACK BoxWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message != WM_PAINT)
        return DefWindowProcW(window, message, wparam, lparam);
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT box{};
    GetClientRect(window, &box);
    FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));
    FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RECT measured = box;
    DrawTextW(dc, BoxText, -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    RECT area = box;
    area.top = (box.top + box.bottom - (measured.bottom - measured.top)) / 2;
    DrawTextW(dc, BoxText, -1, &area, DT_WORDBREAK | DT_CENTER);
    EndPaint(window, &paint);
    return 0;
}

int ShowBox(const char* text, const char* signal, int width, int height, bool withDevice)
{
    static wchar_t wide[400];
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 400);
    BoxText = wide;
    WNDCLASSW wc{};
    wc.lpfnWndProc = BoxWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"NightglassBoxSample";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"box", WS_POPUP | WS_VISIBLE, 0, 0, width,
                                  height, nullptr, nullptr, wc.hInstance, nullptr);
    if (!window)
        return 3;
    IDirect3D9* direct3D = withDevice ? Direct3DCreate9(D3D_SDK_VERSION) : nullptr;
    if (direct3D) {
        D3DPRESENT_PARAMETERS parameters{};
        parameters.Windowed = TRUE;
        parameters.SwapEffect = D3DSWAPEFFECT_COPY;
        parameters.hDeviceWindow = window;
        IDirect3DDevice9* device = nullptr;
        if (SUCCEEDED(direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                             D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device)))
            device->Release();
        direct3D->Release();
    }
    InvalidateRect(window, nullptr, FALSE);
    const DWORD start = GetTickCount();
    while (GetFileAttributesA(signal) == INVALID_FILE_ATTRIBUTES && GetTickCount() - start < SignalTimeout) {
        Pump();
        Sleep(20);
    }
    DestroyWindow(window);
    return 0;
}

// The message box's text is its static control of id 0xFFFF.
const int MessageBoxTextId = 0xFFFF;

int ReadMessageBox(const char* title)
{
    static wchar_t wideTitle[200];
    MultiByteToWideChar(CP_ACP, 0, title, -1, wideTitle, 200);
    const DWORD start = GetTickCount();
    HWND box = nullptr;
    while (!(box = FindWindowW(L"#32770", wideTitle)) && GetTickCount() - start < SignalTimeout)
        Sleep(100);
    if (!box)
        return 1;
    wchar_t text[512] = {};
    GetDlgItemTextW(box, MessageBoxTextId, text, 512);
    char narrow[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
    std::printf("text %s\n", narrow);
    std::fflush(stdout);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 4 && std::strcmp(argv[1], "preview") == 0)
        return RunPreview(argv[2], argv[3]);
    if (argc >= 7 && std::strcmp(argv[1], "showbox") == 0)
        return ShowBox(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]), std::strcmp(argv[6], "plain") != 0);
    if (argc >= 4 && std::strcmp(argv[1], "showbox") == 0)
        return ShowBox(argv[2], argv[3], 300, 150, true);
    if (argc >= 3 && std::strcmp(argv[1], "messagebox") == 0)
        return ReadMessageBox(argv[2]);
    if (argc >= 2 && std::strcmp(argv[1], "windows") == 0) {
        EnumWindows(PrintSaverWindow, 0);
        return 0;
    }
    if (argc >= 2 && (std::strcmp(argv[1], "close") == 0 || std::strcmp(argv[1], "suspend") == 0)) {
        HWND saver = FindWindowW(SaverClass, nullptr);
        if (!saver)
            return 1;
        if (std::strcmp(argv[1], "close") == 0)
            PostMessageW(saver, WM_CLOSE, 0, 0);
        else
            PostMessageW(saver, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
        return 0;
    }
    std::fprintf(stderr, "usage: e2e_helper preview <saver> <signal> | close | suspend | windows | "
                         "showbox <text> <signal> [<width> <height> plain|device] | messagebox <title>\n");
    return 2;
}
