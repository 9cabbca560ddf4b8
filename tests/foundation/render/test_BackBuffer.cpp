#include "foundation/render/BackBuffer.h"
#include "tests/support/RenderTestSupport.h"
#include "tests/support/ScopedCurrentDevice.h"

#include <gtest/gtest.h>

using BackBufferTest = DeviceTest<320, 200>;

// The surface is asked for and let go again: the device keeps its count.
TEST_F(BackBufferTest, DescriptionWithoutKeepingTheSurface)
{
    Device()->AddRef();
    const ULONG before = Device()->Release();
    const D3DSURFACE_DESC desc = GetBackBufferDesc();
    EXPECT_EQ(320u, desc.Width);
    EXPECT_EQ(200u, desc.Height);
    EXPECT_EQ(D3DFMT_X8R8G8B8, desc.Format);
    Device()->AddRef();
    EXPECT_EQ(before, Device()->Release());

    const ScopedCurrentDevice noDevice(nullptr);
    EXPECT_EQ(0u, GetBackBufferDesc().Width);
}
