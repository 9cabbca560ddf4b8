#include "host/framework/CD3DScreensaver.h"
#include "host/music/MusicGraph.h"
#include "tests/host/framework/RecordingSaver.h"

#include <windowsx.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

LPARAM At(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

class WindowProcTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TakeQuitMessage();
        LastMousePosition = {-1, -1};
        saver.mainWindow = window.Get();
        // The show is on screen: its first frame was presented.
        saver.inputCounts = true;
    }
    void TearDown() override { TakeQuitMessage(); }

    LRESULT Send(UINT message, WPARAM wparam = 0, LPARAM lparam = 0)
    {
        return saver.WindowProc(window.Get(), message, wparam, lparam);
    }
    // Whether the show ended: the clean-up ran and the loop was told to quit.
    bool Ended()
    {
        const bool quit = TakeQuitMessage();
        EXPECT_EQ(quit ? 1 : 0, saver.finalCleanups);
        return quit;
    }

    HiddenWindow window;
    RecordingSaver saver;
};

struct InputCase {
    const char* name;
    UINT message;
    WPARAM wparam;
    bool endsFull;
    bool endsTest;
};

const InputCase InputCases[] = {
    {"key", WM_KEYDOWN, VK_SPACE, true, false},
    {"left button", WM_LBUTTONDOWN, 0, true, false},
    {"right button", WM_RBUTTONDOWN, 0, true, false},
    {"middle button", WM_MBUTTONDOWN, 0, true, false},
    {"deactivation", WM_ACTIVATEAPP, FALSE, true, false},
    {"activation", WM_ACTIVATEAPP, TRUE, false, false},
    {"suspend", WM_POWERBROADCAST, PBT_APMSUSPEND, true, true},
    {"resume", WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, false, false},
    {"destroy", WM_DESTROY, 0, false, true},
};

TEST_F(WindowProcTest, InputEndsTheShowByMode)
{
    for (const InputCase& c : InputCases) {
        for (LaunchMode mode : {LaunchMode::Full, LaunchMode::Test, LaunchMode::Preview}) {
            saver.mode = mode;
            saver.finalCleanups = 0;
            Send(c.message, c.wparam);
            // The preview ends only when its window is destroyed.
            const bool expected = mode == LaunchMode::Full      ? c.endsFull
                                  : mode == LaunchMode::Test    ? c.endsTest
                                                                : c.message == WM_DESTROY;
            EXPECT_EQ(expected, Ended()) << c.name << " in mode " << static_cast<int>(mode);
        }
    }
}

TEST_F(WindowProcTest, TheSixthMoveToANewPositionEndsTheShow)
{
    saver.mode = LaunchMode::Full;
    for (int i = 0; i < 5; ++i) {
        Send(WM_MOUSEMOVE, 0, At(10 + i, 20));
        // The same position again never counts.
        Send(WM_MOUSEMOVE, 0, At(10 + i, 20));
    }
    EXPECT_EQ(5, saver.mouseMoveCount);
    EXPECT_FALSE(Ended());
    Send(WM_MOUSEMOVE, 0, At(100, 20));
    EXPECT_TRUE(Ended());
}

TEST_F(WindowProcTest, MovesAreSignExtendedAndTheFirstRealMoveCounts)
{
    saver.mode = LaunchMode::Full;
    LastMousePosition = {-1, -1};
    // (-1, -1) itself is no move.
    Send(WM_MOUSEMOVE, 0, At(-1, -1));
    EXPECT_EQ(0, saver.mouseMoveCount);
    Send(WM_MOUSEMOVE, 0, At(0, 0));
    EXPECT_EQ(1, saver.mouseMoveCount);
    Send(WM_MOUSEMOVE, 0, At(-5, 7));
    EXPECT_EQ(-5, LastMousePosition.x);
    EXPECT_EQ(7, LastMousePosition.y);
}

TEST_F(WindowProcTest, MovesInTestModeDoNothingAndInPreviewNeverEnd)
{
    saver.mode = LaunchMode::Test;
    for (int i = 0; i < 10; ++i)
        Send(WM_MOUSEMOVE, 0, At(i, i));
    EXPECT_EQ(0, saver.mouseMoveCount);
    saver.mode = LaunchMode::Preview;
    for (int i = 0; i < 10; ++i)
        Send(WM_MOUSEMOVE, 0, At(i + 1, i));
    EXPECT_EQ(10, saver.mouseMoveCount);
    EXPECT_FALSE(Ended());
}

TEST_F(WindowProcTest, TheFullScreenShowBlocksSwitchingAndClosingAndHidesTheCursor)
{
    saver.mode = LaunchMode::Full;
    for (WPARAM command : {SC_NEXTWINDOW, SC_PREVWINDOW, SC_CLOSE, SC_SCREENSAVE})
        EXPECT_EQ(0, Send(WM_SYSCOMMAND, command));
    EXPECT_TRUE(IsWindow(window.Get()));
    EXPECT_EQ(TRUE, Send(WM_SETCURSOR));
    EXPECT_EQ(nullptr, GetCursor());
    EXPECT_EQ(1, Send(WM_ERASEBKGND));
    EXPECT_FALSE(Ended());
}

