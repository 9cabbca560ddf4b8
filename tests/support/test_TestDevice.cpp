#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

TEST(TestDevice, ClearedColourReadsBack)
{
    TestDevice dev(320, 200);
    ASSERT_TRUE(dev.Ok());

    ASSERT_EQ(D3D_OK, dev.Device()->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(200, 40, 90), 1.0f, 0));
    const Pixels back = dev.ReadBackBuffer();

    ASSERT_EQ(320, back.Width());
    ASSERT_EQ(200, back.Height());
    EXPECT_TRUE(back.AllNear(0, 0, 320, 200, Rgba{200, 40, 90, 255}, 0));
}

TEST(TestDevice, ClearOfARectangleLeavesTheRestAlone)
{
    TestDevice dev(64, 64);
    ASSERT_TRUE(dev.Ok());
    dev.Device()->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
    const D3DRECT right{32, 0, 64, 64};
    dev.Device()->Clear(1, &right, D3DCLEAR_TARGET, D3DCOLOR_XRGB(10, 250, 30), 1.0f, 0);

    const Pixels back = dev.ReadBackBuffer();
    EXPECT_TRUE(ColourNear(back.At(10, 10), Rgba{0, 0, 0, 255}, 0));
    EXPECT_TRUE(ColourNear(back.At(40, 50), Rgba{10, 250, 30, 255}, 0));
}
