#include "foundation/params/MediaControlList.h"
#include "foundation/params/UINTSclaleTo.h"

#include "GuardedObject.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A scene object whose members binders call.
class Target {
public:
    void SetEdge(int v) { edges.push_back(v); }
    void SetCount(unsigned int v)
    {
        counts.push_back(v);
        if (scaled)
            seenResults.push_back(scaled->result);
    }
    void Refresh() { ++refreshes; }

    std::vector<int> edges;
    std::vector<unsigned int> counts;
    std::vector<float> seenResults;
    const UINTSclaleTo<float>* scaled = nullptr;
    int refreshes = 0;
};

// Bound through the member functions of its base.
class DerivedTarget : public Target {};

// An object that a list may own; it reports its death and what the watched
// parameter's list held at that moment.
struct OwnedObject {
    MediaParamT<int>* watched = nullptr;
    int* deaths = nullptr;
    std::size_t* listenersAtDeath = nullptr;
    ~OwnedObject()
    {
        ++*deaths;
        *listenersAtDeath = watched->ListenerCount();
    }
};

} // namespace

TEST(BindParamCallback, CallsTheTargetAtOnceAndOnEveryChange)
{
    MediaParamT<int> edge(7);
    DerivedTarget target;
    MediaControlList binders;
    binders.SetOwner(&target, false);

    auto* binder = BindParamCallback(binders, edge, &Target::SetEdge, &target);

    EXPECT_EQ(std::vector<int>{7}, target.edges);
    ASSERT_EQ(1u, binders.Count());
    EXPECT_EQ(binder, binders.At(0));
    ASSERT_EQ(2u, edge.ListenerCount());
    EXPECT_EQ(binder, edge.ListenerAt(1));

    edge.SetValue(9, nullptr);
    edge.SetValue(9, nullptr);
    edge.SetValue(-3, binder); // the binder caused it: not told
    EXPECT_EQ((std::vector<int>{7, 9}), target.edges);
}

TEST(BindParamCallback, SeesTheScaledResultAlreadyRecomputed)
{
    UINTSclaleTo<float> size;
    size.scale = 0.01f;
    size.SetValue(50, nullptr);
    Target target;
    target.scaled = &size;
    MediaControlList binders;

    BindParamCallback(binders, size, &Target::SetCount, &target);
    size.SetValue(200, nullptr);

    EXPECT_EQ((std::vector<unsigned int>{50, 200}), target.counts);
    ASSERT_EQ(2u, target.seenResults.size());
    EXPECT_FLOAT_EQ(0.5f, target.seenResults[0]);
    EXPECT_FLOAT_EQ(2.0f, target.seenResults[1]);
}

TEST(BindParamCallback2, WaitsForTheFirstChange)
{
    MediaParamT<unsigned int> angle(90);
    DerivedTarget target;
    MediaControlList binders;

    auto* binder = BindParamCallback2(binders, angle, &Target::Refresh, &target);

    EXPECT_EQ(0, target.refreshes);
    EXPECT_EQ(&angle, binder->observed);
    ASSERT_EQ(2u, angle.ListenerCount());
    EXPECT_EQ(binder, angle.ListenerAt(1));

    angle.SetValue(180, nullptr);
    angle.SetValue(180, nullptr);
    EXPECT_EQ(1, target.refreshes);
}

TEST(MediaControlList, DestroyingItTakesItsBindersOffLiveParameters)
{
    MediaParamT<int> edge(1);
    MediaParamT<unsigned int> angle(0);
    Target target;
    {
        MediaControlList binders;
        BindParamCallback(binders, edge, &Target::SetEdge, &target);
        BindParamCallback2(binders, angle, &Target::Refresh, &target);
        ASSERT_EQ(2u, edge.ListenerCount());
        ASSERT_EQ(2u, angle.ListenerCount());
    }
    EXPECT_EQ(1u, edge.ListenerCount());
    EXPECT_EQ(1u, angle.ListenerCount());

    edge.SetValue(2, nullptr);
    angle.SetValue(3, nullptr);
    EXPECT_EQ(std::vector<int>{1}, target.edges);
    EXPECT_EQ(0, target.refreshes);
}

TEST(MediaControlList, DestroyedAfterItsParametersTouchesNone)
{
    Target target;
    GuardedObject<MediaParamT<int>> edge(4);
    GuardedObject<UINTSclaleTo<float>> count;
    GuardedObject<MediaParamT<unsigned int>> angle(10u);
    auto binders = std::make_unique<MediaControlList>();
    binders->SetOwner(&target, false);
    auto* edgeBinder = BindParamCallback(*binders, *edge, &Target::SetEdge, &target);
    auto* countBinder = BindParamCallback(*binders, *count, &Target::SetCount, &target);
    auto* angleBinder = BindParamCallback2(*binders, *angle, &Target::Refresh, &target);

    edge.Destroy();
    count.Destroy();
    angle.Destroy();
    ASSERT_TRUE(edge.Guarded() && count.Guarded() && angle.Guarded());
    EXPECT_EQ(nullptr, edgeBinder->observed);
    EXPECT_EQ(nullptr, countBinder->observed);
    EXPECT_EQ(nullptr, angleBinder->observed);

    // Any binder still reaching for its parameter faults here.
    binders.reset();
    EXPECT_EQ(std::vector<int>{4}, target.edges);
    EXPECT_EQ(std::vector<unsigned int>{0}, target.counts);
    EXPECT_EQ(0, target.refreshes);
}

TEST(MediaControlList, DeletesItsOwnerOnlyWhenItOwnsOne)
{
    struct Case {
        bool setOwner;
        bool owns;
        int deaths;
    };
    const Case cases[] = {
        {false, true, 0}, // as built: no owner, flag set
        {true, false, 0}, // the owner set itself and cleared the flag
        {true, true, 1},  // an owned object goes after the binders
    };
    for (const Case& c : cases) {
        MediaParamT<int> edge(0);
        Target target;
        int deaths = 0;
        std::size_t listenersAtDeath = 0;
        auto owned = std::make_unique<OwnedObject>();
        owned->watched = &edge;
        owned->deaths = &deaths;
        owned->listenersAtDeath = &listenersAtDeath;
        {
            MediaControlList binders;
            EXPECT_TRUE(binders.OwnsOwner());
            EXPECT_EQ(nullptr, binders.Owner());
            if (c.setOwner)
                binders.SetOwner(owned.get(), c.owns);
            BindParamCallback(binders, edge, &Target::SetEdge, &target);
        }
        EXPECT_EQ(c.deaths, deaths) << "set " << c.setOwner << " owns " << c.owns;
        if (deaths == 1) {
            // The binder had left the edge's list before the owner died.
            EXPECT_EQ(1u, listenersAtDeath);
            owned.release();
        }
    }
}
