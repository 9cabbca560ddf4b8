// The expand brush: the masked area swells and shrinks around the centre,
// between its largest outward and inward values, in a triangle or a sine
// rhythm: a heart beating, a lantern breathing, a bubble.
#pragma once

#include "scene/brushes/DS_CentralBased.h"

#include <cstdint>

class DS_ExpandFX : public DS_CentralBased {
public:
    // Expansion 0.25, no contraction, triangle wave; clock at 1.0; effect
    // ("common_res.dll", 102).
    DS_ExpandFX();
    DS_ExpandFX(const DS_ExpandFX& other);
    ~DS_ExpandFX() override;

    // The record after its header: the own fields, then the
    // "DS_CentralBased" record.
    void Read(ArchiveHandle& archive, int32_t version);
    void Write(ArchiveHandle& archive) override;

    // The clock, then the current value: from -contraction to expansion and
    // back over 2π of brush time.
    void Update(float t) override;
    // "amplitude" (swelling, shrinking) and "center" in fractions of the
    // picture. Nothing without a picture.
    void Apply(DS_2D_Light& layer) override;
    DS_FX_Constructor* Clone() const override;

    UINTSclaleTo<float> expansion;
    UINTSclaleTo<float> contraction;
    // 0: triangle wave; any other value: sine.
    MediaParamT<int> mode;
    float current = 0.0f;

protected:
    void LookUpParameters() override;

private:
    // The effect's parameters that Apply sets.
    struct Parameters {
        EffectParameter amplitude{"amplitude"};
        EffectParameter center{"center"};
    };
    Parameters effectParameters;
};
