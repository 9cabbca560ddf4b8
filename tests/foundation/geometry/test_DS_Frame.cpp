#include "foundation/geometry/DS_AnimationBase.h"
#include "foundation/geometry/DS_Frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>

namespace {

// Writes a fixed world matrix and counts its own deletion.
class FixedAnimation : public DS_AnimationBase {
public:
    FixedAnimation(const D3DXMATRIX& result, int& deletions) : result(result), deletions(deletions) {}
    ~FixedAnimation() override { ++deletions; }
    void Animate(DS_Frame& frame) override { frame.world = result; }

private:
    D3DXMATRIX result;
    int& deletions;
};

D3DXMATRIX Translation(float x, float y, float z)
{
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, x, y, z);
    return m;
}

D3DXMATRIX RotationZ(float angle)
{
    D3DXMATRIX m;
    D3DXMatrixRotationZ(&m, angle);
    return m;
}

::testing::AssertionResult MatrixNear(const D3DXMATRIX& actual, const D3DXMATRIX& expected)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (std::fabs(actual(r, c) - expected(r, c)) > 1e-5f)
                return ::testing::AssertionFailure() << "differs at (" << r << ", " << c << "): " << actual(r, c)
                                                     << " instead of " << expected(r, c);
    return ::testing::AssertionSuccess();
}

const float QuarterTurn = D3DX_PI / 2;

} // namespace

TEST(DS_Frame, WithoutParentWorldIsLocal)
{
    DS_Frame frame;
    frame.local = Translation(1, 2, 3);
    frame.world = RotationZ(1.0f);

    frame.UpdateFrameTree(nullptr);

    EXPECT_TRUE(MatrixNear(frame.world, frame.local));
}

TEST(DS_Frame, ParentTransformAppliesAfterOwnAndReachesEveryLevel)
{
    DS_Frame root, child, grandchild;
    root.children.push_back(&child);
    child.children.push_back(&grandchild);
    root.local = Translation(10, 0, 0);
    child.local = RotationZ(QuarterTurn);
    grandchild.local = Translation(0, 5, 0);
    const D3DXMATRIX parent = Translation(0, 0, 7);

    root.UpdateFrameTree(&parent);

    const D3DXMATRIX rootWorld = root.local * parent;
    const D3DXMATRIX childWorld = child.local * rootWorld;
    EXPECT_TRUE(MatrixNear(root.world, rootWorld));
    EXPECT_TRUE(MatrixNear(child.world, childWorld));
    EXPECT_TRUE(MatrixNear(grandchild.world, grandchild.local * childWorld));

    // The child's own rotation comes before the parent's translation: the
    // point (1, 0, 0) turns to (0, 1, 0) first, then moves by (10, 0, 7).
    D3DXVECTOR3 p(1, 0, 0), out;
    D3DXVec3TransformCoord(&out, &p, &child.world);
    EXPECT_NEAR(10.0f, out.x, 1e-5f);
    EXPECT_NEAR(1.0f, out.y, 1e-5f);
    EXPECT_NEAR(7.0f, out.z, 1e-5f);
}

TEST(DS_Frame, AnimationWritesWorldInPlaceOfLocal)
{
    int deletions = 0;
    DS_Frame root, child;
    root.children.push_back(&child);
    root.local = Translation(100, 100, 100);
    const D3DXMATRIX animated = RotationZ(QuarterTurn);
    root.animation = new FixedAnimation(animated, deletions);
    child.local = Translation(1, 0, 0);
    const D3DXMATRIX parent = Translation(0, 3, 0);

    root.UpdateFrameTree(&parent);

    EXPECT_TRUE(MatrixNear(root.world, animated * parent));
    EXPECT_TRUE(MatrixNear(child.world, child.local * animated * parent));
}

