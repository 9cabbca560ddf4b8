#include "tests/support/ArchiveBytes.h"

#include "foundation/archive/ArchiveString.h"
#include "foundation/archive/FileRecord.h"
#include "foundation/core/SaverError.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(ArchiveString, ShortHeaderReadsTheUnits)
{
    const Bytes bytes{0xFF, 0xFE, 0xFF, 0x02, 0x41, 0x00, 0x42, 0x00};
    ds_string text;
    EXPECT_EQ(8u, ParseArchiveString(bytes.data(), bytes.data() + bytes.size(), text));
    EXPECT_EQ(L"AB", text);
}

TEST(ArchiveString, SixByteHeaderCarriesASixteenBitLength)
{
    Bytes bytes{0xFF, 0xFE, 0xFF, 0xFF, 0x00, 0x03};
    for (int i = 0; i < 768; ++i)
        Append(bytes, {'a' + i % 26, 0});
    ds_string text;
    EXPECT_EQ(6u + 2 * 768, ParseArchiveString(bytes.data(), bytes.data() + bytes.size(), text));
    ASSERT_EQ(768u, text.size());
    EXPECT_EQ(L'z', text[25]);
}

TEST(ArchiveString, TenByteHeaderCarriesAThirtyTwoBitLength)
{
    Bytes bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF};
    AppendInt32(bytes, 3);
    Append(bytes, {'x', 0, 'y', 0, 'z', 0});
    ds_string text;
    EXPECT_EQ(16u, ParseArchiveString(bytes.data(), bytes.data() + bytes.size(), text));
    EXPECT_EQ(L"xyz", text);
}

TEST(ArchiveString, InnerNulEndsTheTextButAllUnitsAreConsumed)
{
    const Bytes bytes{0x00, 0x00, 0x00, 0x03, 'Q', 0, 0, 0, 'R', 0, 0x77};
    ds_string text;
    // The marker bytes are never looked at.
    EXPECT_EQ(10u, ParseArchiveString(bytes.data(), bytes.data() + bytes.size(), text));
    EXPECT_EQ(L"Q", text);
}

TEST(ArchiveString, ZeroLengthConsumesTheHeaderAndKeepsTheTarget)
{
    const Bytes bytes{0xFF, 0xFE, 0xFF, 0x00};
    ds_string text = L"kept";
    EXPECT_EQ(4u, ParseArchiveString(bytes.data(), bytes.data() + bytes.size(), text));
    EXPECT_EQ(L"kept", text);
}

TEST(ArchiveString, TruncationFailsAnywhereWithoutTouchingTheTarget)
{
    Bytes whole{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF};
    AppendInt32(whole, 2);
    Append(whole, {'x', 0, 'y', 0});
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        ds_string text = L"before";
        EXPECT_THROW(ParseArchiveString(whole.data(), whole.data() + cut, text), MediaLoadError) << cut;
        EXPECT_EQ(L"before", text);
    }
}

TEST(ArchiveString, HugeLengthFailsBeforeAllocating)
{
    Bytes bytes{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF};
    AppendInt32(bytes, -1); // 4 billion units
    ds_string text;
    EXPECT_THROW(ParseArchiveString(bytes.data(), bytes.data() + bytes.size(), text), MediaLoadError);
}

TEST(ArchiveReader, PrimitivesReadLittleEndianInSequence)
{
    Bytes bytes;
    AppendInt32(bytes, -2);                                     // int
    AppendInt32(bytes, static_cast<int32_t>(0xFFFFFFF0u));      // uint
    AppendInt32(bytes, 123456);                                 // long
    Append(bytes, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x88}); // int64
    Append(bytes, {0x00, 0x00, 0xC0, 0x3F});                    // 1.5f
    AppendInt32(bytes, 640);                                    // point x
    AppendInt32(bytes, -480);                                   // point y
    Append(bytes, {0xAB, 0x00, 0x02});                          // byte, false, true
    AppendShortString(bytes, u"hi");
    ByteArchive ar(bytes);

    int32_t i = 0;
    uint32_t u = 0;
    long l = 0;
    int64_t i64 = 0;
    float f = 0;
    POINT pt{};
    uint8_t byte = 0;
    bool no = true, yes = false;
    ds_string s;
    ar.handle->ReadInt(i);
    ar.handle->ReadUInt(u);
    ar.handle->ReadLong(l);
    ar.handle->ReadInt64(i64);
    ar.handle->ReadFloat(f);
    ar.handle->ReadPoint(pt);
    ar.handle->ReadByte(byte);
    ar.handle->ReadBool(no);
    ar.handle->ReadBool(yes);
    ar.handle->ReadString(s);

    EXPECT_EQ(-2, i);
    EXPECT_EQ(0xFFFFFFF0u, u);
    EXPECT_EQ(123456, l);
    EXPECT_EQ(static_cast<int64_t>(0x8807060504030201ull), i64);
    EXPECT_EQ(1.5f, f);
    EXPECT_EQ(640, pt.x);
    EXPECT_EQ(-480, pt.y);
    EXPECT_EQ(0xAB, byte);
    EXPECT_FALSE(no);
    EXPECT_TRUE(yes);
    EXPECT_EQ(L"hi", s);
    EXPECT_EQ(bytes.size(), ar.Consumed());
}

