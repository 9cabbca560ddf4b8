#include "objects/particles/DS_BoundControl.h"

#include "foundation/core/Random.h"
#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/params/StoredValues.h"
#include "objects/base/DS_ViewObjCtrl.h"

#include <algorithm>

using namespace stored_values;

namespace {

const wchar_t* const RecordName = L"DS_BoundControl";
constexpr int32_t WrittenVersion = 1;

constexpr float MillisecondsPerUnit = 1000.0f;
constexpr float UnitsPerMillisecond = 0.001f;

struct EdgeTests {
    DS_BoundControl::EdgeTest outside;
    DS_BoundControl::EdgeTest touching;
};

// Top, bottom, left, right.
const EdgeTests TestsOfEdge[] = {
    {IsAboveView, CrossesTopEdge},
    {IsBelowView, CrossesBottomEdge},
    {IsLeftOfView, CrossesLeftEdge},
    {IsRightOfView, CrossesRightEdge},
};

} // namespace

DS_BoundControl::DS_BoundControl(const DS_BoundControl& other)
    : DS_IOF_Item(other), edge(other.edge), rule(other.rule), fadeOutTime(other.fadeOutTime),
      fadeInTime(other.fadeInTime), minHiddenTime(other.minHiddenTime), maxHiddenTime(other.maxHiddenTime)
{
}

void DS_BoundControl::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    WriteInt(archive, rule);
    WriteUInt(archive, fadeOutTime);
    WriteUInt(archive, fadeInTime);
    WriteUInt(archive, minHiddenTime);
    WriteUInt(archive, maxHiddenTime);
}

void DS_BoundControl::BindEdge(int32_t newEdge, const DS_ViewObjCtrl* flow)
{
    edge = newEdge;
    const bool known = newEdge >= TopEdge && newEdge <= RightEdge;
    const EdgeTests& tests = TestsOfEdge[known ? newEdge : TopEdge];
    outsideTest = tests.outside;
    touchingTest = tests.touching;
    owner = flow;
}

bool DS_BoundControl::Apply(const DS_ViewObjCtrl& flow, ParticleItem& item)
{
    if (item.edgeState != NoEdge)
        return item.edgeState == edge && Continue(item, flow);

    switch (rule.value) {
    case RuleLeaveAndReenter:
        break;
    case RuleBounce:
        return Bounce(item);
    case RuleBounceWithPause:
        return BounceWithPause(item, flow);
    default:
        return false;
    }

    if (!Outside(item))
        return false;
    if (item.phase > 0.0f) {
        // The fade-out starts; the particle keeps moving meanwhile.
        item.edgeState = edge;
        return true;
    }

    // Beyond the edge and faded out: just inside the opposite edge, at a
    // random place along it.
    const float l = flow.GetPixelLeft(), r = flow.GetPixelRight();
    const float t = flow.GetPixelTop(), b = flow.GetPixelBottom();
    switch (edge) {
    case BottomEdge:
        item.position.y = t + 1.0f;
        item.position.x = RandomRange(l, r);
        break;
    case LeftEdge:
        item.position.x = r - 1.0f;
        item.position.y = RandomRange(t, b);
        break;
    case RightEdge:
        item.position.x = l + 1.0f;
        item.position.y = RandomRange(t, b);
        break;
    default:
        item.position.y = b - 1.0f;
        item.position.x = RandomRange(l, r);
        break;
    }
    item.reentry = 1;
    item.edgeState = edge;
    return true;
}

bool DS_BoundControl::Continue(ParticleItem& item, const DS_ViewObjCtrl& flow)
{
    switch (rule.value) {
    case RuleLeaveAndReenter:
        ContinueLeaveAndReenter(item, flow);
        break;
    case RuleBounce:
        ContinueBounce(item, flow);
        break;
    case RuleBounceWithPause:
        ContinueBounceWithPause(item, flow);
        break;
    default:
        break;
    }
    return true;
}

bool DS_BoundControl::Bounce(ParticleItem& item)
{
    if (!Touching(item))
        return false;
    NegateSign(item);
    item.edgeState = edge;
    return true;
}

bool DS_BoundControl::BounceWithPause(ParticleItem& item, const DS_ViewObjCtrl& flow)
{
    if (!Outside(item))
        return false;
    NegateSign(item);
    item.resumeTime = flow.clock + HiddenWait();
    item.hidden = 1;
    item.timer = flow.clock;
    item.edgeState = edge;
    return true;
}

