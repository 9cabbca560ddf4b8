#include "foundation/resources/EffectParameter.h"

#include "foundation/core/ComHolder.h"
#include "tests/support/TestDevice.h"
#include "tools/effects/FlatColourEffect.h"

#include <d3dx9.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

class EffectParameterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(device.Ok());
        const std::vector<uint8_t> file = FlatColourEffect(0xFF204060);
        ASSERT_EQ(D3D_OK, D3DXCreateEffect(device.Device(), file.data(), static_cast<UINT>(file.size()), nullptr,
                                           nullptr, 0, nullptr, effect.Out(), nullptr));
    }

    void ExpectColour(const float (&expected)[4])
    {
        float value[4] = {};
        ASSERT_EQ(D3D_OK, effect->GetFloatArray(FlatColourParameter, value, 4));
        for (int i = 0; i < 4; ++i)
            EXPECT_FLOAT_EQ(expected[i], value[i]) << i;
    }

    TestDevice device{16, 16};
    ComHolder<ID3DXEffect> effect;
};

} // namespace

// A parameter the effect has is set through its handle as through its name.
TEST_F(EffectParameterTest, HandleOfAPresentNameSetsTheParameter)
{
    EffectParameter colour(FlatColourParameter);
    colour.LookUp(effect.Get());
    ASSERT_NE(nullptr, colour.Handle());
    const float value[4] = {0.25f, 0.5f, 0.75f, 1.0f};
    EXPECT_EQ(D3D_OK, effect->SetFloatArray(colour.Handle(), value, 4));
    ExpectColour(value);
}

// A name the effect lacks gives a null handle; setting it fails as setting
// the missing name does, and leaves every parameter as it was. Without an
// effect every handle is null, and a second look-up replaces the first.
TEST_F(EffectParameterTest, MissingNameOrEffectGivesANullHandleThatSetsNothing)
{
    float before[4] = {};
    ASSERT_EQ(D3D_OK, effect->GetFloatArray(FlatColourParameter, before, 4));

    EffectParameter absent("NoSuchParameter");
    EffectParameter colour(FlatColourParameter);
    LookUpEffectParameters(effect.Get(), {&absent, &colour});
    EXPECT_EQ(nullptr, absent.Handle());
    ASSERT_NE(nullptr, colour.Handle());

    const float value[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const HRESULT byName = effect->SetFloatArray("NoSuchParameter", value, 4);
    EXPECT_TRUE(FAILED(byName));
    EXPECT_EQ(byName, effect->SetFloatArray(absent.Handle(), value, 4));
    ExpectColour(before);

    colour.LookUp(nullptr);
    EXPECT_EQ(nullptr, colour.Handle());
}
