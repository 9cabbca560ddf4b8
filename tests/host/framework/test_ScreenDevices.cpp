#include "foundation/core/SaverError.h"
#include "host/framework/DisplayModes.h"
#include "host/framework/MonitorSettings.h"
#include "host/framework/RegistryKey.h"
#include "host/framework/Settings.h"
#include "tests/host/framework/RecordingSaver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

Rgba ColourOf(D3DCOLOR c)
{
    return Rgba::FromArgb(c);
}

// Test mode over window with its one device made and drawn by nothing yet;
// the events of the start are dropped.
::testing::AssertionResult StartWindowedShow(RecordingSaver& saver, HWND window)
{
    if (!saver.PrepareWindowed(window))
        return ::testing::AssertionFailure() << "no adapter";
    saver.CreateScreenDevices();
    if (saver.screenDeviceCount != 1)
        return ::testing::AssertionFailure() << "no screen device, error " << std::hex << saver.errorCode;
    saver.events.clear();
    return ::testing::AssertionSuccess();
}

class ScreenDevicesTest : public ::testing::Test {
protected:
    void SetUp() override { UseEmptyTestSettingsKey(); }
    void TearDown() override { TakeQuitMessage(); }
};

// Two screens: the windowed show's device on the first window and a second
// device of the same adapter on the other, both created and restored.
::testing::AssertionResult StartTwoScreenShow(RecordingSaver& saver, HWND first, HWND second)
{
    if (auto started = StartWindowedShow(saver, first); !started)
        return started;
    ScreenDevice& screen = saver.screenDevices[1];
    screen = ScreenDevice{};
    screen.adapterIndex = saver.screenDevices[0].adapterIndex;
    saver.mainWindow = second;
    const HRESULT hr = saver.CreateWindowedDevice(screen);
    saver.mainWindow = first;
    if (FAILED(hr))
        return ::testing::AssertionFailure() << "second device: " << std::hex << hr;
    screen.objectsCreated = true;
    screen.objectsRestored = true;
    saver.screenDeviceCount = 2;
    return ::testing::AssertionSuccess();
}

TEST_F(ScreenDevicesTest, ListsTheAdapterWithAUsableHardwareDevice)
{
    RecordingSaver saver;
    ASSERT_TRUE(saver.ListAdapters());
    const AdapterRecord& adapter = *saver.adapters[0];
    EXPECT_TRUE(adapter.hasHal);
    EXPECT_TRUE(adapter.halUsable);
    ASSERT_GE(adapter.deviceCount, 1);
    const DeviceRecord& hal = adapter.devices[0];
    EXPECT_EQ(D3DDEVTYPE_HAL, hal.type);
    EXPECT_EQ(std::wstring(L"HAL"), hal.description);
    EXPECT_TRUE(hal.windowedCapable);
    ASSERT_GT(hal.modeCount, 0);
    for (int i = 0; i < hal.modeCount; ++i) {
        EXPECT_GE(hal.modes[i].width, 640u);
        EXPECT_GE(hal.modes[i].height, 400u);
        // The first depth format that fits 16 bits without stencil.
        EXPECT_EQ(D3DFMT_D16, hal.modes[i].depthStencilFormat);
        EXPECT_NE(0u, hal.modes[i].behaviorFlags);
        if (i > 0) {
            EXPECT_LT(CompareModes(hal.modes[i - 1], hal.modes[i]), 0);
        }
    }
    // The monitor and the adapter know each other.
    ASSERT_GE(adapter.monitorIndex, 0);
    EXPECT_EQ(0, saver.monitors[adapter.monitorIndex].adapterIndex);
}

TEST_F(ScreenDevicesTest, RequirementsThatFailLeaveNoUsableDevice)
{
    struct PickySaver : RecordingSaver {
        HRESULT CheckDeviceRequirements(const D3DCAPS9&, DWORD, D3DFORMAT) override { return E_FAIL; }
    } saver;
    saver.EnumerateMonitors();
    saver.direct3D.Attach(Direct3DCreate9(D3D_SDK_VERSION));
    ASSERT_EQ(S_OK, saver.ListAdapterDevices());
    ASSERT_GE(saver.adapterCount, 1);
    EXPECT_TRUE(saver.adapters[0]->hasHal);
    EXPECT_FALSE(saver.adapters[0]->halUsable);
    EXPECT_EQ(0, saver.adapters[0]->deviceCount);
}

