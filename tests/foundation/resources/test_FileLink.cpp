#include "foundation/core/SaverError.h"
#include "foundation/archive/DS_IOF_R.h"
#include "foundation/params/MediaControl.h"
#include "foundation/resources/DS_FileLink3.h"
#include "foundation/resources/DS_ImageFileLink.h"
#include "foundation/resources/FileKey.h"
#include "foundation/archive/FileRecord.h"
#include "tests/support/ArchiveBytes.h"
#include "tools/document/DocumentBuilder.h"
#include "tools/document/WritingArchive.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace {

// Read during static initialisation, before any test made a link.
const int32_t StampAtStart = NextLinkStamp;

template <class Link>
class CountingListener : public MediaControlT<Link> {
public:
    void OnChanged(MediaControl*) override { ++changes; }
    int changes = 0;
};

// A file in the temporary folder, removed again when the test ends.
class TemporaryFile {
public:
    TemporaryFile()
    {
        wchar_t folder[MAX_PATH] = {};
        wchar_t name[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        GetTempFileNameW(folder, L"ngl", 0, name);
        path = name;
    }
    ~TemporaryFile() { DeleteFileW(path.c_str()); }

    bool SetModificationTime(int64_t secondsSince1970) const
    {
        const HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        const uint64_t ticks = static_cast<uint64_t>(secondsSince1970) * 10000000ull + 116444736000000000ull;
        FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
        const bool done = SetFileTime(file, nullptr, nullptr, &time) != FALSE;
        CloseHandle(file);
        return done;
    }

    ds_string path;
};

} // namespace

TEST(FileKey, OrdersByPathUnitsThenSignedStamp)
{
    // Each key orders strictly before the next.
    const std::vector<FileKey> ascending = {
        {L"", 0},
        {L"A", 0},                   // 'A' (65) before 'a' (97)
        {L"a", INT64_MIN},           // a negative upper half before any non-negative stamp
        {L"a", -1},
        {L"a", 0},
        {L"a", 1},
        {L"a", 5},
        {L"a", INT64_C(0x100000000)},
        {L"ab", 0},                  // a proper prefix first, whatever the stamps
        {L"a\u00E9", 0},
        {L"a\uFFFF", -7},            // units compare unsigned
    };
    for (std::size_t i = 0; i < ascending.size(); ++i)
        for (std::size_t j = 0; j < ascending.size(); ++j)
            EXPECT_EQ(i < j, ascending[i] < ascending[j]) << i << " vs " << j;

    EXPECT_TRUE((FileKey{L"a", 5} == FileKey{L"a", 5}));
    EXPECT_FALSE((FileKey{L"a", 5} == FileKey{L"A", 5}));
    EXPECT_FALSE((FileKey{L"a", 5} == FileKey{L"a", 6}));

    std::map<FileKey, int> files;
    files[{L"x.jpg", 1}] = 1;
    files[{L"X.JPG", 1}] = 2;
    files[{L"x.jpg", 1}] = 3;
    EXPECT_EQ(2u, files.size());
}

TEST(DS_FileLink3, ExtensionAndKindFollowThePath)
{
    enum Kind { Module, Empty, Disk };
    struct Case {
        const wchar_t* path;
        const wchar_t* extension;
        Kind kind;
    };
    const Case cases[] = {
        {L"", L"", Empty},
        {L"C:\\pictures\\lake", L"", Disk},
        {L"common_res.dll", L".dll", Module},
        {L"C:\\Program Files\\App\\LIB.DLL", L".dll", Module},
        {L"C:\\modules\\common_res.dll.bak", L".bak", Disk},
        {L"C:\\modules\\common_res.dll ", L".dll ", Disk},
        {L"C:\\my.pictures\\lake", L".pictures\\lake", Disk},
        {L"C:\\pictures\\LAKE.JPeG", L".jpeg", Disk},
        {L"C:\\x\\a.\u00C4B", L".\u00C4b", Disk},  // only A-Z are lowered
    };
    for (const Case& c : cases) {
        const DS_FileLink3 link(5, c.path);
        EXPECT_EQ(c.extension, link.GetExtension()) << c.path;
        EXPECT_EQ(c.kind == Module, link.IsModuleLink()) << c.path;
        EXPECT_EQ(c.kind == Empty, link.IsEmptyLink()) << c.path;
        EXPECT_EQ(c.kind == Disk, link.IsDiskLink()) << c.path;
        EXPECT_EQ(c.path, link.GetPath());
    }
}

