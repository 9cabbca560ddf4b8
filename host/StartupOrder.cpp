// Everything the program builds before its entry point, in one initializer so
// that the order is the same whatever order the linker gives the translation
// units. No other static initializer of the program may touch the global
// state, the registries or the sound globals.
//
// At exit the atexit functions and the function-local statics end in the
// reverse order of their scheduling: the primary sound buffer, the sound
// device, the show's COM, the constructor, slide and light registries, and
// last the global state.
#include "foundation/archive/ReaderRegistry.h"
#include "foundation/lifecycle/GlobalState.h"
#include "foundation/lifecycle/ShowCom.h"
#include "objects/models/DS_3D_in_2D_array_Constructor.h"
#include "objects/models/DS_ButterflyConstructor.h"
#include "objects/models/DS_ClockConstructor.h"
#include "objects/particles/DS_BirdConstructor.h"
#include "objects/particles/DS_DischargeConstructor.h"
#include "objects/particles/DS_DischargeFXConstructor.h"
#include "objects/particles/DS_FishConstructor.h"
#include "objects/particles/DS_FlowConstructor.h"
#include "objects/particles/DS_FlowerConstructor.h"
#include "objects/particles/DS_FogConstructor.h"
#include "objects/particles/DS_GhostConstructor.h"
#include "objects/particles/DS_GodRayConstructor.h"
#include "objects/particles/DS_GrassConstructor.h"
#include "objects/particles/DS_LightingConstructor.h"
#include "objects/particles/DS_RainConstructor.h"
#include "objects/particles/DS_SparkleConstructor.h"
#include "objects/particles/DS_StatObjConstructor.h"
#include "objects/sound/DS_WAV_Constructor.h"
#include "objects/sound/SoundDevice.h"
#include "scene/brushes/DS_BackgroundCopy.h"
#include "scene/brushes/DS_ExpandFX.h"
#include "scene/brushes/DS_FireFX.h"
#include "scene/brushes/DS_LightFX.h"
#include "scene/brushes/DS_MoveFX.h"
#include "scene/brushes/DS_PatternBrush.h"
#include "scene/brushes/DS_WaterFX.h"
#include "scene/brushes/DS_WavesFX.h"
#include "scene/layers/DS_2D_Light.h"
#include "scene/layers/DS_FlameLight.h"
#include "scene/layers/DS_GlassBallLight.h"
#include "scene/layers/DS_MatrixCodeLight.h"
#include "scene/layers/DS_WaterRingLight.h"
#include "scene/layers/FakeLake2D.h"
#include "scene/layers/FakeUndervater.h"
#include "scene/slideshow/DS_SlideContainer.h"

#include <cstdlib>

namespace {

// The layer, slide and constructor classes that documents name, in their
// registration order. Each class's header is included above when it arrives.
void RegisterDocumentClasses()
{
    // The first registration into each registry builds it and so fixes its
    // place in the exit order: light before slide before constructor. The
    // getters are called here first so that the order holds whichever of the
    // classes below are registered.
    LightReaderRegistry();
    SlideReaderRegistry();
    ConstructorReaderRegistry();

    // A line stays commented out until its class exists.
    RegisterLightReader<DS_2D_Light>(L"DS_2D_Light");
    RegisterLightReader<DS_FlameLight>(L"DS_FlameLight");
    RegisterLightReader<DS_GlassBallLight>(L"DS_GlassBallLight");
    RegisterLightReader<DS_MatrixCodeLight>(L"DS_MatrixCodeLight");
    RegisterSlideReader<DS_SlideContainer>(L"DS_SlideContainer");
    RegisterLightReader<FakeUndervater>(L"FakeUndervater");
    RegisterLightReader<FakeLake2D>(L"FakeLake2D");
    RegisterLightReader<DS_WaterRingLight>(L"DS_WaterRingLight");
    RegisterConstructorReader<DS_GodRayConstructor>(L"DS_GodRayConstructor");
    RegisterConstructorReader<DS_SparkleConstructor>(L"DS_SparkleConstructor");
    RegisterConstructorReader<DS_FlowConstructor>(L"DS_FlowConstructor");
    RegisterConstructorReader<DS_FishConstructor>(L"DS_FishConstructor");
    RegisterConstructorReader<DS_GhostConstructor>(L"DS_GhostConstructor");
    RegisterConstructorReader<DS_FogConstructor>(L"DS_FogConstructor");
    RegisterConstructorReader<DS_LightingConstructor>(L"DS_LightingConstructor");
    RegisterConstructorReader<DS_GrassConstructor>(L"DS_GrassConstructor");
    RegisterConstructorReader<DS_RainConstructor>(L"DS_RainConstructor");
    RegisterConstructorReader<DS_StatObjConstructor>(L"DS_StatObjConstructor");
    RegisterConstructorReader<DS_FlowerConstructor>(L"DS_FlowerConstructor");
    RegisterConstructorReader<DS_BirdConstructor>(L"DS_BirdConstructor");
    RegisterConstructorReader<DS_DischargeConstructor>(L"DS_DischargeConstructor");
    RegisterConstructorReader<DS_DischargeFXConstructor>(L"DS_DischargeFXConstructor");
    RegisterConstructorReader<DS_ButterflyConstructor>(L"DS_ButterflyConstructor");
    RegisterConstructorReader<DS_ClockConstructor>(L"DS_ClockConstructor");
    RegisterConstructorReader<DS_BackgroundCopy>(L"DS_BackgroundCopy");
    RegisterConstructorReader<DS_WavesFX>(L"DS_WavesFX");
    RegisterConstructorReader<DS_LightFX>(L"DS_LightFX");
    RegisterConstructorReader<DS_PatternBrush>(L"DS_PatternBrush");
    RegisterConstructorReader<DS_PatternBrushC>(L"DS_PatternBrushC");
    RegisterConstructorReader<DS_WaterFX>(L"DS_WaterFX");
    RegisterConstructorReader<DS_MoveFX>(L"DS_MoveFX");
    RegisterConstructorReader<DS_FireFX>(L"DS_FireFX");
    RegisterConstructorReader<DS_ExpandFX>(L"DS_ExpandFX");
    RegisterConstructorReader<DS_3D_in_2D_array_Constructor>(L"DS_3D_in_2D_array_Constructor");
}

void ScheduleSoundRelease()
{
    // Scheduled in this order so that the buffer goes before its device, and
    // COM ends only once both are gone.
    std::atexit(EndShowCom);
    std::atexit(ReleaseDirectSound);
    std::atexit(ReleasePrimarySoundBuffer);
}

void RegisterSoundClasses()
{
    RegisterConstructorReader<DS_WAV_Constructor>(L"DS_WAV_Constructor");
}

bool StartUp()
{
    InitGlobalState();
    RegisterDocumentClasses();
    ScheduleSoundRelease();
    RegisterSoundClasses();
    return true;
}

[[maybe_unused]] const bool startedUp = StartUp();

} // namespace
