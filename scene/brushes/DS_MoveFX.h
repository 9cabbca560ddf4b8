// The move brush: the masked part of the picture sways back and forth along
// the brush's direction, smoothly (a sine of the brush time) or jittering
// (value noise), as leaves, reeds or curtains do in a breeze.
#pragma once

#include "scene/brushes/DS_DirectionBased.h"

#include <cstdint>

class DS_MoveFX : public DS_DirectionBased {
public:
    // Smooth; amplitude 0.01 of the picture; clock at 1.0; effect
    // ("common_res.dll", 91).
    DS_MoveFX();
    DS_MoveFX(const DS_MoveFX& other);
    ~DS_MoveFX() override;

    // The record after its header: the mode, then the "DS_DirectionBased"
    // record.
    void Read(ArchiveHandle& archive, int32_t version);
    void Write(ArchiveHandle& archive) override;

    // The clock, then the shift: direction × amplitude × (sin T, or noise of
    // T in mode 1).
    void Update(float t) override;
    // "Direction" := the shift.
    void Apply(DS_2D_Light& layer) override;
    DS_FX_Constructor* Clone() const override;

    // 1: jitter; any other value: smooth.
    MediaParamT<int> mode;
    float shift[2] = {};

protected:
    void LookUpParameters() override;

private:
    // The effect's parameters that Apply sets.
    struct Parameters {
        EffectParameter direction{"Direction"};
    };
    Parameters effectParameters;
};
