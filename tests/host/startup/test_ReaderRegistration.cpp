#include "foundation/archive/ReaderRegistry.h"
#include "scene/layerbase/LightReaderRegistry.h"
#include "scene/slideshow/SlideReaderRegistry.h"

#include <gtest/gtest.h>

#include <vector>

// The start-up linked into this test has registered every document class
// before the tests run; each registry keeps its classes in the order they
// were registered.
TEST(ReaderRegistration, EachRegistryHoldsItsClassesInTheStartUpOrder)
{
    const std::vector<ds_string> lights{
        L"DS_2D_Light",    L"DS_FlameLight", L"DS_GlassBallLight", L"DS_MatrixCodeLight",
        L"FakeUndervater", L"FakeLake2D",    L"DS_WaterRingLight",
    };
    EXPECT_EQ(lights, LightReaderRegistry().RegisteredNames());

    const std::vector<ds_string> slides{L"DS_SlideContainer"};
    EXPECT_EQ(slides, SlideReaderRegistry().RegisteredNames());

    const std::vector<ds_string> constructors{
        L"DS_GodRayConstructor",
        L"DS_SparkleConstructor",
        L"DS_FlowConstructor",
        L"DS_FishConstructor",
        L"DS_GhostConstructor",
        L"DS_FogConstructor",
        L"DS_LightingConstructor",
        L"DS_GrassConstructor",
        L"DS_RainConstructor",
        L"DS_StatObjConstructor",
        L"DS_FlowerConstructor",
        L"DS_BirdConstructor",
        L"DS_DischargeConstructor",
        L"DS_DischargeFXConstructor",
        L"DS_ButterflyConstructor",
        L"DS_ClockConstructor",
        L"DS_BackgroundCopy",
        L"DS_WavesFX",
        L"DS_LightFX",
        L"DS_PatternBrush",
        L"DS_PatternBrushC",
        L"DS_WaterFX",
        L"DS_MoveFX",
        L"DS_FireFX",
        L"DS_ExpandFX",
        L"DS_3D_in_2D_array_Constructor",
        L"DS_WAV_Constructor",
    };
    EXPECT_EQ(constructors, ConstructorReaderRegistry().RegisteredNames());
}
