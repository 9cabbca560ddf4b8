#include "tools/document/DocumentBuilder.h"

#include <cstring>

void DocumentBuilder::PutLE(uint64_t v, int count)
{
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

DocumentBuilder& DocumentBuilder::Int(int32_t v)
{
    PutLE(static_cast<uint32_t>(v), 4);
    return *this;
}

DocumentBuilder& DocumentBuilder::UInt(uint32_t v)
{
    PutLE(v, 4);
    return *this;
}

DocumentBuilder& DocumentBuilder::Long(int32_t v) { return Int(v); }

DocumentBuilder& DocumentBuilder::Int64(int64_t v)
{
    PutLE(static_cast<uint64_t>(v), 8);
    return *this;
}

DocumentBuilder& DocumentBuilder::Float(float v)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &v, 4);
    PutLE(bits, 4);
    return *this;
}

DocumentBuilder& DocumentBuilder::Byte(uint8_t v)
{
    bytes.push_back(v);
    return *this;
}

DocumentBuilder& DocumentBuilder::Bool(bool v) { return Byte(v ? 1 : 0); }

DocumentBuilder& DocumentBuilder::Point(int32_t x, int32_t y) { return Int(x).Int(y); }

DocumentBuilder& DocumentBuilder::String(const std::wstring& text)
{
    bytes.insert(bytes.end(), {0xFF, 0xFE, 0xFF});
    const std::size_t n = text.size();
    if (n < 0xFF) {
        PutLE(n, 1);
    } else if (n < 0xFFFF) {
        PutLE(0xFF, 1);
        PutLE(n, 2);
    } else {
        PutLE(0xFF, 1);
        PutLE(0xFFFF, 2);
        PutLE(n, 4);
    }
    for (wchar_t c : text)
        PutLE(static_cast<uint16_t>(c), 2);
    return *this;
}

DocumentBuilder& DocumentBuilder::Header(const std::wstring& className, int32_t version)
{
    return String(className).Int(version);
}

DocumentBuilder& DocumentBuilder::FileRecord(const Bytes& content, const std::wstring& path)
{
    Int(static_cast<int32_t>(content.size()));
    Raw(content);
    return String(path);
}

DocumentBuilder& DocumentBuilder::ResourceRecord(int32_t id, const std::wstring& module, const Bytes& content,
                                                 const std::wstring& path)
{
    Int(id);
    String(module);
    return FileRecord(content, path);
}

DocumentBuilder& DocumentBuilder::Link(const std::wstring& path, int64_t stamp) { return String(path).Int64(stamp); }

DocumentBuilder& DocumentBuilder::Raw(const Bytes& more)
{
    bytes.insert(bytes.end(), more.begin(), more.end());
    return *this;
}