// Only another program closes a full-screen window: the show ends rather
// than run on without its window.
TEST_F(WindowProcTest, ClosingAFullScreenWindowEndsTheShow)
{
    saver.mode = LaunchMode::Full;
    EXPECT_EQ(0, Send(WM_CLOSE));
    EXPECT_TRUE(IsWindow(window.Get()));
    EXPECT_TRUE(Ended());
}

TEST_F(WindowProcTest, ThePreviewTimerClearsTheWait)
{
    saver.mode = LaunchMode::Preview;
    saver.previewWaiting = true;
    Send(WM_USER);
    MSG message{};
    const DWORD start = GetTickCount();
    while (saver.previewWaiting && GetTickCount() - start < 3000) {
        if (GetMessageW(&message, window.Get(), 0, 0) > 0 && message.message == WM_TIMER)
            Send(WM_TIMER, message.wParam);
    }
    EXPECT_FALSE(saver.previewWaiting);
    EXPECT_GE(GetTickCount() - start, 400u);
}

TEST(SaverWndProc, AnExceptionInTheWindowProcedureReturnsOne)
{
    struct ThrowingSaver : RecordingSaver {
        LRESULT WindowProc(HWND, UINT, WPARAM, LPARAM) override { throw std::runtime_error("paint failed"); }
    } saver;
    HiddenWindow window;
    EXPECT_EQ(1, SaverWndProc(window.Get(), WM_PAINT, 0, 0));
}

// The whole create step in the two windowed modes, with real windows.
class CreateStepTest : public ::testing::Test {
protected:
    void SetUp() override { UseEmptyTestSettingsKey(); }
    void TearDown() override
    {
        if (saver.mainWindow && IsWindow(saver.mainWindow))
            DestroyWindow(saver.mainWindow);
        TakeQuitMessage();
    }
    RecordingSaver saver;
};

TEST_F(CreateStepTest, TestModeOpensA600By400WindowAndListsTheAdapters)
{
    ASSERT_EQ(S_OK, saver.CreateFromCommandLine(GetModuleHandleW(nullptr), L"saver.scr /t"));
    EXPECT_FALSE(saver.errorSet) << std::hex << saver.errorCode;
    EXPECT_EQ(LaunchMode::Test, saver.mode);
    ASSERT_NE(nullptr, saver.mainWindow);
    wchar_t className[64] = {};
    GetClassNameW(saver.mainWindow, className, 64);
    EXPECT_EQ(std::wstring(L"D3DSaverWndClass"), className);
    RECT client{};
    GetClientRect(saver.mainWindow, &client);
    EXPECT_EQ(600, client.right - client.left);
    EXPECT_EQ(400, client.bottom - client.top);
    EXPECT_TRUE(EqualRect(&client, &saver.showRect));
    EXPECT_EQ(saver.mainWindow, saver.monitors[0].window);
    EXPECT_GE(saver.adapterCount, 1);
    EXPECT_TRUE(saver.direct3D);
    EXPECT_EQ(THREAD_PRIORITY_IDLE, GetThreadPriority(GetCurrentThread()));
    // The music's graph, made for the test window and the show only.
    EXPECT_TRUE(MusicGraph && MusicControl && MusicSeeking && MusicEvents && MusicAudio);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
}

TEST_F(CreateStepTest, PreviewOpensAChildOfTheParentAndWaitsForItsTimer)
{
    HiddenWindow parent(152, 112, WS_OVERLAPPEDWINDOW);
    const std::wstring line = L"\"C:\\some saver.scr\" /p " +
                              std::to_wstring(reinterpret_cast<uintptr_t>(parent.Get()));
    const DWORD start = GetTickCount();
    ASSERT_EQ(S_OK, saver.CreateFromCommandLine(GetModuleHandleW(nullptr), line.c_str()));
    EXPECT_GE(GetTickCount() - start, 400u);
    EXPECT_FALSE(saver.previewWaiting);
    EXPECT_FALSE(saver.errorSet);
    ASSERT_NE(nullptr, saver.mainWindow);
    EXPECT_EQ(parent.Get(), GetParent(saver.mainWindow));
    RECT parentClient{}, client{};
    GetClientRect(parent.Get(), &parentClient);
    GetClientRect(saver.mainWindow, &client);
    EXPECT_TRUE(EqualRect(&parentClient, &client));
    EXPECT_FALSE(MusicGraph);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
}

TEST_F(CreateStepTest, APreviewWithoutAParentWindowEndsWithoutALoop)
{
    ASSERT_EQ(S_OK, saver.CreateFromCommandLine(GetModuleHandleW(nullptr), L"saver.scr /p"));
    EXPECT_TRUE(saver.errorSet);
    EXPECT_EQ(E_FAIL, saver.errorCode);
    EXPECT_EQ(nullptr, saver.mainWindow);
    // Run returns at once instead of waiting for a window that never comes.
    EXPECT_EQ(S_OK, saver.Run());
    EXPECT_EQ(0, saver.adapterCount);
    EXPECT_FALSE(saver.direct3D);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
}

} // namespace
