#include "foundation/params/MediaFloat.h"
#include "foundation/params/MediaSpeedParam.h"
#include "foundation/params/UINTSclaleTo.h"

#include "GuardedObject.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

// Counts what reaches it from one unsigned parameter.
class CountingListener : public MediaControlT<MediaParamTB<unsigned int>> {
public:
    void OnChanged(MediaControl*) override { ++changes; }
    void Detach() override
    {
        ++detaches;
        MediaControlT::Detach();
    }
    int changes = 0;
    int detaches = 0;
};

MediaControl* AsListener(MediaControlT<MediaParamT<unsigned int>>& self) { return &self; }

struct ByteCase {
    unsigned int value;
    float scale;
    float offset;
    unsigned int expected;
};

} // namespace

TEST(UINTSclaleTo, StartsAtZeroListeningToItselfAfterItsUndo)
{
    UINTSclaleTo<unsigned char> p;
    EXPECT_EQ(0u, p.value);
    EXPECT_EQ(0, p.result);
    EXPECT_EQ(1.0f, p.scale);
    EXPECT_EQ(0.0f, p.offset);
    ASSERT_EQ(2u, p.ListenerCount());
    EXPECT_EQ(&p.undo, p.ListenerAt(0));
    EXPECT_EQ(AsListener(p), p.ListenerAt(1));
    EXPECT_EQ(static_cast<MediaParamT<unsigned int>*>(&p), p.observed);
}

TEST(UINTSclaleTo, ByteResultTruncatesAndKeepsTheLowByte)
{
    const ByteCase cases[] = {
        {300, 1.0f, 0.0f, 44},   // 300 mod 256
        {3, 0.5f, 0.75f, 2},     // 2.25
        {255, 1.0f, 0.0f, 255},  // 255.0
        {256, 1.0f, 0.0f, 0},    // 256.0
        {1, 1.0f, 1.9f, 2},      // 2.9, toward zero
        {1, 1.0f, -2.0f, 255},   // -1 keeps its low byte
        {100, -2.55f, 255.0f, 0},
        {1, 1e10f, 0.0f, 0},     // beyond int32: 0x80000000
        // 0x80000000 is 2147483648, not -2147483648 (which would give 192 and 42).
        {0x80000000u, 1.0f / 33554432.0f, 0.0f, 64},
        {0x80000000u, 1e-7f, 0.0f, 214},
    };
    for (const ByteCase& c : cases) {
        UINTSclaleTo<unsigned char> p;
        p.scale = c.scale;
        p.offset = c.offset;
        p.SetValue(c.value, nullptr);
        EXPECT_EQ(c.expected, p.result) << "value " << c.value << " scale " << c.scale << " offset " << c.offset;
    }
}

TEST(UINTSclaleTo, FloatResultTakesTheValueAsUnsigned)
{
    UINTSclaleTo<float> bump;
    bump.scale = -0.009f;
    bump.offset = 1.0f;
    bump.SetValue(88, nullptr);
    EXPECT_FLOAT_EQ(0.208f, bump.result);

    UINTSclaleTo<float> big;
    big.SetValue(0x80000000u, nullptr);
    EXPECT_EQ(2147483648.0f, big.result);
}

TEST(UINTSclaleTo, ValueStoredStraightWaitsForTheNextNotification)
{
    UINTSclaleTo<float> p;
    p.scale = 0.01f;
    p.value = 120;
    EXPECT_EQ(0.0f, p.result);
    p.NotifyListeners(nullptr);
    EXPECT_FLOAT_EQ(1.2f, p.result);
}

TEST(UINTSclaleTo, CopyListensToItselfAndRecomputesFromTheValue)
{
    UINTSclaleTo<unsigned char> original;
    original.scale = 0.5f;
    original.offset = 1.0f;
    original.SetValue(300, nullptr);
    CountingListener watcher;
    watcher.AttachSilently(&original);
    original.value = 10; // stored straight: the original's result is stale

    auto copy = std::make_unique<UINTSclaleTo<unsigned char>>(original);

    EXPECT_EQ(10u, copy->value);
    EXPECT_EQ(0.5f, copy->scale);
    EXPECT_EQ(1.0f, copy->offset);
    EXPECT_EQ(6, copy->result);
    ASSERT_EQ(2u, copy->ListenerCount());
    EXPECT_EQ(&copy->undo, copy->ListenerAt(0));
    EXPECT_EQ(AsListener(*copy), copy->ListenerAt(1));
    EXPECT_EQ(10u, copy->undo.copy);

    copy->SetValue(20, nullptr);
    EXPECT_EQ(11, copy->result);
    EXPECT_EQ(0, watcher.changes);
    EXPECT_EQ(3u, original.ListenerCount());

    copy.reset();
    original.SetValue(40, nullptr);
    EXPECT_EQ(21, original.result);
    EXPECT_EQ(1, watcher.changes);
}