TEST(DS_FileLink3, ConstructorsSetPathAndStamp)
{
    const DS_FileLink3 empty;
    EXPECT_EQ((FileKey{L"", 0}), empty.value);

    EXPECT_EQ((FileKey{L"common_res.dll", 5}), DS_FileLink3(5, L"common_res.dll").value);
    // The id is sign-extended.
    EXPECT_EQ((FileKey{L"common_res.dll", -2}), DS_FileLink3(-2, L"common_res.dll").value);
    EXPECT_EQ((FileKey{L"m.dll", INT32_MIN}), DS_FileLink3(INT32_MIN, L"m.dll").value);

    const FileKey key{L"C:\\a.jpg", INT64_C(-0x7FFFFFFFFFFF)};
    EXPECT_EQ(key, DS_FileLink3(key).value);

    const DS_HLSLEffectFile effect(DS_FileLink3(12, L"common_res.dll"));
    EXPECT_EQ((FileKey{L"common_res.dll", 12}), effect.value);
    const DS_MeshFile mesh(7, L"common_res.dll");
    EXPECT_EQ((FileKey{L"common_res.dll", 7}), mesh.value);
}

TEST(DS_FileLink3, LinkFromAPathIsStampedWithTheFileTime)
{
    const TemporaryFile file;
    ASSERT_TRUE(file.SetModificationTime(1000000000));
    EXPECT_EQ((FileKey{file.path, 1000000000}), DS_FileLink3(file.path).value);

    const ds_string missing = file.path + L".missing";
    EXPECT_EQ((FileKey{missing, DS_FileLink3::UnknownFileTime}), DS_FileLink3(missing).value);
}

TEST(DS_FileLink3, DiskRecordsTakeSequenceStampsModuleRecordsTheirId)
{
    EXPECT_EQ(0, StampAtStart);

    const int32_t before = NextLinkStamp;
    const ResourceRecord lake(L"C:\\pictures\\lake.jpg");
    const ResourceRecord sky(L"C:\\pictures\\sky.png");
    const ResourceRecord module(9, L"common_res.dll");

    const DS_FileLink3 first(lake);
    const DS_FileLink3 second(sky);
    const DS_FileLink3 fromModule(module);
    const DS_FileLink3 third(lake);
    EXPECT_EQ((FileKey{L"C:\\pictures\\lake.jpg", before}), first.value);
    EXPECT_EQ((FileKey{L"C:\\pictures\\sky.png", before + 1}), second.value);
    EXPECT_EQ((FileKey{L"common_res.dll", 9}), fromModule.value);
    EXPECT_EQ((FileKey{L"C:\\pictures\\lake.jpg", before + 2}), third.value);

    // Links made in between from other sources leave the counter alone.
    const DS_FileLink3 unrelated(5, L"common_res.dll");
    const DS_FileLink3 fourth(sky);
    EXPECT_EQ(before + 3, fourth.value.stamp);
    EXPECT_EQ(before + 4, NextLinkStamp);
}

TEST(DS_FileLink3, CopiesTakeTheValueButNotTheListeners)
{
    DS_FileLink3 original(5, L"common_res.dll");
    CountingListener<DS_FileLink3> listener;
    listener.AttachSilently(&original);

    DS_FileLink3 copy(original);
    EXPECT_EQ(original.value, copy.value);
    EXPECT_EQ(0u, copy.ListenerCount());

    DS_FileLink3 assigned;
    CountingListener<DS_FileLink3> other;
    other.AttachSilently(&assigned);
    assigned = original;
    EXPECT_EQ(original.value, assigned.value);
    ASSERT_EQ(1u, assigned.ListenerCount());
    EXPECT_EQ(&other, assigned.ListenerAt(0));
    EXPECT_EQ(0, other.changes);
}

TEST(ReadFileLink, StoresPathAndStampWithoutNotifying)
{
    ByteArchive in(DocumentBuilder().Link(L"C:\\pictures\\lake.jpg", -3).Take());
    DS_FileLink3 link(5, L"common_res.dll");
    CountingListener<DS_FileLink3> listener;
    listener.AttachSilently(&link);

    ReadFileLink(in.handle, link);
    EXPECT_EQ((FileKey{L"C:\\pictures\\lake.jpg", -3}), link.value);
    EXPECT_EQ(0, listener.changes);
    EXPECT_EQ(0u, in.buffer.Remaining());
}

