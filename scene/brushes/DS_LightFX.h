// The light brush: the masked part of the picture brightens and dims with a
// smooth pulse, a blink or a flicker, as a lamp or a lit window does.
#pragma once

#include "scene/brushes/DS_FX_Constructor.h"

class DS_LightFX : public DS_FX_Constructor {
public:
    // Strength 0.4, a smooth pulse; clock factor 40, effect
    // ("common_res.dll", 76).
    DS_LightFX();
    DS_LightFX(const DS_LightFX& other);
    DS_LightFX& operator=(const DS_LightFX&) = delete;
    ~DS_LightFX() override;

    // The record after its header: strength and mode, then the brush base
    // record.
    void Read(ArchiveHandle& archive, int32_t version);
    void Write(ArchiveHandle& archive) override;

    void Apply(DS_2D_Light& layer) override;
    DS_FX_Constructor* Clone() const override;

    // The light's level at the brush time, 0 to 1 (the flicker's noise may
    // stray a little beyond).
    float Pulse() const;

    // The peak of "multiplier": 0.01 x value.
    UINTSclaleTo<float> strength;
    // 0 or below: smooth pulse; 1: blink; 2 or above: flicker.
    MediaParamT<int> mode;

protected:
    void LookUpParameters() override;

private:
    // The effect's parameters that Apply sets.
    struct Parameters {
        EffectParameter multiplier{"multiplier"};
    };
    Parameters effectParameters;
};