TEST_F(ScreenDevicesTest, TestModeMakesOneWindowedDeviceAndDrawsIt)
{
    HiddenWindow window(600, 400);
    RecordingSaver saver;
    ASSERT_TRUE(saver.PrepareWindowed(window.Get()));
    saver.CreateScreenDevices();
    ASSERT_FALSE(saver.errorSet) << std::hex << saver.errorCode;
    ASSERT_EQ(1, saver.screenDeviceCount);
    const ScreenDevice& screen = saver.screenDevices[0];
    EXPECT_TRUE(screen.presentParameters.Windowed);
    EXPECT_EQ(D3DSWAPEFFECT_COPY, screen.presentParameters.SwapEffect);
    EXPECT_EQ(D3DFMT_D16, screen.presentParameters.AutoDepthStencilFormat);
    EXPECT_TRUE(screen.objectsCreated);
    EXPECT_TRUE(screen.objectsRestored);
    EXPECT_EQ((std::vector<std::string>{"created", "restored"}), saver.events);
    EXPECT_EQ(0, std::wstring(screen.deviceText).rfind(L"HAL (", 0)) << screen.deviceText;

    saver.DrawAllScreens();
    ASSERT_EQ(1u, saver.presented.size());
    const Pixels& frame = saver.presented[0];
    ASSERT_EQ(600, frame.Width());
    ASSERT_EQ(400, frame.Height());
    EXPECT_TRUE(frame.AllNear(0, 0, 600, 400, ColourOf(RecordingSaver::ColourAfterRestores(1)), 0));

    saver.ReleaseScreenDevices();
    EXPECT_EQ(0, saver.screenDeviceCount);
    EXPECT_FALSE(saver.direct3D);
    EXPECT_EQ((std::vector<std::string>{"created", "restored", "render", "present", "invalidated", "destroyed"}),
              saver.events);
}

TEST_F(ScreenDevicesTest, AWindowedDeviceThatCannotBeMadeIsNoPreviewInPreviewMode)
{
    HiddenWindow window;
    for (LaunchMode mode : {LaunchMode::Preview, LaunchMode::Test}) {
        RecordingSaver saver;
        ASSERT_TRUE(saver.PrepareWindowed(window.Get()));
        saver.mode = mode;
        saver.creationsToFail = 1;
        saver.CreateScreenDevices();
        EXPECT_TRUE(saver.errorSet);
        EXPECT_EQ(mode == LaunchMode::Preview ? NoPreview : DeviceCreateFailed, saver.errorCode);
        EXPECT_EQ(0, saver.screenDeviceCount);
        EXPECT_TRUE(saver.events.empty());
    }
}

TEST_F(ScreenDevicesTest, ALostDeviceEndsTheFrameWithNothingPresented)
{
    HiddenWindow window(600, 400);
    RecordingSaver saver;
    ASSERT_TRUE(StartWindowedShow(saver, window.Get()));

    saver.cooperativeLevels = {D3DERR_DEVICELOST};
    saver.DrawAllScreens();
    EXPECT_TRUE(saver.events.empty());
    EXPECT_TRUE(saver.presented.empty());
    EXPECT_FALSE(saver.errorSet);

    // Once the device is back the frames go on.
    saver.DrawAllScreens();
    EXPECT_EQ((std::vector<std::string>{"render", "present"}), saver.events);
}

