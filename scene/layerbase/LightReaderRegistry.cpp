#include "scene/layerbase/LightReaderRegistry.h"

#include "scene/layerbase/DS_2D_Light.h"

LightRegistry& LightReaderRegistry()
{
    static LightRegistry registry("BuildLightReaderRegistry", "DestroyLightReaderRegistry");
    return registry;
}

DS_2D_Light* ReadLight(ArchiveHandle& archive) { return ReadByClassName(LightReaderRegistry(), archive); }

void RegisterLayerBaseReaders() { RegisterLightReader<DS_2D_Light>(L"DS_2D_Light"); }
