// What a flow does with a particle at one edge of its view: let it leave,
// fade out, wait hidden and come back through the opposite edge fading in
// (rule 0); bounce it off the edge (rule 1); or let it leave wholly, hold it
// for a while and let it come back (rule 2).
#pragma once

#include "foundation/model/DS_IOF_Item.h"
#include "foundation/params/MediaParam.h"
#include "objects/particles/ParticleItem.h"

#include <cstdint>

class DS_ViewObjCtrl;

class DS_BoundControl : public DS_IOF_Item {
public:
    enum Rule : int { RuleLeaveAndReenter = 0, RuleBounce = 1, RuleBounceWithPause = 2 };

    // A test of a particle against one edge of the owning flow's view.
    using EdgeTest = bool (*)(const ParticleItem&, const DS_ViewObjCtrl&);

    // No edge, rule 0, all times 0.
    DS_BoundControl() = default;
    // The edge and the five values; the owning flow binds the tests anew.
    DS_BoundControl(const DS_BoundControl& other);
    DS_BoundControl& operator=(const DS_BoundControl&) = delete;
    ~DS_BoundControl() override = default;

    // "DS_BoundControl", version 1.
    void Write(ArchiveHandle& archive) override;

    // Takes the edge and binds its tests to the flow; an edge number outside
    // 0 to 3 takes the top edge's tests.
    void BindEdge(int32_t newEdge, const DS_ViewObjCtrl* flow);

    // Whether this edge handled the particle in this update: the running
    // step of its own rule, or the start of a rule at this edge.
    bool Apply(const DS_ViewObjCtrl& flow, ParticleItem& item);
    // One step of the rule running for the particle at this edge.
    bool Continue(ParticleItem& item, const DS_ViewObjCtrl& flow);
    // The starts of rules 1 and 2.
    bool Bounce(ParticleItem& item);
    bool BounceWithPause(ParticleItem& item, const DS_ViewObjCtrl& flow);

    // The edge: 0 top, 1 bottom, 2 left, 3 right; -1 until bound.
    int32_t edge = NoEdge;
    EdgeTest outsideTest = nullptr;
    EdgeTest touchingTest = nullptr;
    const DS_ViewObjCtrl* owner = nullptr;
    MediaParamT<int> rule{RuleLeaveAndReenter};
    // Milliseconds of the flow's clock.
    MediaParamT<unsigned int> fadeOutTime{0u};
    MediaParamT<unsigned int> fadeInTime{0u};
    MediaParamT<unsigned int> minHiddenTime{0u};
    MediaParamT<unsigned int> maxHiddenTime{0u};

private:
    bool Outside(const ParticleItem& item) const;
    bool Touching(const ParticleItem& item) const;
    bool Vertical() const { return edge == TopEdge || edge == BottomEdge; }
    void NegateSign(ParticleItem& item) const;
    // A random wait between the two hidden times, in clock units.
    float HiddenWait() const;
    void ContinueBounce(ParticleItem& item, const DS_ViewObjCtrl& flow);
    void ContinueBounceWithPause(ParticleItem& item, const DS_ViewObjCtrl& flow);
    void ContinueLeaveAndReenter(ParticleItem& item, const DS_ViewObjCtrl& flow);
};

// The record after its header (name and version not used): the five values,
// stored without telling anyone.
void ReadBoundControl(ArchiveHandle& archive, DS_BoundControl& control);
