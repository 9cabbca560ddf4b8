#include "foundation/resources/ReadDocResManager.h"

#include "foundation/archive/ObjectHeader.h"
#include "foundation/resources/DS_DocResManager.h"

#include <memory>

DS_DocResManager* ReadDocResManager(ArchiveHandle& archive)
{
    const ObjectHeader header = ReadObjectHeader(archive);
    auto manager = std::make_unique<DS_DocResManager>();
    manager->Read(archive, header.version);
    return manager.release();
}
