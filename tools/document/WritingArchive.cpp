#include "tools/document/WritingArchive.h"

#include "foundation/archive/FileRecord.h"

#include <memory>
#include <stdexcept>

namespace {

[[noreturn]] void NotReadable()
{
    throw std::logic_error("the writing archive cannot read");
}

} // namespace

void WritingArchive::Put(const void* data, std::size_t count)
{
    const auto* p = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + count);
}

void WritingArchive::PutString(const ds_string& text)
{
    const uint8_t marker[3] = {0xFF, 0xFE, 0xFF};
    Put(marker, 3);
    const std::size_t length = text.size();
    if (length < 0xFF) {
        bytes.push_back(static_cast<uint8_t>(length));
    } else {
        bytes.push_back(0xFF);
        if (length < 0xFFFF) {
            const uint16_t l16 = static_cast<uint16_t>(length);
            Put(&l16, 2);
        } else {
            const uint16_t escape = 0xFFFF;
            const uint32_t l32 = static_cast<uint32_t>(length);
            Put(&escape, 2);
            Put(&l32, 4);
        }
    }
    for (wchar_t c : text) {
        const uint16_t unit = static_cast<uint16_t>(c);
        Put(&unit, 2);
    }
}

void WritingArchive::WriteResourceRecord(ResourceRecord& record)
{
    Put(&record.resourceId, 4);
    PutString(record.modulePath);
    WriteFileRecord(record);
}

void WritingArchive::WriteFileRecord(FileRecord& record)
{
    const int32_t size = record.Size();
    Put(&size, 4);
    if (size > 0)
        Put(record.Bytes(), static_cast<std::size_t>(size));
    PutString(record.path);
}

void WritingArchive::WriteString(ds_string& text) { PutString(text); }
void WritingArchive::WriteInt64(int64_t& value) { Put(&value, 8); }
void WritingArchive::WriteFloat(float& value) { Put(&value, 4); }
void WritingArchive::WritePoint(POINT& point)
{
    const int32_t xy[2] = {static_cast<int32_t>(point.x), static_cast<int32_t>(point.y)};
    Put(xy, 8);
}
void WritingArchive::WriteInt(int32_t& value) { Put(&value, 4); }
void WritingArchive::WriteUInt(uint32_t& value) { Put(&value, 4); }
void WritingArchive::WriteByte(uint8_t& value) { Put(&value, 1); }
void WritingArchive::WriteBool(bool& value) { bytes.push_back(value ? 1 : 0); }
void WritingArchive::WriteLong(long& value)
{
    const int32_t v = static_cast<int32_t>(value);
    Put(&v, 4);
}

void WritingArchive::ReadResourceRecord(ResourceRecord&) { NotReadable(); }
void WritingArchive::ReadFileRecord(FileRecord&) { NotReadable(); }
void WritingArchive::ReadString(ds_string&) { NotReadable(); }
void WritingArchive::ReadInt64(int64_t&) { NotReadable(); }
void WritingArchive::ReadFloat(float&) { NotReadable(); }
void WritingArchive::ReadPoint(POINT&) { NotReadable(); }
void WritingArchive::ReadInt(int32_t&) { NotReadable(); }
void WritingArchive::ReadUInt(uint32_t&) { NotReadable(); }
void WritingArchive::ReadByte(uint8_t&) { NotReadable(); }
void WritingArchive::ReadBool(bool&) { NotReadable(); }
void WritingArchive::ReadLong(long&) { NotReadable(); }

WritingHandle::WritingHandle() : handle(std::make_unique<WritingArchive>()), archive(nullptr)
{
    archive = static_cast<WritingArchive*>(&*handle);
}
