#include "foundation/params/MediaQuad.h"
#include "foundation/render/MediaRectangle.h"

#include "foundation/core/SaverError.h"
#include "tests/support/ArchiveBytes.h"
#include "tools/document/DocumentBuilder.h"
#include "tools/document/WritingArchive.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class ChangeCounter : public MediaControl {
public:
    void OnChanged(MediaControl*) override { ++changes; }
    int changes = 0;
};

} // namespace

TEST(MediaRectangle, StartsAtZeroWithAnUndoOnEveryEdge)
{
    MediaRectangle r;
    for (MediaParamT<int>* edge : {&r.left, &r.right, &r.top, &r.bottom}) {
        EXPECT_EQ(0, edge->value);
        ASSERT_EQ(1u, edge->ListenerCount());
        EXPECT_EQ(&edge->undo, edge->ListenerAt(0));
    }
    EXPECT_EQ(0, r.pointX.value);
    EXPECT_EQ(0, r.pointY.value);
    EXPECT_EQ(0u, r.pointX.ListenerCount());
}

TEST(MediaRectangle, CopyTakesTheSixValuesAndNoListeners)
{
    ChangeCounter counter;
    MediaRectangle r;
    r.left.AddListener(&counter);
    r.pointY.AddListener(&counter);
    r.left.value = 1;
    r.right.value = 2;
    r.top.value = 3;
    r.bottom.value = 4;
    r.pointX.value = 5;
    r.pointY.value = 6;

    MediaRectangle copy(r);
    EXPECT_EQ(1, copy.left.value);
    EXPECT_EQ(2, copy.right.value);
    EXPECT_EQ(3, copy.top.value);
    EXPECT_EQ(4, copy.bottom.value);
    EXPECT_EQ(5, copy.pointX.value);
    EXPECT_EQ(6, copy.pointY.value);
    EXPECT_EQ(1u, copy.left.ListenerCount());
    EXPECT_EQ(&copy.left.undo, copy.left.ListenerAt(0));
    EXPECT_EQ(0u, copy.pointY.ListenerCount());
}

TEST(MediaRectangle, ReadsSixIntsSilentlyAndWritesThemBack)
{
    DocumentBuilder b;
    b.Long(-5).Long(640).Long(7).Long(480).Long(320).Long(-240).Byte(0xAA);
    ByteArchive in(b.Data());
    ChangeCounter counter;
    MediaRectangle r;
    r.left.AddListener(&counter);
    r.pointX.AddListener(&counter);

    r.Read(in.handle);

    EXPECT_EQ(-5, r.left.value);
    EXPECT_EQ(640, r.right.value);
    EXPECT_EQ(7, r.top.value);
    EXPECT_EQ(480, r.bottom.value);
    EXPECT_EQ(320, r.pointX.value);
    EXPECT_EQ(-240, r.pointY.value);
    EXPECT_EQ(1u, in.buffer.Remaining());
    EXPECT_EQ(0, counter.changes);
    EXPECT_EQ(0, r.left.undo.copy);

    WritingHandle out;
    r.Write(out.handle);
    EXPECT_EQ(std::vector<uint8_t>(b.Data().begin(), b.Data().end() - 1), out.archive->Bytes());
}

TEST(MediaRectangle, ShortRecordFailsTheLoad)
{
    DocumentBuilder b;
    b.Long(1).Long(2).Long(3).Long(4).Long(5).Byte(6);
    ByteArchive in(b.Data());
    MediaRectangle r;
    EXPECT_THROW(r.Read(in.handle), MediaLoadError);
}

TEST(MediaQuad, ReadsTwelveFloatsSilentlyAndWritesThemBack)
{
    const float values[12] = {0.0f, 0.0f, 1.0f, 512.5f, 0.0f, 1.0f, 512.5f, -384.25f, 1.0f, 0.0f, -384.25f, 1e-3f};
    DocumentBuilder b;
    for (float v : values)
        b.Float(v);
    ByteArchive in(b.Data());
    ChangeCounter counter;
    MediaQuad q;
    for (const MediaParamTB<D3DXVECTOR3>& corner : q.corners) {
        EXPECT_EQ(0.0f, corner.value.x);
        EXPECT_EQ(0.0f, corner.value.y);
        EXPECT_EQ(0.0f, corner.value.z);
    }
    q.corners[2].AddListener(&counter);

    q.Read(in.handle);

    for (int i = 0; i < MediaQuad::CornerCount; ++i) {
        EXPECT_EQ(values[3 * i], q.corners[i].value.x) << i;
        EXPECT_EQ(values[3 * i + 1], q.corners[i].value.y) << i;
        EXPECT_EQ(values[3 * i + 2], q.corners[i].value.z) << i;
    }
    EXPECT_EQ(0u, in.buffer.Remaining());
    EXPECT_EQ(0, counter.changes);

    MediaQuad copy(q);
    EXPECT_EQ(0u, copy.corners[2].ListenerCount());
    WritingHandle out;
    copy.Write(out.handle);
    EXPECT_EQ(b.Data(), out.archive->Bytes());
}

TEST(MediaQuad, ShortRecordFailsTheLoad)
{
    DocumentBuilder b;
    for (int i = 0; i < 11; ++i)
        b.Float(1.0f);
    ByteArchive in(b.Data());
    MediaQuad q;
    EXPECT_THROW(q.Read(in.handle), MediaLoadError);
}
