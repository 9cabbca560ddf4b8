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
//   e2e_helper dialog <caption> <action> ...   works a dialog of the saver
//                                              (DialogCommand below)
//   e2e_helper configure <saver> <signal file> owner window of "/c:<window>";
//                                              reports how the settings dialog
//                                              is owned, cancels it once the
//                                              signal file exists
//   e2e_helper browser <log> ...               stands in for a web browser:
//                                              writes its command line and its
//                                              last argument to the log
#include <windows.h>
#include <commctrl.h>
#include <d3d9.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(size - 1));
    return out;
}

std::wstring Wide(const char* text)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &out[0], size);
    out.resize(static_cast<std::size_t>(size - 1));
    return out;
}

const DWORD AnswerTimeout = 5000;

// The text of another process's window, through WM_GETTEXT.
std::wstring WindowText(HWND window)
{
    wchar_t text[1024] = {};
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, AnswerTimeout,
                        &result);
    return text;
}

LRESULT Ask(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, AnswerTimeout, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

std::wstring ComboItem(HWND combo, int item)
{
    const LRESULT length = Ask(combo, CB_GETLBTEXTLEN, item);
    if (length < 0 || length > 1000)
        return {};
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
    Ask(combo, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

struct DialogSearch {
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<DialogSearch*>(data);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wcscmp(name, L"#32770") == 0 && IsWindowVisible(window) && WindowText(window) == search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The visible dialog with the caption, waiting up to timeout for it.
HWND WaitForDialog(const std::wstring& caption, DWORD timeout)
{
    const DWORD start = GetTickCount();
    for (;;) {
        DialogSearch search{caption.c_str(), nullptr};
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found || GetTickCount() - start >= timeout)
            return search.found;
        Sleep(100);
    }
}

BOOL CALLBACK PrintControl(HWND control, LPARAM)
{
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    const int id = GetDlgCtrlID(control);
    std::string flags;
    if (!IsWindowVisible(control))
        flags += " hidden";
    if (!IsWindowEnabled(control))
        flags += " disabled";
    const std::wstring kind = name;
    if (kind == L"Button" && Ask(control, BM_GETCHECK) == BST_CHECKED)
        flags += " checked";
    std::printf("%d\t%s\t%s\t%s\n", id, Utf8(kind).c_str(), flags.empty() ? "-" : flags.c_str() + 1,
                Utf8(WindowText(control)).c_str());
    if (kind == L"ComboBox") {
        const LRESULT count = Ask(control, CB_GETCOUNT);
        const LRESULT selected = Ask(control, CB_GETCURSEL);
        for (int i = 0; i < count; ++i)
            std::printf("%d\titem%s\t%d\t%s\n", id, i == selected ? " selected" : "", i,
                        Utf8(ComboItem(control, i)).c_str());
    } else if (kind == L"msctls_trackbar32") {
        std::printf("%d\tposition\t%ld\n", id, static_cast<long>(Ask(control, TBM_GETPOS)));
    } else if (kind == L"SysTabControl32") {
        std::printf("%d\ttabs\t%ld\t%ld\n", id, static_cast<long>(Ask(control, TCM_GETITEMCOUNT)),
                    static_cast<long>(Ask(control, TCM_GETCURSEL)));
    }
    return TRUE;
}

// A dialog of the saver, found by its caption (waiting up to 20 s for it):
//   wait                 it is there
//   gone                 it has closed (waiting up to 20 s)
//   texts                its caption, then per control: id, class, state,
//                        text; combo box items, trackbar position, tab count
//   rect <id>            the control's screen rectangle
//   click <id>           a click on the button (posted: the click can open a
//                        modal dialog)
//   select <id> <text>   selects the combo box item with that text, telling
//                        the dialog as a user's choice would
//   slide <id> <pos>     moves the trackbar
int DialogCommand(int argc, char** argv)
{
    const std::wstring caption = Wide(argv[2]);
    const std::string action = argv[3];
    if (action == "gone") {
        const DWORD start = GetTickCount();
        while (WaitForDialog(caption, 0)) {
            if (GetTickCount() - start >= SignalTimeout)
                return 1;
            Sleep(100);
        }
        return 0;
    }
    const HWND dialog = WaitForDialog(caption, 20000);
    if (!dialog) {
        std::fprintf(stderr, "no dialog \"%s\"\n", argv[2]);
        return 1;
    }
    if (action == "wait")
        return 0;
    if (action == "texts") {
        std::printf("caption\t%s\n", Utf8(WindowText(dialog)).c_str());
        EnumChildWindows(dialog, PrintControl, 0);
        return 0;
    }
    if (argc < 5)
        return 2;
    const HWND control = GetDlgItem(dialog, std::atoi(argv[4]));
    if (!control) {
        std::fprintf(stderr, "no control %s\n", argv[4]);
        return 1;
    }
    if (action == "rect") {
        RECT r{};
        GetWindowRect(control, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        return 0;
    }
    if (action == "click")
        return PostMessageW(control, BM_CLICK, 0, 0) ? 0 : 1;
    if (action == "select" && argc >= 6) {
        const std::wstring wanted = Wide(argv[5]);
        const LRESULT count = Ask(control, CB_GETCOUNT);
        for (int i = 0; i < count; ++i) {
            if (ComboItem(control, i) == wanted) {
                Ask(control, CB_SETCURSEL, i);
                PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), CBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(control));
                return 0;
            }
        }
        std::fprintf(stderr, "no item \"%s\"\n", argv[5]);
        return 1;
    }
    if (action == "slide") {
        Ask(control, TBM_SETPOS, TRUE, std::atoi(argv[5]));
        return 0;
    }
    return 2;
}

BOOL CALLBACK FindAnyDialog(HWND window, LPARAM data)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wcscmp(name, L"#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(data) = window;
        return FALSE;
    }
    return TRUE;
}

// The owner window of "/c:<window>": the settings dialog must be owned by it
// and keep it disabled while it is open.
int RunConfigure(const char* saver, const char* signal)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = L"NightglassSettingsOwner";
    RegisterClassW(&wc);
    HWND owner = CreateWindowW(wc.lpszClassName, L"settings owner", WS_POPUP | WS_VISIBLE, 20, 20, 200, 150, nullptr,
                               nullptr, wc.hInstance, nullptr);
    if (!owner)
        return 3;
    Pump();

    std::string line = std::string("\"") + saver + "\" /c:" +
                       std::to_string(static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(owner)));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 4;

    // The dialog disables its owner, which this thread must answer.
    HWND dialog = nullptr;
    const DWORD start = GetTickCount();
    while (!dialog && GetTickCount() - start < SignalTimeout) {
        Pump();
        EnumWindows(FindAnyDialog, reinterpret_cast<LPARAM>(&dialog));
        Sleep(50);
    }
    int failures = 0;
    if (!dialog) {
        std::printf("no dialog\n");
        ++failures;
    } else {
        const DWORD found = GetTickCount();
        while (IsWindowEnabled(owner) && GetTickCount() - found < 2000) {
            Pump();
            Sleep(20);
        }
        const HWND dialogOwner = GetWindow(dialog, GW_OWNER);
        std::printf("owner %s\n", dialogOwner == owner ? "given window" : "other");
        std::printf("given window %s\n", IsWindowEnabled(owner) ? "enabled" : "disabled");
        failures += dialogOwner != owner || IsWindowEnabled(owner);
    }
    std::fflush(stdout);
    while (GetFileAttributesA(signal) == INVALID_FILE_ATTRIBUTES && GetTickCount() - start < SignalTimeout) {
        Pump();
        Sleep(20);
    }
    if (dialog)
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    const bool ended = WaitPumping(process.hProcess, ExitTimeout);
    if (!ended)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    Pump();
    std::printf("saver %s\n", ended ? "ended" : "kept running");
    std::printf("given window after %s\n", IsWindowEnabled(owner) ? "enabled" : "disabled");
    failures += !ended || !IsWindowEnabled(owner);
    DestroyWindow(owner);
    return failures ? 1 : 0;
}