TEST_F(ScreenDevicesTest, ADeviceThatNeedsAResetIsResetRestoredAndDrawnInTheSameFrame)
{
    HiddenWindow window(600, 400);
    RecordingSaver saver;
    ASSERT_TRUE(StartWindowedShow(saver, window.Get()));

    saver.cooperativeLevels = {D3DERR_DEVICENOTRESET};
    saver.DrawAllScreens();
    EXPECT_EQ((std::vector<std::string>{"invalidated", "restored", "render", "present"}), saver.events);
    EXPECT_FALSE(saver.errorSet);
    EXPECT_TRUE(saver.screenDevices[0].objectsRestored);
    ASSERT_EQ(1u, saver.presented.size());
    // Drawn with what the restore made, not what was there before the reset.
    EXPECT_TRUE(saver.presented[0].AllNear(0, 0, 600, 400, ColourOf(RecordingSaver::ColourAfterRestores(2)), 0));
}

// A frame is presented on every screen or on none: a lost second device
// takes the first one's Present with it.
TEST_F(ScreenDevicesTest, ADeviceLostOnTheSecondScreenMeansNoPresentOnTheFirst)
{
    HiddenWindow first(320, 200), second(200, 320);
    RecordingSaver saver;
    ASSERT_TRUE(StartTwoScreenShow(saver, first.Get(), second.Get()));

    saver.cooperativeLevels = {S_OK, D3DERR_DEVICELOST};
    saver.DrawAllScreens();
    EXPECT_EQ((std::vector<std::string>{"render"}), saver.events);
    EXPECT_TRUE(saver.presented.empty());
}

TEST_F(ScreenDevicesTest, TwoDevicesThatNeedAResetAreBothResetAndDrawnInTheSameFrame)
{
    HiddenWindow first(320, 200), second(200, 320);
    RecordingSaver saver;
    ASSERT_TRUE(StartTwoScreenShow(saver, first.Get(), second.Get()));

    saver.cooperativeLevels = {D3DERR_DEVICENOTRESET, D3DERR_DEVICENOTRESET};
    saver.DrawAllScreens();
    EXPECT_EQ((std::vector<std::string>{"invalidated", "restored", "render", "invalidated", "restored", "render",
                                        "present", "present"}),
              saver.events);
    EXPECT_FALSE(saver.errorSet);
    EXPECT_TRUE(saver.screenDevices[0].objectsRestored);
    EXPECT_TRUE(saver.screenDevices[1].objectsRestored);
    // Each screen drawn after its own restore (the clear colour follows the
    // count of restores), at its own size.
    ASSERT_EQ(2u, saver.presented.size());
    EXPECT_EQ(320, saver.presented[0].Width());
    EXPECT_EQ(200, saver.presented[1].Width());
    EXPECT_TRUE(saver.presented[0].AllNear(0, 0, 320, 200, ColourOf(RecordingSaver::ColourAfterRestores(2)), 0));
    EXPECT_TRUE(saver.presented[1].AllNear(0, 0, 200, 320, ColourOf(RecordingSaver::ColourAfterRestores(3)), 0));
}

TEST_F(ScreenDevicesTest, AFailedRestoreAfterAResetSetsTheErrorFlagAndDrawsNothing)
{
    struct FailingRestore : RecordingSaver {
        HRESULT OnDeviceRestored() override
        {
            RecordingSaver::OnDeviceRestored();
            return restores > 1 ? E_FAIL : S_OK;
        }
    };
    HiddenWindow window(600, 400);
    FailingRestore saver;
    ASSERT_TRUE(StartWindowedShow(saver, window.Get()));
    saver.cooperativeLevels = {D3DERR_DEVICENOTRESET};
    saver.DrawAllScreens();
    EXPECT_TRUE(saver.errorSet);
    // The code stays what it was: the error box then gives the unspecified text.
    EXPECT_EQ(S_OK, saver.errorCode);
    EXPECT_FALSE(saver.screenDevices[0].objectsRestored);
    EXPECT_EQ((std::vector<std::string>{"invalidated", "restored", "present"}), saver.events);
}

