#include "objects/models/ModelReaders.h"

#include "foundation/archive/ReaderRegistry.h"
#include "objects/models/DS_3D_in_2D_array_Constructor.h"
#include "objects/models/DS_ButterflyConstructor.h"
#include "objects/models/DS_ClockConstructor.h"

void RegisterModelReaders()
{
    RegisterConstructorReader<DS_ButterflyConstructor>(L"DS_ButterflyConstructor");
    RegisterConstructorReader<DS_ClockConstructor>(L"DS_ClockConstructor");
}

void RegisterModelArrayReaders()
{
    RegisterConstructorReader<DS_3D_in_2D_array_Constructor>(L"DS_3D_in_2D_array_Constructor");
}
