#include "tests/support/ArchiveBytes.h"

#include "foundation/core/SaverError.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/archive/ReaderRegistry.h"
#include "foundation/model/DS_ABObj_Constructor.h"
#include "scene/layerbase/LightReaderRegistry.h"
#include "scene/slideshow/SlideReaderRegistry.h"
#include "tools/document/ObjectRecords.h"
#include "tools/document/WritingArchive.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

// Counts the live and the ever-built instances of every test constructor.
int liveConstructors = 0;
int builtConstructors = 0;

// A constructor with one field of its own: "TestBox", version 1.
class TestBox : public DS_ABObj_Constructor {
public:
    TestBox()
    {
        ++liveConstructors;
        ++builtConstructors;
    }
    ~TestBox() override { --liveConstructors; }
    DS_ABObj* CreateObject() override { return nullptr; }

    void Read(ArchiveHandle& archive, int32_t version)
    {
        versionRead = version;
        archive->ReadInt(width);
        ReadConstructorBase(archive, *this);
    }
    void Write(ArchiveHandle& archive) override
    {
        WriteObjectHeader(archive, L"TestBox", 1);
        archive->WriteInt(width);
        DS_ABObj_Constructor::Write(archive);
    }

    int32_t versionRead = -1;
    int32_t width = 0;
};

// A constructor that holds others, each read by its class name: "TestShelf",
// version 1: a count, the records, then the base record.
class TestShelf : public DS_ABObj_Constructor {
public:
    TestShelf()
    {
        ++liveConstructors;
        ++builtConstructors;
    }
    ~TestShelf() override { --liveConstructors; }
    DS_ABObj* CreateObject() override { return nullptr; }

    void Read(ArchiveHandle& archive, int32_t)
    {
        int32_t count = 0;
        archive->ReadInt(count);
        for (int32_t i = 0; i < count; ++i)
            items.emplace_back(ReadConstructor(archive));
        ReadConstructorBase(archive, *this);
    }
    void Write(ArchiveHandle& archive) override
    {
        WriteObjectHeader(archive, L"TestShelf", 1);
        int32_t count = static_cast<int32_t>(items.size());
        archive->WriteInt(count);
        for (auto& item : items)
            item->Write(archive);
        DS_ABObj_Constructor::Write(archive);
    }

    std::vector<std::unique_ptr<DS_ABObj_Constructor>> items;
};

// A layer reader that builds nothing and remembers the version it was given.
class ProbeLightReader : public IOF_Virtual_ReaderII<DS_2D_Light> {
public:
    DS_2D_Light* Read(ArchiveHandle&, int32_t version) const override
    {
        versionSeen = version;
        return nullptr;
    }
    static inline int32_t versionSeen = -1;
};

void RegisterTestClasses()
{
    RegisterConstructorReader<TestBox>(L"TestBox");
    RegisterConstructorReader<TestShelf>(L"TestShelf");
    RegisterReaderStatic<ProbeLightReader>(LightReaderRegistry(), L"ProbeLight");
}

DocumentBuilder& Box(DocumentBuilder& b, const std::wstring& name, int32_t width)
{
    b.Header(L"TestBox", 1).Int(width);
    return ConstructorBaseRecord(b, name);
}

// Reads one constructor and destroys it at once.
void ReadAndDropConstructor(ArchiveHandle& archive)
{
    std::unique_ptr<DS_ABObj_Constructor> object(ReadConstructor(archive));
}

std::size_t HeaderSize(const std::wstring& className)
{
    DocumentBuilder b;
    return b.Header(className, 1).Size();
}

} // namespace

TEST(ReaderRegistry, FindsAClassByItsExactNameInItsOwnRegistryOnly)
{
    RegisterTestClasses();
    using Read = std::function<void(ArchiveHandle&)>;
    const Read constructor = ReadAndDropConstructor;
    const Read light = [](ArchiveHandle& h) { ReadLight(h); };
    const Read slide = [](ArchiveHandle& h) { ReadSlide(h); };
    struct Case {
        const char* what;
        Read read;
        std::wstring className;
    };
    const Case unknown[] = {
        {"letter case differs", constructor, L"testbox"},
        {"trailing blank", constructor, L"TestBox "},
        {"prefix only", constructor, L"TestBo"},
        {"constructor name as a layer", light, L"TestBox"},
        {"constructor name as a slide", slide, L"TestBox"},
        {"layer name as a constructor", constructor, L"ProbeLight"},
    };
    for (const Case& c : unknown) {
        DocumentBuilder b;
        b.Header(c.className, 1).Int(5);
        ConstructorBaseRecord(b, L"never read");
        ByteArchive archive(b.Data());
        EXPECT_THROW(c.read(archive.handle), MediaLoadError) << c.what;
        EXPECT_EQ(HeaderSize(c.className), archive.Consumed()) << c.what;
    }

    DocumentBuilder b;
    Box(b, L"Crate", 5);
    ByteArchive boxArchive(b.Data());
    std::unique_ptr<DS_ABObj_Constructor> read(ReadConstructor(boxArchive.handle));
    auto* box = dynamic_cast<TestBox*>(read.get());
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(5, box->width);
    EXPECT_EQ(L"Crate", box->name);

    DocumentBuilder l;
    l.Header(L"ProbeLight", 4);
    ByteArchive lightArchive(l.Data());
    EXPECT_EQ(nullptr, ReadLight(lightArchive.handle));
    EXPECT_EQ(4, ProbeLightReader::versionSeen);
}