bool DS_BoundControl::Outside(const ParticleItem& item) const
{
    return outsideTest && owner && outsideTest(item, *owner);
}

bool DS_BoundControl::Touching(const ParticleItem& item) const
{
    return touchingTest && owner && touchingTest(item, *owner);
}

void DS_BoundControl::NegateSign(ParticleItem& item) const
{
    if (Vertical())
        item.sign.y = -item.sign.y;
    else
        item.sign.x = -item.sign.x;
}

float DS_BoundControl::HiddenWait() const
{
    return RandomRange(static_cast<float>(minHiddenTime.value) * UnitsPerMillisecond,
                       static_cast<float>(maxHiddenTime.value) * UnitsPerMillisecond);
}

void DS_BoundControl::ContinueBounce(ParticleItem& item, const DS_ViewObjCtrl& flow)
{
    // Pushed back inside the view by one pixel beyond its half extent.
    if (Vertical()) {
        const float t = flow.GetPixelTop(), b = flow.GetPixelBottom(), hh = item.halfHeight;
        if (item.position.y > b - hh)
            item.position.y = b - hh - 1.0f;
        if (item.position.y < t + hh)
            item.position.y = t + hh + 1.0f;
    } else {
        const float l = flow.GetPixelLeft(), r = flow.GetPixelRight(), hw = item.halfWidth;
        if (item.position.x > r - hw)
            item.position.x = r - hw - 1.0f;
        if (item.position.x < l + hw)
            item.position.x = l + hw + 1.0f;
    }
    if (!Touching(item))
        item.edgeState = NoEdge;
}

void DS_BoundControl::ContinueBounceWithPause(ParticleItem& item, const DS_ViewObjCtrl& flow)
{
    // Held within one half extent beyond the view while it waits.
    if (Vertical()) {
        const float t = flow.GetPixelTop(), b = flow.GetPixelBottom(), hh = item.halfHeight;
        if (item.position.y > b + hh)
            item.position.y = b + hh - 1.0f;
        if (item.position.y < t - hh)
            item.position.y = t - hh + 1.0f;
    } else {
        const float l = flow.GetPixelLeft(), r = flow.GetPixelRight(), hw = item.halfWidth;
        if (item.position.x > r + hw)
            item.position.x = r + hw - 1.0f;
        if (item.position.x < l - hw)
            item.position.x = l - hw + 1.0f;
    }
    item.timer += flow.step;
    if (item.resumeTime < item.timer) {
        item.hidden = 0;
        if (!Outside(item))
            item.edgeState = NoEdge;
    }
}

void DS_BoundControl::ContinueLeaveAndReenter(ParticleItem& item, const DS_ViewObjCtrl& flow)
{
    if (item.reentry) {
        item.timer += flow.step;
        // The fade-in starts only once the wait is over, so that a particle
        // is never freed while it is still hidden.
        if (item.resumeTime < item.timer) {
            item.hidden = 0;
            if (item.phase < 1.0f) {
                item.phase = fadeInTime.value == 0
                                 ? 1.0f
                                 : std::min(1.0f, item.phase + flow.step * MillisecondsPerUnit /
                                                                   static_cast<float>(fadeInTime.value));
            } else {
                item.edgeState = NoEdge;
                item.reentry = 0;
            }
        }
    } else if (item.phase > 0.0f) {
        item.phase = fadeOutTime.value == 0
                         ? 0.0f
                         : std::max(0.0f, item.phase - flow.step * MillisecondsPerUnit /
                                                           static_cast<float>(fadeOutTime.value));
    } else {
        // Faded out and still beyond the edge: the hidden wait runs from
        // here, and the next update moves the particle to the other side.
        item.edgeState = NoEdge;
        item.resumeTime = flow.clock + HiddenWait();
        item.hidden = 1;
        item.timer = flow.clock;
    }
}

void ReadBoundControl(ArchiveHandle& archive, DS_BoundControl& control)
{
    ReadObjectHeader(archive);
    int32_t ruleValue = 0;
    archive->ReadInt(ruleValue);
    control.rule.value = ruleValue;
    archive->ReadUInt(control.fadeOutTime.value);
    archive->ReadUInt(control.fadeInTime.value);
    archive->ReadUInt(control.minHiddenTime.value);
    archive->ReadUInt(control.maxHiddenTime.value);
}
