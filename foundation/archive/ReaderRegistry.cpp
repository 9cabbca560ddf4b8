#include "foundation/archive/ReaderRegistry.h"

ConstructorRegistry& ConstructorReaderRegistry()
{
    static ConstructorRegistry registry("BuildConstructorReaderRegistry", "DestroyConstructorReaderRegistry");
    return registry;
}

DS_ABObj_Constructor* ReadConstructor(ArchiveHandle& archive)
{
    return ReadByClassName(ConstructorReaderRegistry(), archive);
}
