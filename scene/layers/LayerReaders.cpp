#include "scene/layers/LayerReaders.h"

#include "scene/layerbase/LightReaderRegistry.h"
#include "scene/layers/DS_FlameLight.h"
#include "scene/layers/DS_GlassBallLight.h"
#include "scene/layers/DS_MatrixCodeLight.h"
#include "scene/layers/DS_WaterRingLight.h"
#include "scene/layers/FakeLake2D.h"
#include "scene/layers/FakeUndervater.h"

void RegisterLayerReaders()
{
    RegisterLightReader<DS_FlameLight>(L"DS_FlameLight");
    RegisterLightReader<DS_GlassBallLight>(L"DS_GlassBallLight");
    RegisterLightReader<DS_MatrixCodeLight>(L"DS_MatrixCodeLight");
    RegisterLightReader<FakeUndervater>(L"FakeUndervater");
    RegisterLightReader<FakeLake2D>(L"FakeLake2D");
    RegisterLightReader<DS_WaterRingLight>(L"DS_WaterRingLight");
}