TEST(UINTSclaleTo, DestructionLeavesNoListenerDangling)
{
    auto watcher = std::make_unique<CountingListener>();
    GuardedObject<UINTSclaleTo<float>> p;
    watcher->AttachSilently(p.get());
    GuardedObject<UINTSclaleTo<float>> copy(*p);
    copy.Destroy();
    ASSERT_TRUE(copy.Guarded());

    // The original still works after its copy died.
    p->SetValue(3, nullptr);
    EXPECT_EQ(3.0f, p->result);
    EXPECT_EQ(1, watcher->changes);

    p.Destroy();
    ASSERT_TRUE(p.Guarded());
    EXPECT_EQ(1, watcher->detaches);
    EXPECT_EQ(nullptr, watcher->observed);
    // A listener that still pointed at the dead parameter would fault here.
    watcher.reset();
}

TEST(MediaFloat, OwnerSetsScaleRecomputesThenSetsTheValue)
{
    MediaFloat<unsigned int> drift;
    ASSERT_EQ(2u, drift.ListenerCount());
    EXPECT_EQ(&drift.undo, drift.ListenerAt(0));
    EXPECT_EQ(AsListener(drift), drift.ListenerAt(1));

    drift.scale = 3.0f;
    drift.offset = 0.5f;
    drift.Recompute();
    EXPECT_EQ(0.5f, drift.result);
    drift.SetValue(5, nullptr);
    EXPECT_EQ(15.5f, drift.result);
}

TEST(MediaFloat, DiesWithoutTouchingItsListenersAfterwards)
{
    auto watcher = std::make_unique<CountingListener>();
    GuardedObject<MediaFloat<unsigned int>> p;
    watcher->AttachSilently(p.get());
    p.Destroy();
    ASSERT_TRUE(p.Guarded());
    EXPECT_EQ(1, watcher->detaches);
    EXPECT_EQ(nullptr, watcher->observed);
    watcher.reset();
}

TEST(MediaSpeedParam, ClockCapsEachStepBeforeApplyingTheSpeed)
{
    MediaSpeedParam speed;
    EXPECT_EQ(0.0f, speed.step);
    EXPECT_EQ(0.0f, speed.time);
    EXPECT_EQ(0.0f, speed.last);
    speed.scale = 0.02f;
    speed.SetValue(100, nullptr); // speed 2
    ASSERT_FLOAT_EQ(2.0f, speed.result);

    // The first call measures from 0 and is capped.
    speed.AdvanceClock(10.0f);
    EXPECT_FLOAT_EQ(0.4f, speed.step);
    EXPECT_FLOAT_EQ(0.4f, speed.time);
    EXPECT_EQ(10.0f, speed.last);

    speed.AdvanceClock(10.5f);
    EXPECT_FLOAT_EQ(0.4f, speed.step);
    EXPECT_FLOAT_EQ(0.8f, speed.time);

    // Time going backwards adds nothing and restarts from there.
    speed.AdvanceClock(9.0f);
    EXPECT_EQ(0.0f, speed.step);
    EXPECT_FLOAT_EQ(0.8f, speed.time);
    EXPECT_EQ(9.0f, speed.last);

    speed.AdvanceClock(9.05f);
    EXPECT_NEAR(0.1f, speed.step, 1e-5f);
    EXPECT_NEAR(0.9f, speed.time, 1e-5f);
}

TEST(MediaSpeedParam, CopyTakesTheClockAndBindsToItself)
{
    MediaSpeedParam speed;
    speed.scale = 0.001f;
    speed.SetValue(50, nullptr);
    speed.AdvanceClock(0.1f);

    MediaSpeedParam copy(speed);
    EXPECT_EQ(speed.step, copy.step);
    EXPECT_EQ(speed.time, copy.time);
    EXPECT_EQ(speed.last, copy.last);
    EXPECT_FLOAT_EQ(0.05f, copy.result);
    ASSERT_EQ(2u, copy.ListenerCount());
    EXPECT_EQ(AsListener(copy), copy.ListenerAt(1));

    copy.SetValue(100, nullptr);
    EXPECT_FLOAT_EQ(0.1f, copy.result);
    EXPECT_FLOAT_EQ(0.05f, speed.result);
}
