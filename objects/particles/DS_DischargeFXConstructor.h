// An electric arc between two points, drawn with glow: a polyline of as many
// segments as the system has particles, each segment one particle quad. A
// new jittered shape is made every 0.1 of the object clock, and the drawn
// shape morphs from the previous one towards it.
#pragma once

#include "foundation/params/MediaParam.h"
#include "foundation/params/UINTSclaleTo.h"
#include "objects/particles/DS_GlowEffectCtrl.h"

#include <windows.h>
#include <d3dx9math.h>

#include <cstdint>
#include <vector>

// One segment of an arc.
struct BoltPoint {
    // The segment's midpoint, picture pixels.
    D3DXVECTOR3 position{0.0f, 0.0f, 0.0f};
    // Unit vector along the segment.
    D3DXVECTOR3 direction{0.0f, 0.0f, 0.0f};
    // Unit vector across the whole arc.
    D3DXVECTOR3 side{0.0f, 0.0f, 0.0f};
    // The segment's length.
    float width = 0.0f;
};

class DS_DischargeFXConstructor : public DS_GlowEffectCtrl {
public:
    // Effect 97 of "common_res.dll", base size 50, additive, a pale cyan
    // core with a blue glow, jitter 0.5, morph speed 5.
    DS_DischargeFXConstructor();
    // Both points, the scaled values, the glow variant, both shapes, the
    // particle index and the time of the last shape.
    DS_DischargeFXConstructor(const DS_DischargeFXConstructor& other) = default;
    ~DS_DischargeFXConstructor() override = default;

    // "DS_DischargeFXConstructor", version 1, then the glow record.
    void Write(ArchiveHandle& archive) override;
    DS_ParticleSystemCtrl* Clone() const override;

    // The points (stored quietly), the scaled values (their results
    // follow), the glow variant, then the nested glow record.
    void Read(ArchiveHandle& archive, int32_t version);

    // The effect; the sharp texture is picture 95 of "common_res.dll" (98
    // for glow variant 0) whatever the record named. A constructor whose
    // flag is clear first gets an arc across its view.
    void LoadEffect() override;
    // Every 0.1 of the clock the shape being approached becomes the one
    // being left, and a new shape is made. Each update starts at segment 0.
    void PreUpdate() override;

    // Both shapes sized to the segment count and made afresh; the particle
    // itself is filled by the update.
    void InitParticle(ParticleItem& particle) override;
    // The next segment of the morphing shape, with a strip of the texture
    // that changes at the flicker's pace and rounded ends only at the arc's
    // two ends.
    void UpdateParticle(ParticleItem& particle) override;

    // The particle count, held at what one system can draw.
    uint32_t SegmentCount() const;

    // Picture pixels.
    MediaParamT<D3DXVECTOR3> startPoint;
    MediaParamT<D3DXVECTOR3> endPoint;
    // 0.01 × value: how far segments may be deflected sideways.
    UINTSclaleTo<float> jitter;
    // Non-zero: sharp texture 95, else 98.
    MediaParamT<int> glowVariant{1};
    // 0.1 - 0.001 × value: application seconds between texture strips.
    UINTSclaleTo<float> flicker;
    // 0.1 × value: morph progress per clock unit.
    UINTSclaleTo<float> morphSpeed;
    std::vector<BoltPoint> fromPolyline;
    std::vector<BoltPoint> toPolyline;
    // The segment the next particle update shows.
    int32_t particleIndex = 0;
    // The clock when the last shape was made.
    float lastRegeneration = 0.0f;
};

// A new arc shape in points from the controller's start to its end point:
// each segment heads for the end point over its share of the remaining
// distance, deflected sideways by the jitter; the last runs straight to the
// end. Only the controller's segment count of points is made; an arc of no
// length is all zero-length segments, never NaN.
void GenerateBolt(std::vector<BoltPoint>& points, const DS_DischargeFXConstructor& controller);
// Segment index part way (x) from the shape being left to the one being
// approached, component by component; x above 1 overshoots.
BoltPoint InterpolateBoltPoint(const DS_DischargeFXConstructor& controller, std::size_t index, float x);
