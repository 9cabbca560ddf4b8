// The background-copy brush: inside the mask, the layer's picture (or the
// scene drawn so far) again, shifted by a point of the brush's rectangle and
// optionally mirrored: a reflection in water, a second moon, a duplicate.
#pragma once

#include "foundation/render/MediaRectangle.h"
#include "scene/brushes/DS_FX_Constructor.h"

#include <cstdint>

class DS_BackgroundCopy : public DS_FX_Constructor {
public:
    // No shift, no mirrors, the clock stopped; effect ("common_res.dll", 75).
    DS_BackgroundCopy();
    DS_BackgroundCopy(const DS_BackgroundCopy& other);
    DS_BackgroundCopy& operator=(const DS_BackgroundCopy&) = delete;
    ~DS_BackgroundCopy() override;

    // The record after its header: the own fields, then the brush base.
    void Read(ArchiveHandle& archive, int32_t version);
    void Write(ArchiveHandle& archive) override;

    // "offset": the shift in fractions of the picture, 1 added along each
    // mirrored axis (the effect samples the picture with mirrored
    // addressing, where u + 1 reads 1 - u). Nothing without a picture.
    void Apply(DS_2D_Light& layer) override;
    DS_FX_Constructor* Clone() const override;

    // Only the point is used: the shift in picture pixels.
    MediaRectangle rectangle;
    MediaParamT<int> verticalMirror;
    MediaParamT<int> horizontalMirror;

protected:
    void LookUpParameters() override;

private:
    // The effect's parameters that Apply sets.
    struct Parameters {
        EffectParameter offset{"offset"};
    };
    Parameters effectParameters;
};