TEST(ReadFileLink, LinkThatEndsEarlyLeavesTheLinkAsItWas)
{
    Bytes bytes = DocumentBuilder().Link(L"C:\\pictures\\lake.jpg", 3).Take();
    bytes.resize(bytes.size() - 4);
    ByteArchive in(bytes);
    DS_FileLink3 link(5, L"common_res.dll");
    EXPECT_THROW(ReadFileLink(in.handle, link), MediaLoadError);
    EXPECT_EQ((FileKey{L"common_res.dll", 5}), link.value);
}

TEST(FileLinkRecord, ReadAndWriteMirrorEachOther)
{
    const Bytes document = DocumentBuilder()
                               .Link(L"common_res.dll", 5)
                               .Link(L"", 0)
                               .Link(L"C:\\pictures\\lake.jpg", INT64_MIN)
                               .Link(ds_string(300, L'p'), INT64_C(0x123456789A))
                               .Take();
    ByteArchive in(document);
    DS_FileLink3 module, empty;
    DS_ImageFileLink picture;
    DS_MeshFile mesh;
    ReadFileLink(in.handle, module);
    ReadFileLink(in.handle, empty);
    ReadFileLink(in.handle, picture);
    ReadFileLink(in.handle, mesh);
    EXPECT_EQ(0u, in.buffer.Remaining());
    EXPECT_EQ((FileKey{L"C:\\pictures\\lake.jpg", INT64_MIN}), picture.value);

    WritingHandle out;
    WriteFileLink(module, out.handle);
    WriteFileLink(empty, out.handle);
    WriteFileLink(picture, out.handle);
    WriteFileLink(mesh, out.handle);
    EXPECT_EQ(document, out.archive->Bytes());
}

TEST(DS_ImageFileLink, UndoListenerComesFirstAndPlayerHistoryStaysEmpty)
{
    DS_ImageFileLink link(DS_FileLink3(5, L"common_res.dll"));
    CountingListener<DS_ImageFileLink> listener;
    listener.AttachSilently(&link);
    ASSERT_EQ(2u, link.ListenerCount());
    EXPECT_EQ(&link.undo, link.ListenerAt(0));
    EXPECT_EQ(link.value, link.undo.copy);

    link.undo.Undo();
    link.undo.Redo();
    link.Edit(nullptr, nullptr);
    EXPECT_EQ((FileKey{L"common_res.dll", 5}), link.value);
    EXPECT_EQ(0, listener.changes);
    EXPECT_TRUE(link.undo.history.empty());

    // A copy carries its own undo listener and none of the original's others.
    const DS_ImageFileLink copy(link);
    ASSERT_EQ(1u, copy.ListenerCount());
    EXPECT_EQ(&copy.undo, copy.ListenerAt(0));
    EXPECT_EQ(link.value, copy.undo.copy);
}

// The history an editor records steps back and forth and tells the other
// listeners, but not the undo listener itself.
TEST(DS_ImageFileLink, RecordedHistoryUndoesAndRedoes)
{
    DS_ImageFileLink link(DS_FileLink3(5, L"common_res.dll"));
    CountingListener<DS_ImageFileLink> listener;
    listener.AttachSilently(&link);

    link.undo.Record();
    link.value = FileKey{L"C:\\pictures\\lake.jpg", 0};
    link.NotifyListeners(nullptr);
    EXPECT_EQ(1, listener.changes);

    link.undo.Undo();
    EXPECT_EQ((FileKey{L"common_res.dll", 5}), link.value);
    EXPECT_EQ(2, listener.changes);
    link.undo.Undo();
    EXPECT_EQ(2, listener.changes);

    link.undo.Redo();
    EXPECT_EQ((FileKey{L"C:\\pictures\\lake.jpg", 0}), link.value);
    EXPECT_EQ(3, listener.changes);
}

TEST(DS_ImageFileLink, ListenerOutlivingTheLinkIsDetached)
{
    CountingListener<DS_ImageFileLink> listener;
    {
        DS_ImageFileLink link;
        listener.AttachSilently(&link);
    }
    EXPECT_EQ(nullptr, listener.observed);
}
