#include "host/framework/LaunchMode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

namespace {

struct LaunchCase {
    const wchar_t* line;
    LaunchMode mode;
    uintptr_t parent;
};

std::ostream& operator<<(std::ostream& out, const LaunchCase& c)
{
    std::wstring line(c.line);
    return out << std::string(line.begin(), line.end());
}

class ReadLaunchModeTest : public ::testing::TestWithParam<LaunchCase> {};

TEST_P(ReadLaunchModeTest, GivesTheModeAndParentWindow)
{
    const LaunchCase& c = GetParam();
    // A parent from an earlier reading must not survive.
    HWND parent = reinterpret_cast<HWND>(static_cast<uintptr_t>(999));
    EXPECT_EQ(c.mode, ReadLaunchMode(c.line, parent));
    EXPECT_EQ(c.parent, reinterpret_cast<uintptr_t>(parent));
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ReadLaunchModeTest,
    ::testing::Values(
        LaunchCase{L"saver.scr /s", LaunchMode::Full, 0}, LaunchCase{L"saver.scr -S", LaunchMode::Full, 0},
        LaunchCase{L"saver.scr /x", LaunchMode::Full, 0}, LaunchCase{L"saver.scr", LaunchMode::Configure, 0},
        LaunchCase{L"saver.scr ", LaunchMode::Configure, 0},
        LaunchCase{L"saver.scr /c:1234", LaunchMode::Configure, 1234},
        LaunchCase{L"saver.scr /C", LaunchMode::Configure, 0},
        LaunchCase{L"saver.scr /p 1234", LaunchMode::Preview, 1234},
        LaunchCase{L"saver.scr /P", LaunchMode::Preview, 0}, LaunchCase{L"saver.scr /t", LaunchMode::Test, 0},
        LaunchCase{L"saver.scr /a 77", LaunchMode::RunPasswordChange, 77},
        LaunchCase{L"saver.scr /n", LaunchMode::ExtraDialog, 0}, LaunchCase{L"saver.scr /r", LaunchMode::NoOp, 0},
        // Only A, C and P take a window number.
        LaunchCase{L"saver.scr /t 1234", LaunchMode::Test, 0},
        // The quoted program name is skipped whole, its blanks and '-' too.
        LaunchCase{L"\"C:\\My Savers\\night-glass.scr\" /p 4242", LaunchMode::Preview, 4242},
        LaunchCase{L"\"C:\\My Savers\\night-glass.scr\"", LaunchMode::Configure, 0},
        LaunchCase{L"\"C:\\Savers\\a-b.scr\" -t", LaunchMode::Test, 0},
        // A name without its closing quote, or a bare switch at the end.
        LaunchCase{L"\"C:\\Savers\\broken /s", LaunchMode::Configure, 0},
        LaunchCase{L"saver.scr /", LaunchMode::Full, 0}, LaunchCase{L"saver.scr/s", LaunchMode::Configure, 0},
        LaunchCase{L"", LaunchMode::Configure, 0},
        // A number too large for a window handle keeps the digits that fit.
        LaunchCase{L"saver.scr /p 184467440737095516159", LaunchMode::Preview, 18446744073709551615u}));

TEST(ReadLaunchMode, NoCommandLineIsConfigure)
{
    HWND parent = nullptr;
    EXPECT_EQ(LaunchMode::Configure, ReadLaunchMode(nullptr, parent));
    EXPECT_EQ(nullptr, parent);
}

} // namespace
