// The underwater brush: the whole scene wobbling as if seen through moving
// water. It belongs to the underwater layer, which reads its record, drives
// its clock and draws the captured scene through it; no document lists it
// among a slide's objects.
#pragma once

#include "scene/brushes/DS_FX_Constructor.h"

class DS_UnderwaterFX : public DS_FX_Constructor {
public:
    // Amplitude 0.00625, wavelength 0.101; clock factor 25, effect
    // ("common_res.dll", 88).
    DS_UnderwaterFX();
    DS_UnderwaterFX(const DS_UnderwaterFX& other);
    // The base's values, then each scaled value with its scale and offset,
    // listeners told.
    DS_UnderwaterFX& operator=(const DS_UnderwaterFX& other);
    ~DS_UnderwaterFX() override;

    // The record after its header: the two values, then the brush base
    // record.
    void Read(ArchiveHandle& archive, int32_t version);
    void Write(ArchiveHandle& archive) override;

    void Apply(DS_2D_Light& layer) override;
    DS_FX_Constructor* Clone() const override;

    // How far the scene is moved: 0.000125 x value.
    UINTSclaleTo<float> amplitude;
    // 0.001 + 0.002 x value; "frequency" is its inverse.
    UINTSclaleTo<float> wavelength;

protected:
    void LookUpParameters() override;

private:
    // The effect's parameters that Apply sets.
    struct Parameters {
        EffectParameter frequency{"frequency"};
        EffectParameter amplitude{"amplitude"};
        EffectParameter time{"time"};
    };
    Parameters effectParameters;
};
