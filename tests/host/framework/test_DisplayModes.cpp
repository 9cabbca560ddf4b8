#include "host/framework/DisplayModes.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const D3DFORMAT X8 = D3DFMT_X8R8G8B8;
const D3DFORMAT A8 = D3DFMT_A8R8G8B8;
const D3DFORMAT R565 = D3DFMT_R5G6B5;
const D3DFORMAT X555 = D3DFMT_X1R5G5B5;
const D3DFORMAT X444 = D3DFMT_X4R4G4B4;

struct Mode {
    UINT width;
    UINT height;
    D3DFORMAT format;
};

std::unique_ptr<DeviceRecord> MakeDevice(D3DDEVTYPE type, const std::vector<Mode>& modes)
{
    std::unique_ptr<DeviceRecord> device(new DeviceRecord{});
    device->type = type;
    for (const Mode& m : modes)
        device->modes[device->modeCount++] = ModeRecord{m.width, m.height, m.format, 0, D3DFMT_D16};
    return device;
}

std::unique_ptr<AdapterRecord> MakeAdapter(UINT desktopWidth, UINT desktopHeight)
{
    std::unique_ptr<AdapterRecord> adapter(new AdapterRecord{});
    adapter->desktopMode = {desktopWidth, desktopHeight, 60, X8};
    return adapter;
}

TEST(KeepDisplayMode, KeepsDistinctModesOfAtLeast640By400)
{
    ModeRecord modes[MaxModes];
    int count = 0;
    EXPECT_TRUE(KeepDisplayMode(modes, count, {640, 400, 60, X8}));
    EXPECT_FALSE(KeepDisplayMode(modes, count, {640, 399, 60, X8}));
    EXPECT_FALSE(KeepDisplayMode(modes, count, {639, 480, 60, X8}));
    EXPECT_TRUE(KeepDisplayMode(modes, count, {800, 600, 60, X8}));
    // Another refresh rate is the same mode; another format is not.
    EXPECT_FALSE(KeepDisplayMode(modes, count, {800, 600, 75, X8}));
    EXPECT_TRUE(KeepDisplayMode(modes, count, {800, 600, 60, R565}));
    EXPECT_EQ(3, count);
}

TEST(KeepDisplayMode, KeepsAtMostAHundredModes)
{
    ModeRecord modes[MaxModes];
    int count = 0;
    for (UINT i = 0; i < 101; ++i)
        KeepDisplayMode(modes, count, {640 + i, 480, 60, X8});
    EXPECT_EQ(100, count);
    EXPECT_EQ(739u, modes[99].width);
}

TEST(CompareModes, SortsByWidthThenHeightThenLargerFormatFirst)
{
    ModeRecord modes[] = {{800, 600, R565, 0, D3DFMT_UNKNOWN},
                          {640, 480, X8, 0, D3DFMT_UNKNOWN},
                          {800, 600, X8, 0, D3DFMT_UNKNOWN},
                          {800, 480, X8, 0, D3DFMT_UNKNOWN},
                          {800, 600, A8, 0, D3DFMT_UNKNOWN}};
    SortModes(modes, 5);
    const Mode expected[] = {{640, 480, X8}, {800, 480, X8}, {800, 600, R565}, {800, 600, X8}, {800, 600, A8}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(expected[i].width, modes[i].width) << i;
        EXPECT_EQ(expected[i].height, modes[i].height) << i;
        EXPECT_EQ(expected[i].format, modes[i].format) << i;
    }
    EXPECT_EQ(0, CompareModes(modes[0], modes[0]));
}

TEST(FindDefaultMode, TakesTheFirst16Bit640By480ElseTheLast)
{
    EXPECT_EQ(0, FindDefaultMode(*MakeDevice(D3DDEVTYPE_HAL, {{800, 600, X8}})));
    EXPECT_EQ(2, FindDefaultMode(*MakeDevice(D3DDEVTYPE_HAL, {{640, 400, X8}, {640, 480, A8}, {640, 480, X8}})));
    EXPECT_EQ(1, FindDefaultMode(
                     *MakeDevice(D3DDEVTYPE_HAL, {{640, 480, X8}, {640, 480, X555}, {640, 480, R565}, {800, 600, X8}})));
}

