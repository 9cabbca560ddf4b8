// The reading archive over a ResourceBuffer.
#pragma once

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ResourceBuffer.h"

template <class Source> class DS_IOF_R;

// Reads every primitive little-endian at the buffer's cursor. A read that does
// not fit consumes nothing, leaves its target unchanged and throws
// MediaLoadError.
template <>
class DS_IOF_R<ResourceBuffer> : public DS_IOF_Virtual {
public:
    explicit DS_IOF_R(ResourceBuffer* source) : buffer(source) {}

    void ReadResourceRecord(ResourceRecord& record) override;
    void ReadFileRecord(FileRecord& record) override;
    void ReadString(ds_string& text) override;
    void ReadInt64(int64_t& value) override;
    void ReadFloat(float& value) override;
    void ReadPoint(POINT& point) override;
    void ReadInt(int32_t& value) override;
    void ReadUInt(uint32_t& value) override;
    void ReadByte(uint8_t& value) override;
    void ReadBool(bool& value) override;
    void ReadLong(long& value) override;

    std::size_t BytesLeft() const override { return buffer->Remaining(); }
    void ReadCount(int32_t& count, std::size_t elementSize) override;

private:
    ResourceBuffer* buffer;
};
