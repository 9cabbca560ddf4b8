#include "foundation/core/SaverError.h"
#include "foundation/archive/DS_IOF_R.h"
#include "foundation/archive/FileRecord.h"
#include "tests/support/ArchiveBytes.h"
#include "tools/document/DocumentBuilder.h"
#include "tools/document/WritingArchive.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

Bytes Content(const FileRecord& record)
{
    if (!record.Bytes())
        return {};
    return Bytes(record.Bytes(), record.Bytes() + record.Size());
}

FileRecord RecordWith(const ds_string& path, const Bytes& content)
{
    FileRecord record(path);
    record.SetBytes(static_cast<int32_t>(content.size()), content.data());
    return record;
}

} // namespace

TEST(FileRecord, RepointToItsOwnPathKeepsTheBytes)
{
    FileRecord record = RecordWith(L"C:\\music\\a.mp3", {1, 2, 3});
    record.Repoint(L"C:\\music\\a.mp3");
    EXPECT_EQ((Bytes{1, 2, 3}), Content(record));
    EXPECT_EQ(3, record.Size());
}

TEST(FileRecord, RepointElsewhereDropsTheBytes)
{
    FileRecord record = RecordWith(L"C:\\music\\a.mp3", {1, 2, 3});
    record.Repoint(L"C:\\temp\\a.mp3");
    EXPECT_EQ(L"C:\\temp\\a.mp3", record.path);
    EXPECT_EQ(nullptr, record.Bytes());
    EXPECT_EQ(0, record.Size());
}

TEST(FileRecord, CopyOwnsASeparateBlock)
{
    auto original = std::make_unique<FileRecord>(RecordWith(L"x.png", {9, 8, 7, 6}));
    FileRecord copy(*original);
    EXPECT_NE(original->Bytes(), copy.Bytes());
    original.reset();
    EXPECT_EQ((Bytes{9, 8, 7, 6}), Content(copy));
    EXPECT_EQ(L"x.png", copy.path);

    FileRecord assigned = RecordWith(L"y", {1});
    assigned = copy;
    copy.SetBytes(1, Bytes{0}.data());
    EXPECT_EQ((Bytes{9, 8, 7, 6}), Content(assigned));
}

TEST(FileRecord, CopyOfARecordWithoutBytesHasNone)
{
    const FileRecord empty(L"z");
    const FileRecord copy(empty);
    EXPECT_EQ(nullptr, copy.Bytes());
    EXPECT_EQ(0, copy.Size());
}

TEST(FileRecord, SetBytesReplacesTheBlockWithACopy)
{
    FileRecord record = RecordWith(L"f", {1, 2});
    Bytes source{5, 6, 7};
    record.SetBytes(3, source.data());
    source[0] = 0;
    EXPECT_EQ((Bytes{5, 6, 7}), Content(record));

    // Its own block as the source is still a valid copy.
    record.SetBytes(record.Size(), record.Bytes());
    EXPECT_EQ((Bytes{5, 6, 7}), Content(record));

    record.SetBytes(0, source.data());
    EXPECT_EQ(nullptr, record.Bytes());
    EXPECT_EQ(0, record.Size());
}

// A record moved from must not claim a size for a block it no longer has:
// writing it would read through a null block.
TEST(FileRecord, MovedFromRecordHasNoBytesAndNoSize)
{
    FileRecord source = RecordWith(L"m", {1, 2, 3});
    FileRecord moved(std::move(source));
    EXPECT_EQ((Bytes{1, 2, 3}), Content(moved));
    EXPECT_EQ(0, source.Size());
    EXPECT_EQ(nullptr, source.Bytes());

    FileRecord target;
    target = std::move(moved);
    EXPECT_EQ(3, target.Size());
    EXPECT_EQ(0, moved.Size());

    WritingHandle out;
    out.handle->WriteFileRecord(moved);
    EXPECT_EQ(DocumentBuilder().FileRecord({}, L"").Data(), out.archive->Bytes());
}

TEST(ResourceRecord, ConstructorsGiveTheTwoKinds)
{
    const ResourceRecord module(5, L"common_res.dll");
    EXPECT_TRUE(module.IsModuleRecord());
    EXPECT_EQ(5, module.resourceId);
    EXPECT_EQ(L"common_res.dll", module.modulePath);
    EXPECT_TRUE(module.path.empty());
    EXPECT_EQ(nullptr, module.Bytes());

    const ResourceRecord disk(L"C:\\pictures\\lake.jpg");
    EXPECT_FALSE(disk.IsModuleRecord());
    EXPECT_EQ(0, disk.resourceId);
    EXPECT_TRUE(disk.modulePath.empty());
    EXPECT_EQ(L"C:\\pictures\\lake.jpg", disk.path);
    EXPECT_EQ(0, disk.Size());
}

TEST(ResourceRecord, ReadsFromTheArchiveAndCopiesDeeply)
{
    ByteArchive in(DocumentBuilder().ResourceRecord(12, L"common_res.dll", {4, 5, 6}, L"").Int(77).Take());
    auto read = std::make_unique<ResourceRecord>(in.handle);
    int32_t next = 0;
    in.handle->ReadInt(next);
    EXPECT_EQ(77, next);
    EXPECT_EQ(12, read->resourceId);
    EXPECT_EQ(L"common_res.dll", read->modulePath);
    EXPECT_EQ((Bytes{4, 5, 6}), Content(*read));

    const ResourceRecord copy(*read);
    read.reset();
    EXPECT_EQ(12, copy.resourceId);
    EXPECT_EQ(L"common_res.dll", copy.modulePath);
    EXPECT_EQ((Bytes{4, 5, 6}), Content(copy));
}

TEST(ResourceRecord, ReadingARecordThatEndsEarlyFails)
{
    Bytes bytes = DocumentBuilder().ResourceRecord(0, L"", {1, 2, 3, 4}, L"C:\\a.wav").Take();
    bytes.resize(bytes.size() - 3);
    ByteArchive in(bytes);
    EXPECT_THROW(ResourceRecord{in.handle}, MediaLoadError);
    EXPECT_EQ(bytes.size(), in.buffer.Remaining());
}

TEST(GetFileName, IsTheTextAfterTheLastBackslash)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* name;
    };
    const Case cases[] = {
        {L"C:\\music\\track.mp3", L"track.mp3"},
        {L"\\\\server\\share\\a\\b.wav", L"b.wav"},
        {L"track.mp3", L""},
        {L"C:/music/track.mp3", L""},
        {L"C:\\music\\", L""},
        {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.name, GetFileName(c.path)) << c.path;
}
