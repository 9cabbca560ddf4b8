#include "scene/brushes/BrushReaders.h"

#include "foundation/archive/ReaderRegistry.h"
#include "scene/brushes/DS_BackgroundCopy.h"
#include "scene/brushes/DS_ExpandFX.h"
#include "scene/brushes/DS_FireFX.h"
#include "scene/brushes/DS_LightFX.h"
#include "scene/brushes/DS_MoveFX.h"
#include "scene/brushes/DS_PatternBrush.h"
#include "scene/brushes/DS_WaterFX.h"
#include "scene/brushes/DS_WavesFX.h"

void RegisterBrushReaders()
{
    RegisterConstructorReader<DS_BackgroundCopy>(L"DS_BackgroundCopy");
    RegisterConstructorReader<DS_WavesFX>(L"DS_WavesFX");
    RegisterConstructorReader<DS_LightFX>(L"DS_LightFX");
    RegisterConstructorReader<DS_PatternBrush>(L"DS_PatternBrush");
    RegisterConstructorReader<DS_PatternBrushC>(L"DS_PatternBrushC");
    RegisterConstructorReader<DS_WaterFX>(L"DS_WaterFX");
    RegisterConstructorReader<DS_MoveFX>(L"DS_MoveFX");
    RegisterConstructorReader<DS_FireFX>(L"DS_FireFX");
    RegisterConstructorReader<DS_ExpandFX>(L"DS_ExpandFX");
}