TEST(ReaderRegistry, RegistrationReplacesByNameAndEachReaderRegistersOnce)
{
    ConstructorRegistry registry("built", "destroyed");
    const IOF_Virtual_ReaderT<TestBox> first;
    const IOF_Virtual_ReaderT<TestShelf> second;
    registry.Register(L"Item", &first);
    registry.Register(L"Item", &second);
    EXPECT_EQ(&second, registry.Find(L"Item"));
    EXPECT_EQ(1u, registry.Size());

    struct Other : TestBox {};
    RegisterReaderStatic<IOF_Virtual_ReaderT<Other>>(registry, L"Other");
    RegisterReaderStatic<IOF_Virtual_ReaderT<Other>>(registry, L"OtherAgain");
    EXPECT_NE(nullptr, registry.Find(L"Other"));
    EXPECT_EQ(nullptr, registry.Find(L"OtherAgain"));
}

TEST(ReaderRegistry, AFailedReadDestroysEverythingBuiltBeforeIt)
{
    RegisterTestClasses();
    DocumentBuilder unknownThird;
    unknownThird.Header(L"TestShelf", 1).Int(3);
    Box(unknownThird, L"a", 1);
    Box(unknownThird, L"b", 2);
    unknownThird.Header(L"TestCrate", 1).Int(3);

    DocumentBuilder truncatedSecond;
    truncatedSecond.Header(L"TestShelf", 1).Int(2);
    Box(truncatedSecond, L"a", 1);
    truncatedSecond.Header(L"TestBox", 1).Int(2).Header(L"DS_ABObj_Constructor", 1);

    const int live = liveConstructors;
    for (const DocumentBuilder* document : {&unknownThird, &truncatedSecond}) {
        const int built = builtConstructors;
        ByteArchive archive(document->Data());
        EXPECT_THROW(ReadAndDropConstructor(archive.handle), MediaLoadError);
        // The shelf and two boxes were made before the read failed.
        EXPECT_EQ(built + 3, builtConstructors);
        EXPECT_EQ(live, liveConstructors);
    }
}

TEST(ReaderRegistry, DerivedRecordCarriesItsBaseRecordWithTheBasesOwnVersion)
{
    RegisterTestClasses();
    DocumentBuilder b;
    b.Header(L"TestBox", 1).Int(9);
    ConstructorBaseRecord(b, L"Rain", 7);
    ByteArchive archive(b.Data());
    std::unique_ptr<DS_ABObj_Constructor> read(ReadConstructor(archive.handle));
    const auto& box = dynamic_cast<const TestBox&>(*read);
    EXPECT_EQ(1, box.versionRead);
    EXPECT_EQ(9, box.width);
    EXPECT_EQ(L"Rain", box.name);
    EXPECT_EQ(b.Size(), archive.Consumed());
}

TEST(ReaderRegistry, BuiltRecordsReadBackAndWriteTheSameBytes)
{
    RegisterTestClasses();
    DocumentBuilder b;
    b.Header(L"TestShelf", 1).Int(2);
    Box(b, L"first", 10);
    Box(b, std::wstring(300, L'n'), -20);
    ConstructorBaseRecord(b, L"Shelf");
    ByteArchive archive(b.Data());

    std::unique_ptr<DS_ABObj_Constructor> read(ReadConstructor(archive.handle));
    auto& shelf = dynamic_cast<TestShelf&>(*read);
    ASSERT_EQ(2u, shelf.items.size());
    EXPECT_EQ(L"Shelf", shelf.name);
    const auto& second = dynamic_cast<const TestBox&>(*shelf.items[1]);
    EXPECT_EQ(-20, second.width);
    EXPECT_EQ(300u, second.name.size());
    EXPECT_EQ(b.Size(), archive.Consumed());

    WritingHandle out;
    shelf.Write(out.handle);
    EXPECT_EQ(b.Data(), out.archive->Bytes());
}