// Each read with one byte too few fails, consumes nothing and keeps its target.
TEST(ArchiveReader, ShortReadsFailAndConsumeNothing)
{
    struct Case {
        const char* name;
        std::size_t available;
        void (*read)(ArchiveHandle&);
    };
    const Case cases[] = {
        {"int", 3, [](ArchiveHandle& h) { int32_t v = 77; EXPECT_THROW(h->ReadInt(v), MediaLoadError); EXPECT_EQ(77, v); }},
        {"uint", 3, [](ArchiveHandle& h) { uint32_t v = 77; EXPECT_THROW(h->ReadUInt(v), MediaLoadError); EXPECT_EQ(77u, v); }},
        {"long", 2, [](ArchiveHandle& h) { long v = 77; EXPECT_THROW(h->ReadLong(v), MediaLoadError); EXPECT_EQ(77, v); }},
        {"int64", 7, [](ArchiveHandle& h) { int64_t v = 77; EXPECT_THROW(h->ReadInt64(v), MediaLoadError); EXPECT_EQ(77, v); }},
        {"float", 3, [](ArchiveHandle& h) { float v = 7; EXPECT_THROW(h->ReadFloat(v), MediaLoadError); EXPECT_EQ(7.0f, v); }},
        {"point", 7, [](ArchiveHandle& h) { POINT v{1, 2}; EXPECT_THROW(h->ReadPoint(v), MediaLoadError); EXPECT_EQ(1, v.x); EXPECT_EQ(2, v.y); }},
        {"byte", 0, [](ArchiveHandle& h) { uint8_t v = 7; EXPECT_THROW(h->ReadByte(v), MediaLoadError); EXPECT_EQ(7, v); }},
        {"bool", 0, [](ArchiveHandle& h) { bool v = true; EXPECT_THROW(h->ReadBool(v), MediaLoadError); EXPECT_TRUE(v); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ByteArchive ar(Bytes(c.available, 0x11));
        c.read(ar.handle);
        EXPECT_EQ(0u, ar.Consumed());
    }
}

TEST(ArchiveReader, FileRecordCopiesItsBytesAndPath)
{
    Bytes bytes;
    AppendInt32(bytes, 3);
    Append(bytes, {9, 8, 7});
    AppendShortString(bytes, u"C:\\a.png");
    ByteArchive ar(bytes);
    FileRecord record;
    ar.handle->ReadFileRecord(record);

    ASSERT_EQ(3, record.Size());
    EXPECT_EQ(0, std::memcmp(record.Bytes(), "\x09\x08\x07", 3));
    EXPECT_NE(ar.bytes.data() + 4, record.Bytes());
    EXPECT_EQ(L"C:\\a.png", record.path);
    EXPECT_EQ(bytes.size(), ar.Consumed());
}

TEST(ArchiveReader, RecordOfSizeZeroHasNoBlockAndGoesOnWithThePath)
{
    Bytes bytes;
    AppendInt32(bytes, 12);
    AppendShortString(bytes, u"common_res.dll");
    AppendInt32(bytes, 0);
    AppendShortString(bytes, u"");
    AppendInt32(bytes, 42);
    ByteArchive ar(bytes);
    ResourceRecord record;
    ar.handle->ReadResourceRecord(record);
    int32_t next = 0;
    ar.handle->ReadInt(next);

    EXPECT_EQ(12, record.resourceId);
    EXPECT_EQ(L"common_res.dll", record.modulePath);
    EXPECT_EQ(nullptr, record.Bytes());
    EXPECT_EQ(0, record.Size());
    EXPECT_TRUE(record.path.empty());
    EXPECT_EQ(42, next);
}

TEST(ArchiveReader, RecordWhoseSizeRunsPastTheEndFailsAndConsumesNothing)
{
    for (int32_t size : {-1, 4, 0x7FFFFFFF}) {
        Bytes bytes;
        AppendInt32(bytes, size);
        Append(bytes, {1, 2, 3});
        ByteArchive ar(bytes);
        FileRecord record(L"old");
        EXPECT_THROW(ar.handle->ReadFileRecord(record), MediaLoadError) << size;
        EXPECT_EQ(0u, ar.Consumed());
        EXPECT_EQ(L"old", record.path);
        EXPECT_EQ(nullptr, record.Bytes());
    }
}

TEST(ArchiveReader, ResourceRecordCutAnywhereFailsWithTheTargetUnchanged)
{
    Bytes whole;
    AppendInt32(whole, 7);
    AppendShortString(whole, u"m.dll");
    AppendInt32(whole, 2);
    Append(whole, {5, 6});
    AppendShortString(whole, u"p");
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        ByteArchive ar(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut)));
        ResourceRecord record;
        EXPECT_THROW(ar.handle->ReadResourceRecord(record), MediaLoadError) << cut;
        EXPECT_EQ(0, record.resourceId);
        EXPECT_TRUE(record.modulePath.empty());
        EXPECT_EQ(0u, ar.Consumed());
    }
}

