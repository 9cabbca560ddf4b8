#include "foundation/archive/ObjectHeader.h"

#include "foundation/archive/DS_IOF_Virtual.h"

ObjectHeader ReadObjectHeader(ArchiveHandle& archive)
{
    ObjectHeader header;
    archive->ReadString(header.className);
    archive->ReadInt(header.version);
    return header;
}

void WriteObjectHeader(ArchiveHandle& archive, const ds_string& className, int32_t version)
{
    // The write slots take references to fill or emit; hand them copies.
    ds_string name = className;
    archive->WriteString(name);
    archive->WriteInt(version);
}
