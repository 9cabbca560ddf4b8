// The underwater brush: its record and assignment, and the wobble's
// parameters from the layer's picture and the brush time.
#include "scene/brushes/DS_UnderwaterFX.h"

#include "tests/support/BrushTestSupport.h"
#include "tests/scene/brushes/WaterBrushTestSupport.h"
#include "tests/support/RecordReading.h"
#include "tools/document/WaterBrushRecords.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using UnderwaterTest = LayerTest<64, 64>;

const FileKey PictureKey{L"picture.png", 3};

} // namespace

// The record's two values and its base; an assignment takes values, scales
// and offsets, so the results follow.
TEST(UnderwaterRecord, ReadsTheValuesAndAssignsThem)
{
    UnderwaterContent content;
    content.amplitude = 80;
    content.wavelength = 20;
    content.base.speed = 30;
    DS_UnderwaterFX read;
    DocumentBuilder builder;
    UnderwaterRecord(builder, content);
    EXPECT_EQ(0u, ReadRecordInto(builder.Take(), read));
    EXPECT_FLOAT_EQ(0.01f, read.amplitude.result);
    EXPECT_FLOAT_EQ(0.041f, read.wavelength.result);
    EXPECT_FLOAT_EQ(30.0f, read.speed.result);
    EXPECT_EQ(88, read.effectLink.value.stamp);

    DS_UnderwaterFX assigned;
    assigned.amplitude.scale = 1.0f;
    assigned = read;
    EXPECT_FLOAT_EQ(0.01f, assigned.amplitude.result);
    EXPECT_FLOAT_EQ(0.041f, assigned.wavelength.result);
    EXPECT_FLOAT_EQ(30.0f, assigned.speed.result);
}

// On a 1024 × 768 picture the defaults give "frequency" (f x aspect, f) with
// f = 1 / 0.101, and "time" is 0.08 of the brush time (25 units a second).
// Without a picture height the aspect stays finite.
TEST_F(UnderwaterTest, FrequencyFollowsThePicture)
{
    const ComHolder<IDirect3DTexture9> picture = SolidTexture(Device(), 0xFF204060);
    AddPicture(manager, PictureKey, picture.Get(), 1024, 768);
    DS_2D_Light layer;
    ActivateLayer(layer, PictureKey, 64, 64, SceneView::Stretch);

    DS_UnderwaterFX water;
    water.BindResources(nullptr);
    ASSERT_TRUE(water.effect);
    RunFor(water, 1.0f);
    Device()->BeginScene();
    water.Apply(layer);
    Device()->EndScene();
    ID3DXEffect* e = water.effect.Get();
    const std::vector<float> frequency = ReadFloats(e, "frequency", 2);
    EXPECT_FLOAT_EQ(13.201320f, frequency[0]);
    EXPECT_FLOAT_EQ(9.900990f, frequency[1]);
    EXPECT_FLOAT_EQ(0.00625f, ReadFloat(e, "amplitude"));
    EXPECT_NEAR(2.0f, ReadFloat(e, "time"), 1e-5f);

    DS_2D_Light empty;
    ASSERT_EQ(0, empty.GetPictureHeight());
    Device()->BeginScene();
    water.Apply(empty);
    Device()->EndScene();
    const std::vector<float> unstretched = ReadFloats(e, "frequency", 2);
    EXPECT_TRUE(std::isfinite(unstretched[0]));
    EXPECT_FLOAT_EQ(9.900990f, unstretched[1]);
}
