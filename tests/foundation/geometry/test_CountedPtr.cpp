#include "foundation/core/CountedPtr.h"

#include <gtest/gtest.h>

namespace {

class Shared {
public:
    virtual ~Shared() = default;
};

// Deleted through the base: the counter shows the virtual destructor ran.
class Counted : public Shared {
public:
    explicit Counted(int& deletions) : deletions(deletions) {}
    ~Counted() override { ++deletions; }

private:
    int& deletions;
};

} // namespace

TEST(CountedPtr, LastOfTheCopiesDeletesTheObjectOnce)
{
    int deletions = 0;
    auto* object = new Counted(deletions);
    {
        CountedPtr<Shared> first(object);
        {
            CountedPtr<Shared> second(first);
            CountedPtr<Shared> third;
            third = second;
            EXPECT_EQ(3, first.UseCount());
            EXPECT_EQ(object, third.Get());
        }
        EXPECT_EQ(0, deletions);
        EXPECT_EQ(1, first.UseCount());
    }
    EXPECT_EQ(1, deletions);
}

TEST(CountedPtr, AssignmentReleasesTheOldObject)
{
    int oldDeletions = 0, newDeletions = 0;
    CountedPtr<Shared> target(new Counted(oldDeletions));
    CountedPtr<Shared> source(new Counted(newDeletions));

    target = source;

    EXPECT_EQ(1, oldDeletions);
    EXPECT_EQ(0, newDeletions);
    EXPECT_EQ(2, source.UseCount());
    source.Release();
    target.Release();
    EXPECT_EQ(1, newDeletions);
}

TEST(CountedPtr, SelfAssignmentChangesNothing)
{
    int deletions = 0;
    CountedPtr<Shared> only(new Counted(deletions));
    CountedPtr<Shared> sharing(only);
    CountedPtr<Shared>& same = only;

    only = same;
    EXPECT_EQ(2, only.UseCount());
    // Two pointers of one holder assigned to each other keep it alive.
    sharing = only;
    only = sharing;
    EXPECT_EQ(2, only.UseCount());
    EXPECT_EQ(0, deletions);
    EXPECT_NE(nullptr, only.Get());
}

TEST(CountedPtr, EmptyAndNullHoldersReleaseQuietly)
{
    CountedPtr<Shared> empty;
    empty.Release();
    empty.Release();
    EXPECT_EQ(nullptr, empty.Get());
    EXPECT_EQ(0, empty.UseCount());

    // A holder of no object still counts its sharers.
    CountedPtr<Shared> nothing(nullptr);
    CountedPtr<Shared> copy(nothing);
    EXPECT_EQ(2, copy.UseCount());
    EXPECT_FALSE(copy);
    nothing.Release();
    EXPECT_EQ(1, copy.UseCount());

    // An empty pointer assigned over a full one releases it.
    int deletions = 0;
    CountedPtr<Shared> full(new Counted(deletions));
    full = empty;
    EXPECT_EQ(1, deletions);
    EXPECT_EQ(0, full.UseCount());
}