TEST(ArchiveReader, FloatVectorAppends)
{
    Bytes bytes;
    AppendInt32(bytes, 2);
    Append(bytes, {0, 0, 0x80, 0x3F, 0, 0, 0, 0x40});
    AppendInt32(bytes, -3);
    ByteArchive ar(bytes);
    std::vector<float> values{9.0f};
    ReadFloatVector(ar.handle, values);
    ReadFloatVector(ar.handle, values); // a negative count reads nothing more
    EXPECT_EQ((std::vector<float>{9.0f, 1.0f, 2.0f}), values);
    EXPECT_EQ(bytes.size(), ar.Consumed());
}

TEST(ArchiveReader, FloatVectorLongerThanTheDocumentFails)
{
    Bytes bytes;
    AppendInt32(bytes, 1 << 30);
    Append(bytes, {0, 0, 0, 0});
    ByteArchive ar(bytes);
    std::vector<float> values;
    EXPECT_THROW(ReadFloatVector(ar.handle, values), MediaLoadError);
    EXPECT_TRUE(values.empty());
    // Like every failed read, it leaves the cursor where it was.
    EXPECT_EQ(0u, ar.Consumed());
}

TEST(ResourceBuffer, IntVectorReplacesTheVector)
{
    Bytes bytes;
    AppendInt32(bytes, 2);
    AppendInt32(bytes, 0x3F800000);
    AppendInt32(bytes, 5);
    ResourceBuffer buffer(bytes.data(), bytes.size());
    std::vector<uint32_t> values{1, 2, 3, 4};
    buffer.ReadIntVector(values);
    EXPECT_EQ((std::vector<uint32_t>{0x3F800000u, 5u}), values);
    EXPECT_EQ(0u, buffer.Remaining());
}

TEST(ResourceBuffer, IntVectorCountPastTheEndFailsAndConsumesNothing)
{
    Bytes bytes;
    AppendInt32(bytes, 3);
    AppendInt32(bytes, 1);
    ResourceBuffer buffer(bytes.data(), bytes.size());
    std::vector<uint32_t> values{7};
    EXPECT_THROW(buffer.ReadIntVector(values), MediaLoadError);
    EXPECT_EQ((std::vector<uint32_t>{7}), values);
    EXPECT_EQ(bytes.size(), buffer.Remaining());
}

TEST(ArchiveReader, WriteSlotsOfTheReadingArchiveDoNothing)
{
    Bytes bytes;
    AppendInt32(bytes, 5);
    ByteArchive ar(bytes);
    int32_t v = 9;
    ds_string s = L"x";
    ar.handle->WriteInt(v);
    ar.handle->WriteString(s);
    EXPECT_EQ(0u, ar.Consumed());
    ar.handle->ReadInt(v);
    EXPECT_EQ(5, v);
}