TEST_F(ScreenDevicesTest, InputDuringAFrameEndsTheShowAfterIt)
{
    HiddenWindow window(600, 400);
    RecordingSaver saver;
    ASSERT_TRUE(StartWindowedShow(saver, window.Get()));
    // Input ends only the full-screen show, once it has shown a frame.
    saver.mode = LaunchMode::Full;
    saver.inputCounts = true;
    saver.duringRender = [](RecordingSaver& s) { s.WindowProc(s.mainWindow, WM_KEYDOWN, VK_SPACE, 0); };
    saver.DrawAllScreens();
    EXPECT_EQ((std::vector<std::string>{"render", "present", "invalidated", "destroyed"}), saver.events);
    EXPECT_EQ(1, saver.finalCleanups);
    EXPECT_EQ(0, saver.screenDeviceCount);
    EXPECT_TRUE(TakeQuitMessage());
}

// Full mode on the first monitor, its window a hidden stand-in.
class FullScreenTest : public ScreenDevicesTest {
protected:
    void SetUp() override
    {
        ScreenDevicesTest::SetUp();
        ASSERT_TRUE(saver.ListAdapters());
        saver.mode = LaunchMode::Full;
        saver.mainWindow = window.Get();
        ASSERT_GE(saver.adapters[0]->monitorIndex, 0);
        saver.monitors[saver.adapters[0]->monitorIndex].window = window.Get();
        // Two modes below the desktop's, whatever the X server lists.
        DeviceRecord& hal = saver.adapters[0]->devices[0];
        const D3DDISPLAYMODE& desktop = saver.adapters[0]->desktopMode;
        const ModeRecord like = hal.modes[0];
        hal.modeCount = 3;
        hal.modes[0] = {640, 480, D3DFMT_X8R8G8B8, like.behaviorFlags, like.depthStencilFormat};
        hal.modes[1] = {800, 600, D3DFMT_X8R8G8B8, like.behaviorFlags, like.depthStencilFormat};
        hal.modes[2] = {desktop.Width, desktop.Height, D3DFMT_X8R8G8B8, like.behaviorFlags, like.depthStencilFormat};
    }

    std::wstring ScreenPath() const
    {
        return std::wstring(TestSettingsKeyPath) + L"Screen " + std::to_wstring(saver.adapters[0]->monitorIndex + 1);
    }

    HiddenWindow window;
    RecordingSaver saver;
};

TEST_F(FullScreenTest, ADeviceMadeAtOnceStoresNothing)
{
    saver.CreateScreenDevices();
    ASSERT_FALSE(saver.errorSet);
    ASSERT_EQ(1u, saver.creations.size());
    const D3DPRESENT_PARAMETERS& asked = saver.creations[0];
    EXPECT_FALSE(asked.Windowed);
    EXPECT_EQ(saver.adapters[0]->desktopMode.Width, asked.BackBufferWidth);
    EXPECT_EQ(D3DSWAPEFFECT_DISCARD, asked.SwapEffect);
    EXPECT_EQ(static_cast<UINT>(D3DPRESENT_INTERVAL_ONE), asked.PresentationInterval);
    EXPECT_EQ(window.Get(), asked.hDeviceWindow);
    RegistryKey screen(HKEY_CURRENT_USER, ScreenPath().c_str(), KEY_READ | KEY_WRITE);
    DWORD width = 0;
    EXPECT_FALSE(screen.ReadDword(L"Width", width));
}

