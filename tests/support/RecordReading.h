// Reads one archive record out of bytes in memory, as the document loader
// reads the records of the embedded document.
#pragma once

#include "foundation/archive/DS_IOF_R.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/archive/ResourceBuffer.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Reads the record in bytes into object: the record's header, then its body
// by object.Read(archive, version). Returns the bytes left unread;
// exceptions of the reading pass through.
template <class T>
std::size_t ReadRecordInto(const std::vector<uint8_t>& bytes, T& object)
{
    ResourceBuffer buffer(bytes.data(), bytes.size());
    ArchiveHandle archive(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));
    const ObjectHeader header = ReadObjectHeader(archive);
    object.Read(archive, header.version);
    return buffer.Remaining();
}