TEST(DS_Frame, DestructorDeletesTheAnimationOnly)
{
    int deletions = 0;
    int childDeletions = 0;
    auto* child = new DS_Frame;
    child->animation = new FixedAnimation(Translation(0, 0, 0), childDeletions);
    {
        DS_Frame frame;
        frame.animation = new FixedAnimation(Translation(0, 0, 0), deletions);
        frame.children.push_back(child);
    }
    EXPECT_EQ(1, deletions);
    EXPECT_EQ(0, childDeletions);
    delete child;
    EXPECT_EQ(1, childDeletions);
}

TEST(DS_Frame, CopiesTakeEverythingButTheAnimation)
{
    int deletions = 0;
    DS_Frame child;
    {
        DS_Frame original;
        original.boundingRadius = 2.5f;
        original.boundingCentre = D3DXVECTOR3(1, 2, 3);
        original.local = Translation(4, 5, 6);
        original.world = RotationZ(0.5f);
        original.clockwiseFront = false;
        original.children.push_back(&child);
        original.animation = new FixedAnimation(Translation(0, 0, 0), deletions);

        DS_Frame copy(original);
        DS_Frame assigned;
        int assignedDeletions = 0;
        auto* own = new FixedAnimation(Translation(0, 0, 0), assignedDeletions);
        assigned.animation = own;
        assigned = original;

        for (const DS_Frame* f : {&copy, &assigned}) {
            EXPECT_EQ(2.5f, f->boundingRadius);
            EXPECT_EQ(D3DXVECTOR3(1, 2, 3), f->boundingCentre);
            EXPECT_TRUE(MatrixNear(f->local, original.local));
            EXPECT_TRUE(MatrixNear(f->world, original.world));
            EXPECT_FALSE(f->clockwiseFront);
            ASSERT_EQ(1u, f->children.size());
            EXPECT_EQ(&child, f->children.front());
        }
        // Sharing the owned animation would delete it once per copy.
        EXPECT_EQ(nullptr, copy.animation);
        EXPECT_EQ(own, assigned.animation);
    }
    EXPECT_EQ(1, deletions);
}

TEST(DS_Frame, DestroyFrameTreeDeletesChildrenButNotGrandchildren)
{
    int deletions = 0;
    const D3DXMATRIX any = Translation(0, 0, 0);
    DS_Frame grandchild;
    int grandchildDeletions = 0;
    grandchild.animation = new FixedAnimation(any, grandchildDeletions);

    auto* root = new DS_Frame;
    root->animation = new FixedAnimation(any, deletions);
    for (int i = 0; i < 2; ++i) {
        auto* child = new DS_Frame;
        child->animation = new FixedAnimation(any, deletions);
        child->children.push_back(&grandchild);
        root->children.push_back(child);
    }
    root->children.push_back(nullptr);

    DestroyFrameTree(root);

    EXPECT_EQ(3, deletions); // the root's animation and both children's
    EXPECT_EQ(0, grandchildDeletions);
    EXPECT_NE(nullptr, grandchild.animation);
}

TEST(DS_Frame, DeleteChildFramesCoversItsRangeOnceAndClearsTheEntries)
{
    int deletions[3] = {};
    DS_Frame parent;
    for (int& counter : deletions) {
        auto* child = new DS_Frame;
        child->animation = new FixedAnimation(Translation(0, 0, 0), counter);
        parent.children.push_back(child);
    }
    const auto last = std::prev(parent.children.end());

    DeleteChildFrames(parent.children.begin(), last);
    DeleteChildFrames(parent.children.begin(), last); // entries are cleared: nothing twice

    EXPECT_EQ(1, deletions[0]);
    EXPECT_EQ(1, deletions[1]);
    EXPECT_EQ(0, deletions[2]);
    EXPECT_EQ(nullptr, parent.children.front());
    parent.UpdateFrameTree(nullptr); // cleared entries are skipped

    DeleteChildFrames(last, parent.children.end());
    EXPECT_EQ(1, deletions[2]);
}