TEST_F(FullScreenTest, AFallBackToALowerModeIsStoredUnderTheMonitorsScreenKey)
{
    saver.creationsToFail = 1;
    saver.CreateScreenDevices();
    ASSERT_FALSE(saver.errorSet) << std::hex << saver.errorCode;
    ASSERT_EQ(1, saver.screenDeviceCount);
    ASSERT_EQ(2u, saver.creations.size());
    EXPECT_EQ(800u, saver.creations[1].BackBufferWidth);
    EXPECT_EQ(800u, saver.adapters[0]->storedWidth);

    RegistryKey screen(HKEY_CURRENT_USER, ScreenPath().c_str(), KEY_READ | KEY_WRITE);
    DWORD width = 0, height = 0, format = 0;
    GUID id{};
    EXPECT_TRUE(screen.ReadDword(L"Width", width));
    EXPECT_TRUE(screen.ReadDword(L"Height", height));
    EXPECT_TRUE(screen.ReadDword(L"Format", format));
    EXPECT_TRUE(screen.ReadBytes(L"Adapter ID", &id, sizeof id));
    EXPECT_EQ(800u, width);
    EXPECT_EQ(600u, height);
    EXPECT_EQ(static_cast<DWORD>(D3DFMT_X8R8G8B8), format);
    EXPECT_TRUE(IsEqualGUID(saver.adapters[0]->identifier.DeviceIdentifier, id));

    // The next start reads the stored mode and uses it at once.
    saver.ReleaseScreenDevices();
    saver.adapters[0]->storedWidth = saver.adapters[0]->storedHeight = saver.adapters[0]->storedFormat = 0;
    saver.direct3D.Attach(Direct3DCreate9(D3D_SDK_VERSION));
    SetSettingsKeyPath(TestSettingsKeyPath);
    ReadSettingsFromRegistry(saver);
    saver.creations.clear();
    saver.CreateScreenDevices();
    ASSERT_EQ(1u, saver.creations.size());
    EXPECT_EQ(800u, saver.creations[0].BackBufferWidth);
    EXPECT_EQ(600u, saver.creations[0].BackBufferHeight);
}

TEST_F(FullScreenTest, MovesCountFromWhereThePointerRestsWhenTheShowStarts)
{
    saver.mouseMoveCount = 3;
    saver.CreateScreenDevices();
    EXPECT_EQ(0, saver.mouseMoveCount);
    saver.DrawAllScreens();
    EXPECT_EQ(0, saver.mouseMoveCount);
    POINT rest{};
    ASSERT_TRUE(GetCursorPos(&rest));
    ScreenToClient(window.Get(), &rest);
    saver.WindowProc(window.Get(), WM_MOUSEMOVE, 0, MAKELPARAM(rest.x, rest.y));
    EXPECT_EQ(0, saver.mouseMoveCount);
    saver.WindowProc(window.Get(), WM_MOUSEMOVE, 0, MAKELPARAM(rest.x + 1, rest.y));
    EXPECT_EQ(1, saver.mouseMoveCount);
}

// A suspend while the devices are being made ends the show once they are:
// the loop then ends at once, and the screensaver-running flag stays off.
TEST_F(FullScreenTest, AnEndAskedForDuringDeviceCreationLeavesTheRunningFlagOff)
{
    SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
    saver.duringCreation = [](RecordingSaver& s) {
        s.WindowProc(s.mainWindow, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    };

    EXPECT_EQ(S_OK, saver.RunMessageLoop());

    EXPECT_EQ(1, saver.finalCleanups);
    EXPECT_EQ(0, saver.screenDeviceCount);
    EXPECT_STREQ(L"suspend", saver.endReason);
    BOOL running = TRUE;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0));
    EXPECT_FALSE(running);
}

TEST_F(FullScreenTest, ADeviceThatFailsInEveryModeIsDeviceCreateFailed)
{
    saver.creationsToFail = 10;
    saver.CreateScreenDevices();
    EXPECT_TRUE(saver.errorSet);
    EXPECT_EQ(DeviceCreateFailed, saver.errorCode);
    EXPECT_EQ(3u, saver.creations.size());
    EXPECT_EQ(0, saver.screenDeviceCount);
    // Nothing made, nothing created on it.
    EXPECT_TRUE(saver.events.empty());
}

// A show that draws on no monitor is black without a word only when the
// user left every monitor black; otherwise the error box says why.
TEST_F(FullScreenTest, LeaveBlackAndDisabledHardwareWithoutSoftwareMakeNoDevice)
{
    saver.adapters[0]->leaveBlack = 1;
    saver.CreateScreenDevices();
    EXPECT_EQ(0, saver.screenDeviceCount);
    EXPECT_TRUE(saver.creations.empty());
    EXPECT_FALSE(saver.errorSet);

    saver.adapters[0]->leaveBlack = 0;
    saver.adapters[0]->disableHardware = 1;
    saver.adapters[0]->softwareUsable = 0;
    saver.CreateScreenDevices();
    EXPECT_EQ(0, saver.screenDeviceCount);
    EXPECT_EQ(1u, saver.adapters[0]->leaveBlack);
    EXPECT_TRUE(saver.errorSet);
    EXPECT_EQ(NoHardwareDevice, saver.errorCode);
}

