// The pattern brush: a pattern picture tiled over the masked area, zoomed,
// rotated, mirrored and offset, through the pattern effect. A pattern of
// several frames (an image list) steps through them with the brush's clock.
//
// DS_PatternBrushC is the same brush under a second record, which wraps a
// whole pattern-brush record; its runtime copy is a plain DS_PatternBrush.
#pragma once

#include "foundation/resources/DS_ImageFileLink.h"
#include "foundation/resources/TextureSet.h"
#include "scene/brushes/DS_FX_Constructor.h"

#include <cstdint>

class DS_PatternBrush : public DS_FX_Constructor {
public:
    // No pattern, no mirrors, no rotation, zoom 1, no offset; clock at 1.0;
    // effect ("common_res.dll", 78).
    DS_PatternBrush();
    // Values, the pattern's frames (textures shared) and the frame reached.
    DS_PatternBrush(const DS_PatternBrush& other);
    DS_PatternBrush& operator=(const DS_PatternBrush&) = delete;
    ~DS_PatternBrush() override;

    // The record after its header: the own fields, then the brush base.
    void Read(ArchiveHandle& archive, int32_t version);
    void Write(ArchiveHandle& archive) override;

    // The base's effect and mask, then the pattern's frames: the image list
    // of a module link, the picture of any other link.
    void BindResources(IDirect3DTexture9* maskTexture) override;
    // The clock, then the frame shown: each frame stays at least its delay.
    void Update(float t) override;
    // Nothing is set or drawn without a pattern or a picture.
    void Apply(DS_2D_Light& layer) override;
    // Also needs frames of some size: a pattern that did not load draws
    // nothing.
    bool WillDraw(DS_2D_Light& layer) const override;
    DS_FX_Constructor* Clone() const override;

    // The frames the brush steps through: those with both a picture and a
    // delay. 0 for a still pattern.
    std::size_t AnimatedFrameCount() const;

    DS_ImageFileLink patternLink;
    // Non-zero: the pattern is mirrored top to bottom.
    MediaParamT<int> verticalMirror;
    // Non-zero: mirrored left to right.
    MediaParamT<int> horizontalMirror;
    // Degrees, read as a signed number.
    MediaParamT<unsigned int> rotation;
    // The size of one tile against the pattern's own pixels: value 100 is 1.
    UINTSclaleTo<float> zoom;
    // Tiles; x runs the opposite way to its value.
    UINTSclaleTo<float> offsetX;
    UINTSclaleTo<float> offsetY;
    TextureSet frames;
    uint32_t frameIndex = 0;
    // The brush time at which the frame shown began.
    float frameStart = 0.0f;

protected:
    void LookUpParameters() override;

private:
    // The effect's parameters that Apply sets.
    struct Parameters {
        EffectParameter pattern{"Pattern"};
        EffectParameter scale{"scale"};
        EffectParameter offset{"offset"};
        EffectParameter coordTransf{"coord_transf"};
    };
    Parameters effectParameters;
};

class DS_PatternBrushC : public DS_PatternBrush {
public:
    DS_PatternBrushC() = default;

    // The nested pattern-brush record: its header (the name is not
    // compared), its fields and the brush base.
    void Read(ArchiveHandle& archive, int32_t version);
    void Write(ArchiveHandle& archive) override;
};

// The smallest zoom a pattern is drawn at: a zoom of 0 would ask for tiles
// of no size, infinitely many of them.
constexpr float SmallestPatternZoom = 0.01f;
