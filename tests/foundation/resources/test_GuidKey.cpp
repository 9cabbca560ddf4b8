#include "foundation/archive/DS_IOF_R.h"
#include "foundation/resources/GuidKey.h"
#include "tests/support/ArchiveBytes.h"
#include "tools/document/DocumentBuilder.h"
#include "tools/document/ResourceRecords.h"
#include "tools/document/WritingArchive.h"

#include <gtest/gtest.h>

#include <cguid.h>
#include <cwctype>
#include <map>
#include <memory>
#include <vector>

namespace {

// {03E9DEBA-9DCD-4855-AA4D-4FFB02207CCC}
constexpr GUID Sample = {0x03E9DEBA, 0x9DCD, 0x4855, {0xAA, 0x4D, 0x4F, 0xFB, 0x02, 0x20, 0x7C, 0xCC}};

GUID WithFirstField(unsigned long first)
{
    GUID id = Sample;
    id.Data1 = first;
    return id;
}

} // namespace

// Memory order compares the first field from its lowest byte.
TEST(GuidKeyLess, ComparesTheBytesInMemoryOrder)
{
    const GuidKey low(WithFirstField(256), L"", 1);  // stored 00 01 00 00
    const GuidKey high(WithFirstField(1), L"", 1);   // stored 01 00 00 00
    GuidKeyLess less;
    EXPECT_TRUE(less(low, high));
    EXPECT_FALSE(less(high, low));
    EXPECT_FALSE(less(low, low));

    // Bytes compare unsigned: 0x80 in the last byte orders after 0x7F.
    GUID a = Sample, b = Sample;
    a.Data4[7] = 0x7F;
    b.Data4[7] = 0x80;
    EXPECT_TRUE(less(GuidKey(a, L"", 0), GuidKey(b, L"", 0)));
}

TEST(GuidKeyLess, NameAndFlagTakeNoPart)
{
    std::map<GuidKey, int, GuidKeyLess> masks;
    masks.emplace(GuidKey(Sample, L"first", 1), 1);
    const auto [where, inserted] = masks.emplace(GuidKey(Sample, L"second", 0), 2);
    EXPECT_FALSE(inserted);
    ASSERT_EQ(1u, masks.size());
    EXPECT_EQ(L"first", where->first.name);
    EXPECT_EQ(1, where->first.flag);
    EXPECT_EQ(1, where->second);
    EXPECT_EQ(1u, masks.count(GuidKey(Sample, L"another", 7)));
}

TEST(GuidEntry, StartsWithAFreshIdentityAndNoFile)
{
    const GuidEntry first;
    const GuidEntry second;
    EXPECT_FALSE(IsEqualGUID(GUID_NULL, first.id));
    EXPECT_FALSE(IsEqualGUID(first.id, second.id));
    EXPECT_TRUE(first.name.empty());
    EXPECT_EQ(1, first.flag);
    EXPECT_TRUE(first.file.path.empty());
    EXPECT_EQ(nullptr, first.file.Bytes());
    EXPECT_EQ(0, first.file.Size());
}

TEST(GuidText, IsTheUpperCaseRegistryForm)
{
    EXPECT_EQ(L"{03E9DEBA-9DCD-4855-AA4D-4FFB02207CCC}", GuidText(Sample));

    const ds_string fresh = GuidText(GuidKey::Fresh().id);
    ASSERT_EQ(38u, fresh.size());
    for (wchar_t unit : fresh)
        EXPECT_FALSE(std::iswlower(unit)) << fresh;
}

TEST(GuidText, RoundTripsThroughWriterAndReader)
{
    const GUID fresh = GuidKey::Fresh().id;
    WritingHandle out;
    WriteGuid(out.handle, Sample);
    WriteGuid(out.handle, fresh);
    // The writer and the document builder agree byte for byte.
    DocumentBuilder expected;
    GuidString(expected, Sample);
    GuidString(expected, fresh);
    EXPECT_EQ(expected.Data(), out.archive->Bytes());

    ByteArchive in(out.archive->Bytes());
    GUID first = GUID_NULL, second = GUID_NULL;
    ReadGuid(in.handle, first);
    ReadGuid(in.handle, second);
    EXPECT_TRUE(IsEqualGUID(Sample, first));
    EXPECT_TRUE(IsEqualGUID(fresh, second));
    EXPECT_EQ(0u, in.buffer.Remaining());
}

TEST(ReadGuid, AcceptsLowerCaseDigits)
{
    ByteArchive in(DocumentBuilder().String(L"{03e9deba-9dcd-4855-aa4d-4ffb02207ccc}").Take());
    GUID id = GUID_NULL;
    ReadGuid(in.handle, id);
    EXPECT_TRUE(IsEqualGUID(Sample, id));
}

// A text that does not parse is no failure: the GUID becomes GUID_NULL and
// the next value reads from where the text ended.
TEST(ReadGuid, TextThatIsNoGuidLeavesGuidNullAndReadingGoesOn)
{
    const wchar_t* texts[] = {
        L"",
        L"not a guid",
        L"03E9DEBA-9DCD-4855-AA4D-4FFB02207CCC",
        L"{03E9DEBA-9DCD-4855-AA4D-4FFB02207CCX}",
        L"{03E9DEBA+9DCD-4855-AA4D-4FFB02207CCC}",
        L"InternetExplorer.Application",
    };
    for (const wchar_t* text : texts) {
        ByteArchive in(DocumentBuilder().String(text).Int(42).Take());
        GUID id = Sample;
        ReadGuid(in.handle, id);
        EXPECT_TRUE(IsEqualGUID(GUID_NULL, id)) << text;
        int32_t next = 0;
        in.handle->ReadInt(next);
        EXPECT_EQ(42, next) << text;
    }
}
