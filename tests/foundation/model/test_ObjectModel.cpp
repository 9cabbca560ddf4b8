#include "foundation/model/DS_ABObj.h"
#include "foundation/model/DS_ABObj_Constructor.h"
#include "tests/support/ArchiveBytes.h"
#include "tools/document/ObjectRecords.h"
#include "tools/document/WritingArchive.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A constructor that counts its live instances, and the runtime object it
// makes.
class TallyConstructor : public DS_ABObj_Constructor {
public:
    TallyConstructor() { ++live; }
    TallyConstructor(const TallyConstructor& other) : DS_ABObj_Constructor(other) { ++live; }
    ~TallyConstructor() override { --live; }

    DS_ABObj* CreateObject() override;
    int OnObjectNotify(DS_ABObj* object) override
    {
        notifiedBy = object;
        return 42;
    }

    DS_ABObj* notifiedBy = nullptr;
    static inline int live = 0;
};

class TallyObject : public DS_ABObj {
public:
    explicit TallyObject(DS_ABObj_Constructor* clone) : DS_ABObj(clone) {}
    void Render(DS_2D_Light&) override {}
    void DrawHighlight(DS_2D_Light&, int) override {}
    void Update(float) override {}
    void OnViewChanged() override {}
};

DS_ABObj* TallyConstructor::CreateObject() { return new TallyObject(new TallyConstructor(*this)); }

std::vector<uint8_t> WrittenBy(DS_IOF_Item& item)
{
    WritingHandle out;
    item.Write(out.handle);
    return out.archive->Bytes();
}

} // namespace

TEST(DS_ABObj_Constructor, BaseRecordReadsTheNameWhateverItsVersionAndWritesVersionOne)
{
    DocumentBuilder canonical;
    ConstructorBaseRecord(canonical, L"Snow over the lake");

    for (const int32_t version : {1, 7}) {
        DocumentBuilder b;
        ConstructorBaseRecord(b, L"Snow over the lake", version);
        const auto bytes = b.Data();
        ByteArchive in(bytes);

        TallyConstructor read;
        ReadConstructorBase(in.handle, read);
        EXPECT_EQ(L"Snow over the lake", read.name) << version;
        EXPECT_EQ(0u, in.buffer.Remaining()) << version;
        EXPECT_EQ(canonical.Data(), WrittenBy(read)) << version;
    }
}

TEST(DS_ABObj_Constructor, CopyTakesNameAndFlagAndLeavesTheOriginalWhole)
{
    TallyConstructor original;
    EXPECT_EQ(1, original.flag);
    EXPECT_TRUE(original.name.empty());
    original.name = L"Fireflies";
    original.flag = 0;

    auto copy = std::make_unique<TallyConstructor>(original);
    EXPECT_EQ(L"Fireflies", copy->name);
    EXPECT_EQ(0, copy->flag);
    copy.reset();
    EXPECT_EQ(L"Fireflies", original.name);
}

TEST(DS_ABObj, OwnsTheCloneItWasMadeWith)
{
    TallyConstructor constructor;
    std::unique_ptr<DS_ABObj> object(constructor.CreateObject());
    ASSERT_EQ(2, TallyConstructor::live);
    auto* clone = static_cast<TallyConstructor*>(object->Constructor());
    ASSERT_NE(&constructor, clone);

    EXPECT_EQ(42, object->NotifyConstructor());
    EXPECT_EQ(object.get(), clone->notifiedBy);
    EXPECT_EQ(nullptr, constructor.notifiedBy);

    object.reset();
    EXPECT_EQ(1, TallyConstructor::live);
}

TEST(DS_ABObj, WithoutACloneDestroysNothingAndNotifiesNobody)
{
    TallyConstructor bystander;
    auto object = std::make_unique<TallyObject>(nullptr);
    EXPECT_EQ(0, object->NotifyConstructor());
    object.reset();
    EXPECT_EQ(1, TallyConstructor::live);
    EXPECT_EQ(nullptr, bystander.notifiedBy);
}
