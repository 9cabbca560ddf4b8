// The waves brush: parallel waves that travel over the masked part of the
// picture and push it to and fro, across their direction of travel or
// along it.
#pragma once

#include "foundation/params/MediaControlList.h"
#include "scene/brushes/DS_FX_Constructor.h"

class DS_WavesFX : public DS_FX_Constructor {
public:
    // The defaults: waves travelling at angle 0, pushed across it; clock
    // factor 25, effect ("common_res.dll", 77).
    DS_WavesFX();
    // Values with their scales and offsets; the copy binds its own angle and
    // mode and takes its direction and normal from them.
    DS_WavesFX(const DS_WavesFX& other);
    DS_WavesFX& operator=(const DS_WavesFX&) = delete;
    ~DS_WavesFX() override;

    // The record after its header: the own fields, then the brush base
    // record. Angle and mode are stored as they stand: direction and normal
    // follow them only in a clone.
    void Read(ArchiveHandle& archive, int32_t version);
    void Write(ArchiveHandle& archive) override;

    void Apply(DS_2D_Light& layer) override;
    DS_FX_Constructor* Clone() const override;

    // direction and normal from the angle and the normal mode: the rotation
    // by 360 degrees less the angle.
    void UpdateDirection();

    // How far the picture is pushed: 0.00025 x value.
    UINTSclaleTo<float> amplitude;
    // 0.001 + 0.0005 x value; "frequency" is its inverse.
    UINTSclaleTo<float> wavelength;
    // Degrees.
    MediaParamT<unsigned int> angle;
    // 0: the push is across the direction of travel; any other value: along
    // it, backwards.
    MediaParamT<int> normalMode;
    // Destroyed before the parameters it listens to.
    MediaControlList binders;
    float direction[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float normal[4] = {0.0f, 0.0f, 0.0f, 0.0f};

private:
    void Bind();

protected:
    void LookUpParameters() override;

private:
    // The effect's parameters that Apply sets.
    struct Parameters {
        EffectParameter direction{"direction"};
        EffectParameter directionN{"direction_n"};
        EffectParameter frequency{"frequency"};
        EffectParameter amplitude{"amplitude"};
        EffectParameter time{"time"};
    };
    Parameters effectParameters;
};
