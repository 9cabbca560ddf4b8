// The fire brush: animated flames over a four-cornered area of the picture,
// drawn on a grid of 9 × 9 vertices spanning the corners, through the fire
// effect's technique "Main". The flame layer holds one and draws its flame
// band with the same effect's "AsEffect", setting the per-frame parameters
// through DrawFire.
#pragma once

#include "foundation/geometry/DS_SimpleMesh.h"
#include "foundation/geometry/VertexFormats.h"
#include "foundation/params/MediaQuad.h"
#include "foundation/resources/DS_ImageFileLink.h"
#include "scene/brushes/DS_FX_Constructor.h"

class DS_FireFX : public DS_FX_Constructor {
public:
    // Yellow into red, pattern ("common_res.dll", 93), noise (…, 8), clock
    // at 1.0, effect ("common_res.dll", 92); corners at the origin.
    DS_FireFX();
    DS_FireFX(const DS_FireFX& other);
    // Every value, listeners told; textures, effect, mask and grid buffers
    // shared.
    DS_FireFX& operator=(const DS_FireFX& other);
    ~DS_FireFX() override;

    // The record after its header: the own fields from version 2 on, then
    // the brush base record.
    void Read(ArchiveHandle& archive, int32_t version);
    void Write(ArchiveHandle& archive) override;

    // The base's effect and mask, then the pattern and noise textures and the
    // grid over the corners.
    void BindResources(IDirect3DTexture9* maskTexture) override;
    void Apply(DS_2D_Light& layer) override;
    DS_FX_Constructor* Clone() const override;
    // The fire never reads the scene behind it: its grid glows over whatever
    // is there, whatever the background flag says.
    bool ReadsBackground() const override { return false; }
    // "Main", whatever the background flag.
    const char* TechniqueName() const override { return "Main"; }

    // The per-frame fire parameters for geometry placed by frame's world
    // matrix; draws nothing.
    void DrawFire(const DS_Frame& frame);

    // The repeat's result, kept from 0 (u would run to infinity).
    float RepeatResult() const;

    MediaQuad quad;
    MediaColor firstColour;
    MediaColor secondColour;
    // Kept and written; nothing draws with them.
    MediaParamT<int> intSetting;
    DS_ImageFileLink patternLink;
    DS_ImageFileLink noiseLink;
    MediaParamTB<int> secondIntSetting;
    UINTSclaleTo<float> density;
    UINTSclaleTo<float> brightness;
    // u runs from 0 to 1 / repeat across the grid.
    UINTSclaleTo<float> repeat;
    ComHolder<IDirect3DTexture9> patternTexture;
    ComHolder<IDirect3DTexture9> noiseTexture;
    DS_IndexedMesh<DX_V::PT> grid;
    int32_t gridColumns = 0;
    int32_t gridRows = 0;

private:
    void BuildGrid();

protected:
    void LookUpParameters() override;

private:
    // The effect's parameters that Apply sets.
    struct Parameters {
        EffectParameter worldViewProj{"WorldViewProj"};
        EffectParameter viewProj{"ViewProj"};
        EffectParameter noise{"Noise"};
        EffectParameter pattern{"Pattern"};
        EffectParameter c11{"c11"};
        EffectParameter c12{"c12"};
        EffectParameter c13{"c13"};
        EffectParameter bgScaleFactor{"bg_scale_factor"};
        EffectParameter colorK1{"ColorK1"};
        EffectParameter colorK2{"ColorK2"};
        EffectParameter brightness{"Brightness"};
        EffectParameter density{"Density"};
    };
    Parameters effectParameters;
};