TEST_F(FullScreenTest, AMonitorWithoutAnAdapterAndNothingElseShownIsAnError)
{
    for (int m = 0; m < saver.monitorCount; ++m)
        saver.monitors[m].adapterIndex = -1;
    saver.CreateScreenDevices();
    EXPECT_EQ(0, saver.screenDeviceCount);
    EXPECT_TRUE(saver.errorSet);
    EXPECT_EQ(NoCompatibleDevice, saver.errorCode);
}

// While the full-screen show starts, its windows are up but nothing is
// drawn yet, and making a full-screen device can take the activation away:
// keys, buttons, moves and deactivation count from the first presented frame
// on. A suspend ends the show at any time.
TEST_F(FullScreenTest, InputCountsFromTheFirstPresentedFrameOn)
{
    saver.duringCreation = [](RecordingSaver& s) { s.WindowProc(s.mainWindow, WM_ACTIVATEAPP, FALSE, 0); };
    saver.CreateScreenDevices();
    ASSERT_EQ(1, saver.screenDeviceCount);
    const HWND w = window.Get();
    saver.WindowProc(w, WM_ACTIVATEAPP, FALSE, 0);
    saver.WindowProc(w, WM_KEYDOWN, VK_SPACE, 0);
    saver.WindowProc(w, WM_LBUTTONDOWN, 0, 0);
    for (int i = 0; i < 8; ++i)
        saver.WindowProc(w, WM_MOUSEMOVE, 0, MAKELPARAM(10 + 20 * i, 10));
    EXPECT_FALSE(TakeQuitMessage());
    EXPECT_EQ(0, saver.finalCleanups);
    EXPECT_EQ(1, saver.screenDeviceCount);
    EXPECT_EQ(nullptr, saver.endReason);

    saver.DrawAllScreens();
    ASSERT_EQ(1u, saver.presented.size());
    saver.WindowProc(w, WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_TRUE(TakeQuitMessage());
    EXPECT_EQ(1, saver.finalCleanups);
    EXPECT_EQ(0, saver.screenDeviceCount);
    EXPECT_STREQ(L"deactivated", saver.endReason);
}

TEST_F(FullScreenTest, TheErrorBoxLetsInputEndTheShow)
{
    saver.creationsToFail = 10;
    saver.CreateScreenDevices();
    ASSERT_TRUE(saver.errorSet);
    saver.WindowProc(window.Get(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(TakeQuitMessage());
    saver.AnimateErrorBox();
    saver.WindowProc(window.Get(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(TakeQuitMessage());
    EXPECT_STREQ(L"key", saver.endReason);
}

// Without the current mode of a display device its monitor is still found,
// with the monitor's own rectangle.
TEST(Monitors, AMonitorWhoseModeCannotBeReadIsFoundByItsDeviceName)
{
    RecordingSaver reading;
    reading.EnumerateMonitors();
    RecordingSaver failing;
    failing.displaySettingsFail = true;
    failing.EnumerateMonitors();
    ASSERT_GE(reading.monitorCount, 1);
    ASSERT_EQ(reading.monitorCount, failing.monitorCount);
    for (int m = 0; m < reading.monitorCount; ++m) {
        const MonitorRecord& expected = reading.monitors[m];
        const MonitorRecord& got = failing.monitors[m];
        EXPECT_EQ(expected.monitor, got.monitor) << m;
        EXPECT_TRUE(EqualRect(&expected.screen, &got.screen))
            << m << ": " << got.screen.left << "," << got.screen.top << " " << got.screen.right << ","
            << got.screen.bottom;
    }
    EXPECT_TRUE(reading.monitors[0].monitor);
    EXPECT_FALSE(IsRectEmpty(&reading.monitors[0].screen));
}

} // namespace
