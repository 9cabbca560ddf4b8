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
#include "objects/models/ModelReaders.h"
#include "objects/particles/ParticleReaders.h"
#include "objects/sound/SoundDevice.h"
#include "objects/sound/SoundReaders.h"
#include "scene/brushes/BrushReaders.h"
#include "scene/layerbase/LightReaderRegistry.h"
#include "scene/layers/LayerReaders.h"
#include "scene/slideshow/SlideReaderRegistry.h"

#include <cstdlib>

namespace {

// The layer, slide and constructor classes that documents name, each
// registry in its registration order.
void RegisterDocumentClasses()
{
    // The first registration into each registry builds it and so fixes its
    // place in the exit order: light before slide before constructor. The
    // getters are called here first so that the order holds whatever the
    // functions below register.
    LightReaderRegistry();
    SlideReaderRegistry();
    ConstructorReaderRegistry();

    RegisterLayerBaseReaders();
    RegisterLayerReaders();
    RegisterSlideReaders();
    RegisterParticleReaders();
    RegisterModelReaders();
    RegisterBrushReaders();
    RegisterModelArrayReaders();
}

void ScheduleSoundRelease()
{
    // Scheduled in this order so that the buffer goes before its device, and
    // COM ends only once both are gone.
    std::atexit(EndShowCom);
    std::atexit(ReleaseDirectSound);
    std::atexit(ReleasePrimarySoundBuffer);
}

void RegisterSoundClasses() { RegisterSoundReaders(); }

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
