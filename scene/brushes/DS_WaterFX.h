// The water brush: moving water over the masked part of the picture. The
// water effect refracts the picture through a ripple bump map whose offsets
// turn with the brush time, combined with a travelling wave along the
// brush's direction, and adds highlights from a half-vector tinted by a
// colour.
#pragma once

#include "foundation/params/MediaControlList.h"
#include "foundation/resources/DS_ImageFileLink.h"
#include "scene/brushes/DS_FX_Constructor.h"

class DS_WaterFX : public DS_FX_Constructor {
public:
    // The defaults: direction at 40 degrees, white, ripple bump map
    // ("common_res.dll", 89), effect ("common_res.dll", 90), clock at 1.0 and
    // a scale of 0.6.
    DS_WaterFX();
    // Values with their scales and offsets; the copy binds its own angle and
    // takes its direction from it. The bump texture is not shared: the copy
    // binds its own.
    DS_WaterFX(const DS_WaterFX& other);
    DS_WaterFX& operator=(const DS_WaterFX&) = delete;
    ~DS_WaterFX() override;

    // The record after its header: the own fields, then the brush base
    // record. The angle is stored as it stands: the direction follows it
    // only in a clone.
    void Read(ArchiveHandle& archive, int32_t version);
    void Write(ArchiveHandle& archive) override;

    // The bump map's first texture, then the base's effect and mask.
    void BindResources(IDirect3DTexture9* maskTexture) override;
    // The base's clock, then the bump transform: a rotation by 4.5 radians
    // per unit of brush time, scaled by the ripple.
    void Update(float t) override;
    void Apply(DS_2D_Light& layer) override;
    DS_FX_Constructor* Clone() const override;

    // direction := (cos a, sin a, 0, 0) for the angle a in degrees.
    void UpdateDirection();

    // "P2"'s middle value for a shape result w1: sqrt(k) + k over k - 1,
    // k = 2 / w1 - 1. Where that is not a number (w1 of 0, k below 0, k of
    // exactly 1) it gives the value the formula tends to next to it, so the
    // effect is never handed an infinity or a NaN.
    static float ProfileHeight(float w1);

    // Crest sharpness of the wave: result 0.0001 x value.
    UINTSclaleTo<float> shape;
    // Strength of the ripple's refraction: 0.001 x value.
    UINTSclaleTo<float> ripple;
    // Speed of the bump map's drift along the direction: 0.00025 x value.
    UINTSclaleTo<float> drift;
    // Wavelength of the travelling wave: 0.001 + 0.0005 x value.
    UINTSclaleTo<float> wave;
    // Degrees.
    MediaParamT<unsigned int> angle;
    // Darkening of the wave's troughs: 0.01 x value.
    UINTSclaleTo<float> shadows;
    // Height of the light above the water: 0.1 x value.
    UINTSclaleTo<float> height;
    MediaColor colour;
    DS_ImageFileLink bumpLink;
    ComHolder<IDirect3DTexture9> bumpTexture;
    // The 2 × 2 rotation applied to the bump map's offsets, row by row;
    // zeros until the first update.
    float bumpTransform[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float direction[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    // Destroyed first, so that the binder leaves the angle's listeners while
    // the angle still exists.
    MediaControlList binders;

private:
    void BindAngle();
    // The texture "BumpMap" is bound to: the bump map, or a flat one when the
    // link gives none, so that a missing map leaves the water calm instead of
    // shifting the whole area by whatever an unbound sampler returns.
    IDirect3DTexture9* BumpOrFlat();

    ComHolder<IDirect3DTexture9> flatBump;

protected:
    void LookUpParameters() override;

private:
    // The effect's parameters that Apply sets.
    struct Parameters {
        EffectParameter bumpMap{"BumpMap"};
        EffectParameter bampTrans{"BampTrans"};
        EffectParameter p1{"P1"};
        EffectParameter p2{"P2"};
        EffectParameter time{"Time"};
        EffectParameter direction1{"Direction1"};
        EffectParameter direction2{"Direction2"};
        EffectParameter shadows{"Shadows"};
        EffectParameter vhalf{"Vhalf"};
        EffectParameter color{"Color"};
    };
    Parameters effectParameters;
};