TEST(ChooseFullscreenMode, TakesTheStoredModeWhenListed)
{
    auto adapter = MakeAdapter(1280, 1024);
    auto device = MakeDevice(D3DDEVTYPE_HAL, {{800, 600, X8}, {1024, 768, R565}, {1280, 1024, X8}});
    adapter->storedWidth = 1024;
    adapter->storedHeight = 768;
    adapter->storedFormat = R565;
    EXPECT_EQ(1, ChooseFullscreenMode(*adapter, *device));
    // A stored mode the adapter no longer lists falls back to the automatic one.
    adapter->storedFormat = X8;
    EXPECT_EQ(2, ChooseFullscreenMode(*adapter, *device));
}

TEST(ChooseFullscreenMode, HardwareTakesTheDesktopSizeIn32BitsWhenListed)
{
    auto adapter = MakeAdapter(1024, 768);
    EXPECT_EQ(2, ChooseFullscreenMode(*adapter, *MakeDevice(D3DDEVTYPE_HAL, {{800, 600, X8},
                                                                             {1024, 768, R565},
                                                                             {1024, 768, X8},
                                                                             {1024, 768, A8}})));
    EXPECT_EQ(1, ChooseFullscreenMode(*adapter,
                                      *MakeDevice(D3DDEVTYPE_HAL, {{800, 600, X8}, {1024, 768, R565}})));
    // Without the desktop's size, the largest and then deepest mode.
    EXPECT_EQ(2, ChooseFullscreenMode(*adapter, *MakeDevice(D3DDEVTYPE_HAL,
                                                            {{640, 480, X8}, {800, 600, R565}, {800, 600, X8}, {800, 480, A8}})));
}

TEST(ChooseFullscreenMode, SoftwareTakesTheLowestModeAbove400Lines)
{
    auto adapter = MakeAdapter(1024, 768);
    EXPECT_EQ(2, ChooseFullscreenMode(*adapter, *MakeDevice(D3DDEVTYPE_SW, {{640, 400, X8},
                                                                            {640, 480, X8},
                                                                            {640, 480, X444},
                                                                            {640, 480, R565},
                                                                            {800, 600, X8}})));
    EXPECT_EQ(2, ChooseFullscreenMode(*adapter,
                                      *MakeDevice(D3DDEVTYPE_SW, {{800, 600, X8}, {640, 480, X8}, {640, 480, A8}})));
}

struct LowerCase {
    std::vector<Mode> modes;
    int from;
    int expected;  // -1: none
};

TEST(PickLowerDisplayMode, StepsTo16BitsThenToTheNextSmallerArea)
{
    const LowerCase cases[] = {
        // Same size in 16 bits first.
        {{{800, 600, R565}, {800, 600, X8}, {1024, 768, X8}}, 1, 0},
        // From 16 bits: the largest smaller area, 32 bits before 16 on a tie.
        {{{640, 480, X8}, {800, 600, R565}, {800, 600, X8}, {1024, 768, R565}}, 3, 2},
        {{{640, 480, X8}, {800, 600, R565}, {1024, 768, R565}}, 2, 1},
        {{{640, 480, X8}, {800, 600, R565}, {800, 600, X8}}, 1, 0},
        // The smallest mode has nothing below it.
        {{{640, 480, R565}, {800, 600, X8}}, 0, -1},
        {{}, 0, -1},
    };
    for (const LowerCase& c : cases) {
        auto device = MakeDevice(D3DDEVTYPE_HAL, c.modes);
        int mode = c.from;
        const bool found = PickLowerDisplayMode(*device, mode);
        EXPECT_EQ(c.expected >= 0, found) << "from " << c.from;
        if (found) {
            EXPECT_EQ(c.expected, mode) << "from " << c.from;
        }
    }
}

TEST(PickLowerDisplayMode, EndsAfterEveryModeWasTried)
{
    auto device = MakeDevice(D3DDEVTYPE_HAL, {{640, 480, R565}, {640, 480, X8}, {800, 600, R565}, {800, 600, X8}});
    int mode = 3;
    std::vector<int> tried{mode};
    while (PickLowerDisplayMode(*device, mode))
        tried.push_back(mode);
    EXPECT_EQ((std::vector<int>{3, 2, 1, 0}), tried);
}

} // namespace
