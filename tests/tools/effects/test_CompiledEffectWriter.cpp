#include "tools/effects/CompiledEffectWriter.h"
#include "tools/effects/FlatColourEffect.h"

#include "foundation/core/ComHolder.h"
#include "tests/support/TestDevice.h"

#include <d3dx9.h>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class CompiledEffectTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.Ok()); }

    ComHolder<ID3DXEffect> Create(const std::vector<uint8_t>& file)
    {
        ComHolder<ID3DXEffect> effect;
        created = D3DXCreateEffect(device.Device(), file.data(), static_cast<UINT>(file.size()), nullptr, nullptr,
                                   0, nullptr, effect.Out(), nullptr);
        return effect;
    }

    TestDevice device{64, 64};
    HRESULT created = E_FAIL;
};

} // namespace

// The pass's states reach the device and the pixels; after End the state
// that Begin saved is back.
TEST_F(CompiledEffectTest, FlatColourEffectDrawsItsColourAndRestoresTheState)
{
    const ComHolder<ID3DXEffect> effect = Create(FlatColourEffect(D3DCOLOR_XRGB(200, 40, 90)));
    ASSERT_EQ(D3D_OK, created);
    ASSERT_TRUE(effect);

    IDirect3DDevice9* d = device.Device();
    d->SetRenderState(D3DRS_TEXTUREFACTOR, D3DCOLOR_XRGB(1, 2, 3));
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0);
    ASSERT_TRUE(DrawEffectQuad(d, effect.Get(), FlatColourTechnique));

    const Pixels pixels = device.ReadBackBuffer();
    EXPECT_TRUE(pixels.AllNear(0, 0, 64, 64, {200, 40, 90, 255}, 1));
    DWORD factor = 0;
    DWORD colourOp = 0;
    d->GetRenderState(D3DRS_TEXTUREFACTOR, &factor);
    d->GetTextureStageState(0, D3DTSS_COLOROP, &colourOp);
    EXPECT_EQ(D3DCOLOR_XRGB(1, 2, 3), factor);
    EXPECT_EQ(static_cast<DWORD>(D3DTOP_MODULATE), colourOp);
}

// Names, counts, shapes and initial values come back as they were written.
TEST_F(CompiledEffectTest, TechniquesPassesAndParametersKeepTheirLayout)
{
    CompiledEffectWriter writer;
    writer.AddParameter({"Strength", "", EffectValueClass::Scalar, 1, 1, {0.25f}});
    writer.AddParameter({"Offset", "POSITION", EffectValueClass::Vector, 1, 3, {1.0f, 2.0f, 3.0f}});
    writer.AddParameter(
        {"Warp", "", EffectValueClass::MatrixRows, 2, 3, {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f}});
    writer.AddTechnique("First").passes = {{"A", {{EffectState::CullMode, 0, D3DCULL_NONE}}},
                                           {"B", {{EffectState::ZEnable, 0, D3DZB_FALSE}}}};
    writer.AddTechnique("Second").passes = {{"Only", {}}};
    const ComHolder<ID3DXEffect> effect = Create(writer.Write());
    ASSERT_EQ(D3D_OK, created);
    ASSERT_TRUE(effect);

    D3DXEFFECT_DESC desc{};
    ASSERT_EQ(D3D_OK, effect->GetDesc(&desc));
    EXPECT_EQ(3u, desc.Parameters);
    EXPECT_EQ(2u, desc.Techniques);

    D3DXTECHNIQUE_DESC first{};
    ASSERT_EQ(D3D_OK, effect->GetTechniqueDesc(effect->GetTechniqueByName("First"), &first));
    EXPECT_EQ(2u, first.Passes);
    D3DXPASS_DESC pass{};
    ASSERT_EQ(D3D_OK, effect->GetPassDesc(effect->GetPass("First", 1), &pass));
    EXPECT_STREQ("B", pass.Name);
    D3DXTECHNIQUE_DESC second{};
    ASSERT_EQ(D3D_OK, effect->GetTechniqueDesc(effect->GetTechniqueByName("Second"), &second));
    EXPECT_EQ(1u, second.Passes);

    float strength = 0;
    EXPECT_EQ(D3D_OK, effect->GetFloat("Strength", &strength));
    EXPECT_EQ(0.25f, strength);

    D3DXPARAMETER_DESC offset{};
    ASSERT_EQ(D3D_OK, effect->GetParameterDesc(effect->GetParameterByName(nullptr, "Offset"), &offset));
    EXPECT_EQ(D3DXPC_VECTOR, offset.Class);
    EXPECT_EQ(1u, offset.Rows);
    EXPECT_EQ(3u, offset.Columns);
    EXPECT_STREQ("POSITION", offset.Semantic);
    float values[6] = {};
    EXPECT_EQ(D3D_OK, effect->GetFloatArray("Offset", values, 3));
    EXPECT_EQ(3.0f, values[2]);

    D3DXPARAMETER_DESC warp{};
    ASSERT_EQ(D3D_OK, effect->GetParameterDesc(effect->GetParameterByName(nullptr, "Warp"), &warp));
    EXPECT_EQ(D3DXPC_MATRIX_ROWS, warp.Class);
    EXPECT_EQ(2u, warp.Rows);
    EXPECT_EQ(3u, warp.Columns);
    EXPECT_EQ(D3D_OK, effect->GetFloatArray("Warp", values, 6));
    EXPECT_EQ(4.0f, values[3]);
    EXPECT_EQ(6.0f, values[5]);
}

TEST(CompiledEffectWriter, ParametersNeedANameAndAFullValue)
{
    CompiledEffectWriter writer;
    EXPECT_THROW(writer.AddParameter({"", "", EffectValueClass::Scalar, 1, 1, {1.0f}}), std::invalid_argument);
    EXPECT_THROW(writer.AddParameter({"Short", "", EffectValueClass::Vector, 1, 4, {1.0f, 2.0f}}),
                 std::invalid_argument);
}
