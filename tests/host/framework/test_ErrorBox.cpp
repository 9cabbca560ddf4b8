#include "foundation/core/SaverError.h"
#include "tests/host/framework/RecordingSaver.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

class ErrorBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saver.monitorCount = 1;
        saver.monitors[0].window = window.Get();
        saver.SetError(MediaNotFound);
    }

    const MonitorRecord& Box() const { return saver.monitors[0]; }

    HiddenWindow window{400, 300};
    RecordingSaver saver;
};

TEST_F(ErrorBoxTest, StartsCentredAndMovesATenthAndATwentiethOfTheAreaPerSecond)
{
    saver.mode = LaunchMode::Test;
    saver.showRect = {0, 0, 1920, 1080};
    saver.AnimateErrorBox();
    EXPECT_EQ(810, Box().boxX);
    EXPECT_EQ(465, Box().boxY);
    EXPECT_EQ(300, Box().boxWidth);
    EXPECT_EQ(150, Box().boxHeight);
    EXPECT_EQ(192, Box().boxVelocityX);
    EXPECT_EQ(54, Box().boxVelocityY);
    EXPECT_EQ(std::wstring(L"Could not load required media."), saver.errorText);

    Sleep(50);
    saver.AnimateErrorBox();
    EXPECT_GT(Box().boxX, 810);
    EXPECT_GT(Box().boxY, 465);
    // Both moved by the same time step.
    EXPECT_NEAR((Box().boxX - 810) / 192, (Box().boxY - 465) / 54, 1e-3);
}

TEST_F(ErrorBoxTest, BouncesOffTheEdgesOfTheArea)
{
    saver.mode = LaunchMode::Test;
    saver.showRect = {0, 0, 1920, 1080};
    saver.AnimateErrorBox();
    saver.monitors[0].boxX = 1920 - 300 - 1;
    saver.monitors[0].boxY = 1;
    saver.monitors[0].boxVelocityY = -54;
    Sleep(50);
    saver.AnimateErrorBox();
    EXPECT_EQ(-192, Box().boxVelocityX);
    EXPECT_EQ(54, Box().boxVelocityY);
    EXPECT_LT(Box().boxX, 1920 - 300 - 1);
    EXPECT_GT(Box().boxY, 1);
}

TEST_F(ErrorBoxTest, ThePreviewBoxFillsTheWindowAndStays)
{
    saver.mode = LaunchMode::Preview;
    saver.showRect = {0, 0, 152, 112};
    saver.AnimateErrorBox();
    Sleep(20);
    saver.AnimateErrorBox();
    EXPECT_EQ(0, Box().boxX);
    EXPECT_EQ(0, Box().boxY);
    EXPECT_EQ(152, Box().boxWidth);
    EXPECT_EQ(112, Box().boxHeight);
    EXPECT_EQ(0, Box().boxVelocityX);
}

TEST_F(ErrorBoxTest, TheFullScreenBoxMovesOverItsMonitorInWindowCoordinates)
{
    saver.mode = LaunchMode::Full;
    RECT placed{};
    GetWindowRect(window.Get(), &placed);
    saver.monitors[0].screen = {placed.left, placed.top, placed.left + 400, placed.top + 300};
    saver.AnimateErrorBox();
    EXPECT_EQ(50, Box().boxX);
    EXPECT_EQ(75, Box().boxY);
    EXPECT_EQ(40, Box().boxVelocityX);
    EXPECT_EQ(15, Box().boxVelocityY);
}

TEST_F(ErrorBoxTest, TheFirstPassReleasesTheScreenDevices)
{
    HiddenWindow show(600, 400);
    ASSERT_TRUE(saver.PrepareWindowed(show.Get()));
    saver.errorSet = FALSE;
    saver.CreateScreenDevices();
    ASSERT_EQ(1, saver.screenDeviceCount);
    saver.SetError(MediaNotFound);
    saver.AnimateErrorBox();
    EXPECT_EQ(0, saver.screenDeviceCount);
    EXPECT_EQ((std::vector<std::string>{"created", "restored", "invalidated", "destroyed"}), saver.events);
}

// What PaintWindow leaves in a 400 × 300 bitmap.
class PaintedWindow {
public:
    PaintedWindow(CD3DScreensaver& saver, HWND window)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = Width;
        info.bmiHeader.biHeight = -Height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        old = SelectObject(dc, bitmap);
        for (int i = 0; i < Width * Height; ++i)
            bits[i] = 0x00FF00FF;
        saver.PaintWindow(window, dc);
        GdiFlush();
    }
    ~PaintedWindow()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const
    {
        const uint32_t p = bits[y * Width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels of row y within [x0, x1) that are neither the window colour nor black.
    int DarkPixels(int x0, int x1, int y0, int y1) const
    {
        int count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                count += At(x, y) != GetSysColor(COLOR_WINDOW) ? 1 : 0;
        return count;
    }

    static const int Width = 400;
    static const int Height = 300;

private:
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* bits = nullptr;
};

TEST_F(ErrorBoxTest, PaintsTheBoxWithItsTextOnBlack)
{
    saver.mode = LaunchMode::Test;
    saver.showRect = {0, 0, 400, 300};
    saver.AnimateErrorBox();
    const PaintedWindow painted(saver, window.Get());
    const COLORREF black = RGB(0, 0, 0);
    // Box (50, 75)-(350, 225): framed in black, filled with the window colour.
    EXPECT_EQ(black, painted.At(10, 10));
    EXPECT_EQ(black, painted.At(399, 299));
    EXPECT_EQ(black, painted.At(49, 150));
    EXPECT_EQ(black, painted.At(50, 150));
    EXPECT_EQ(black, painted.At(349, 150));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), painted.At(60, 80));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), painted.At(340, 220));
    // The text sits in the middle rows of the box, not at its top.
    EXPECT_GT(painted.DarkPixels(52, 348, 140, 160), 20);
    EXPECT_EQ(0, painted.DarkPixels(52, 348, 77, 110));
}

TEST_F(ErrorBoxTest, WithoutAnErrorAShowWindowIsPaintedBlack)
{
    saver.errorSet = FALSE;
    const PaintedWindow painted(saver, window.Get());
    for (int y = 0; y < PaintedWindow::Height; y += 37)
        for (int x = 0; x < PaintedWindow::Width; x += 41)
            EXPECT_EQ(RGB(0, 0, 0), painted.At(x, y)) << x << ", " << y;
}

} // namespace
