#include "tools/document/DocumentBuilder.h"
#include "tools/document/WritingArchive.h"

#include "foundation/archive/FileRecord.h"
#include "tests/support/ArchiveBytes.h"

#include <gtest/gtest.h>

// Primitives the builder emits read back through the reading archive, and the
// writing archive writes those values back into the same bytes.
TEST(DocumentBuilder, PrimitivesRoundTripThroughReaderAndWriter)
{
    const std::wstring longText(300, L'w');
    DocumentBuilder b;
    b.Header(L"DS_Thing", 3)
        .UInt(0xDEADBEEF)
        .Long(-7)
        .Int64(-2)
        .Float(0.25f)
        .Byte(9)
        .Bool(true)
        .Point(3, -4)
        .String(longText)
        .FileRecord({1, 2, 3}, L"C:\\x.jpg")
        .ResourceRecord(5, L"common_res.dll", {}, L"");
    const auto bytes = b.Data();

    ByteArchive archive(bytes);
    ArchiveHandle& in = archive.handle;
    ds_string name, text;
    int32_t version = 0;
    uint32_t u = 0;
    long l = 0;
    int64_t s = 0;
    float f = 0;
    uint8_t byte = 0;
    bool flag = false;
    POINT pt{};
    FileRecord file;
    ResourceRecord resource;
    in->ReadString(name);
    in->ReadInt(version);
    in->ReadUInt(u);
    in->ReadLong(l);
    in->ReadInt64(s);
    in->ReadFloat(f);
    in->ReadByte(byte);
    in->ReadBool(flag);
    in->ReadPoint(pt);
    in->ReadString(text);
    in->ReadFileRecord(file);
    in->ReadResourceRecord(resource);
    EXPECT_EQ(0u, archive.buffer.Remaining());
    EXPECT_EQ(L"DS_Thing", name);
    EXPECT_EQ(3, version);
    EXPECT_EQ(longText, text);
    EXPECT_EQ(5, resource.resourceId);

    WritingHandle out;
    out.handle->WriteString(name);
    out.handle->WriteInt(version);
    out.handle->WriteUInt(u);
    out.handle->WriteLong(l);
    out.handle->WriteInt64(s);
    out.handle->WriteFloat(f);
    out.handle->WriteByte(byte);
    out.handle->WriteBool(flag);
    out.handle->WritePoint(pt);
    out.handle->WriteString(text);
    out.handle->WriteFileRecord(file);
    out.handle->WriteResourceRecord(resource);
    EXPECT_EQ(bytes, out.archive->Bytes());
}

TEST(DocumentBuilder, StringHeadersGrowWithTheLength)
{
    struct Case {
        std::size_t length;
        std::size_t header;
    };
    for (const Case c : {Case{0, 4}, Case{254, 4}, Case{255, 6}, Case{0xFFFE, 6}, Case{0xFFFF, 10}}) {
        DocumentBuilder b;
        b.String(std::wstring(c.length, L'a'));
        EXPECT_EQ(c.header + 2 * c.length, b.Size()) << c.length;
    }
}
