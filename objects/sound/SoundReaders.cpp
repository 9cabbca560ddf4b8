#include "objects/sound/SoundReaders.h"

#include "foundation/archive/ReaderRegistry.h"
#include "objects/sound/DS_WAV_Constructor.h"

void RegisterSoundReaders()
{
    RegisterConstructorReader<DS_WAV_Constructor>(L"DS_WAV_Constructor");
}