// A stand-in for the browser: the command line as it arrived, and the last
// argument as a program parsing it would see it.
int RecordBrowserStart(const char* log)
{
    const wchar_t* commandLine = GetCommandLineW();
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(commandLine, &count);
    FILE* out = std::fopen(log, "wb");
    if (!out)
        return 3;
    std::fprintf(out, "line %s\nlast %s\n", Utf8(commandLine).c_str(),
                 arguments && count > 0 ? Utf8(arguments[count - 1]).c_str() : "");
    std::fclose(out);
    LocalFree(arguments);
    return 0;
}

// Another program taking the activation while the saver starts: a visible
// window of this helper, made active as soon as a saver window shows, held
// for holdMilliseconds while messages are pumped. Prints "activated" with
// whether this window became the foreground one; 1 when no saver window
// showed within the wait.
int ActivateWhenSaverShows(int holdMilliseconds)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"NightglassHelperActivate";
    RegisterClassW(&windowClass);
    HWND own = CreateWindowW(windowClass.lpszClassName, L"helper", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64, nullptr,
                             nullptr, windowClass.hInstance, nullptr);
    if (!own)
        return 1;
    std::printf("waiting\n");
    std::fflush(stdout);
    const DWORD deadline = GetTickCount() + 30000;
    HWND saver = nullptr;
    while (!saver && GetTickCount() < deadline) {
        saver = FindWindowW(SaverClass, nullptr);
        if (!saver || !IsWindowVisible(saver)) {
            saver = nullptr;
            Sleep(2);
        }
    }
    if (!saver)
        return 1;
    SetForegroundWindow(own);
    SetActiveWindow(own);
    std::printf("activated %s\n", GetForegroundWindow() == own ? "foreground" : "not-foreground");
    std::fflush(stdout);
    const DWORD until = GetTickCount() + static_cast<DWORD>(holdMilliseconds);
    while (GetTickCount() < until) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(10);
    }
    DestroyWindow(own);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "activate") == 0)
        return ActivateWhenSaverShows(std::atoi(argv[2]));
    if (argc >= 4 && std::strcmp(argv[1], "dialog") == 0)
        return DialogCommand(argc, argv);
    if (argc >= 4 && std::strcmp(argv[1], "configure") == 0)
        return RunConfigure(argv[2], argv[3]);
    if (argc >= 3 && std::strcmp(argv[1], "browser") == 0)
        return RecordBrowserStart(argv[2]);
    if (argc >= 4 && std::strcmp(argv[1], "preview") == 0)
        return RunPreview(argv[2], argv[3]);
    if (argc >= 7 && std::strcmp(argv[1], "showbox") == 0)
        return ShowBox(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]), std::strcmp(argv[6], "plain") != 0);
    if (argc >= 4 && std::strcmp(argv[1], "showbox") == 0)
        return ShowBox(argv[2], argv[3], 300, 150, true);
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
    std::fprintf(stderr, "usage: e2e_helper preview <saver> <signal> | activate <milliseconds> | close | suspend | windows | showbox <text> "
                         "<signal> [<width> <height> plain|device] | dialog <caption> <action> ... | configure <saver> "
                         "<signal> | browser <log> ...\n");
    return 2;
}
