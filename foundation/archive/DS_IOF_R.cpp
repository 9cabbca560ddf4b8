#include "foundation/archive/DS_IOF_R.h"

#include "foundation/archive/ArchiveString.h"
#include "foundation/archive/FileRecord.h"
#include "foundation/core/SaverError.h"

#include <cstring>

namespace {

template <class T>
T Load(ResourceBuffer& buffer)
{
    T value;
    std::memcpy(&value, buffer.Take(sizeof value), sizeof value);
    return value;
}

ds_string LoadString(ResourceBuffer& buffer)
{
    ds_string text;
    buffer.cursor += ParseArchiveString(buffer.cursor, buffer.end, text);
    return text;
}

// An int32 size and that many bytes, checked before the block is allocated.
void LoadBlock(ResourceBuffer& buffer, FileRecord& record)
{
    const int32_t size = Load<int32_t>(buffer);
    if (size < 0 || static_cast<std::size_t>(size) > buffer.Remaining())
        throw MediaLoadError("embedded file runs past the end of the document");
    // A size of 0 keeps whatever block the record has.
    if (size > 0)
        record.SetBytes(size, buffer.Take(static_cast<std::size_t>(size)));
}

// Restores the cursor unless the read completes, so a failed read consumes
// nothing.
class ReadMark {
public:
    explicit ReadMark(ResourceBuffer& source) : buffer(source), start(source.cursor) {}
    ~ReadMark()
    {
        if (!done)
            buffer.cursor = start;
    }
    void Done() { done = true; }

private:
    ResourceBuffer& buffer;
    const uint8_t* start;
    bool done = false;
};

} // namespace

void DS_IOF_R<ResourceBuffer>::ReadResourceRecord(ResourceRecord& record)
{
    ReadMark mark(*buffer);
    ResourceRecord read;
    read.resourceId = Load<int32_t>(*buffer);
    read.modulePath = LoadString(*buffer);
    LoadBlock(*buffer, read);
    read.path = LoadString(*buffer);

    record.resourceId = read.resourceId;
    record.modulePath = std::move(read.modulePath);
    if (const int32_t size = read.Size(); size > 0)
        record.AdoptBytes(size, read.ReleaseBytes());
    record.path = std::move(read.path);
    mark.Done();
}

void DS_IOF_R<ResourceBuffer>::ReadFileRecord(FileRecord& record)
{
    ReadMark mark(*buffer);
    FileRecord read;
    LoadBlock(*buffer, read);
    read.path = LoadString(*buffer);

    if (const int32_t size = read.Size(); size > 0)
        record.AdoptBytes(size, read.ReleaseBytes());
    record.path = std::move(read.path);
    mark.Done();
}

void DS_IOF_R<ResourceBuffer>::ReadString(ds_string& text)
{
    buffer->cursor += ParseArchiveString(buffer->cursor, buffer->end, text);
}

void DS_IOF_R<ResourceBuffer>::ReadInt64(int64_t& value) { value = Load<int64_t>(*buffer); }
void DS_IOF_R<ResourceBuffer>::ReadFloat(float& value) { value = Load<float>(*buffer); }
void DS_IOF_R<ResourceBuffer>::ReadInt(int32_t& value) { value = Load<int32_t>(*buffer); }
void DS_IOF_R<ResourceBuffer>::ReadUInt(uint32_t& value) { value = Load<uint32_t>(*buffer); }
void DS_IOF_R<ResourceBuffer>::ReadByte(uint8_t& value) { value = Load<uint8_t>(*buffer); }
void DS_IOF_R<ResourceBuffer>::ReadBool(bool& value) { value = Load<uint8_t>(*buffer) != 0; }
void DS_IOF_R<ResourceBuffer>::ReadLong(long& value) { value = Load<int32_t>(*buffer); }

void DS_IOF_R<ResourceBuffer>::ReadPoint(POINT& point)
{
    ReadMark mark(*buffer);
    const int32_t x = Load<int32_t>(*buffer);
    const int32_t y = Load<int32_t>(*buffer);
    point.x = x;
    point.y = y;
    mark.Done();
}

void DS_IOF_R<ResourceBuffer>::ReadCount(int32_t& count, std::size_t elementSize)
{
    ReadMark mark(*buffer);
    const int32_t read = Load<int32_t>(*buffer);
    if (read > 0 && elementSize > 0 && static_cast<std::size_t>(read) > buffer->Remaining() / elementSize)
        throw MediaLoadError("a count runs past the end of the document");
    count = read;
    mark.Done();
}
