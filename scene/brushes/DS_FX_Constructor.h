// The base of the effect brushes: an effect drawn over a slide's picture
// where the brush's mask (an alpha texture the document keeps under a GUID)
// lets it show. Each concrete brush sets its own effect parameters and ends
// with ApplyCommonEffectParameters, which draws the picture quad through the
// effect; the fire brush draws a grid of its own instead.
//
// A brush in a slide's object list makes a DS_BrushObj that owns a clone of
// it; the flame and underwater layers hold one brush each by value.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/model/DS_ABObj_Constructor.h"
#include "foundation/params/MediaParam.h"
#include "foundation/params/MediaSpeedParam.h"
#include "foundation/params/UINTSclaleTo.h"
#include "foundation/resources/DS_FileLink3.h"
#include "foundation/resources/EffectParameter.h"
#include "foundation/resources/GuidKey.h"

#include <d3d9.h>
#include <d3dx9effect.h>

#include <cstdint>

class DS_2D_Light;

class DS_FX_Constructor : public DS_ABObj_Constructor {
public:
    ~DS_FX_Constructor() override;

    // Editor side: the mask is first kept for the document as a 512 × 512
    // alpha texture, then "DS_FX_Constructor", version 2, fields and the
    // constructor base record. Concrete brushes write their own record first.
    void Write(ArchiveHandle& archive) override;
    // A DS_BrushObj over a clone of this brush.
    DS_ABObj* CreateObject() override;
    // Lets go of the mask and takes a fresh identity.
    void RenewIdentity() override;

    // The effect of the effect link from the current document, then the mask.
    virtual void BindResources(IDirect3DTexture9* maskTexture);
    // Lets go of the effect when the device refuses the technique the brush
    // draws with: the brush then acts as one without an effect (draws
    // nothing, reads no background). Run when the effect is bound and again
    // after a device reset.
    void CheckTechniques();
    // The technique the brush draws with: "MainFX" with the background flag
    // set, else "Main".
    virtual const char* TechniqueName() const;
    // Editor side; draws nothing.
    virtual void DrawHighlight(DS_2D_Light&) {}
    virtual ComHolder<IDirect3DTexture9>* GetMask() { return &mask; }
    // Advances the brush's clock to the application time t.
    virtual void Update(float t);
    // Sets the brush's parameters and draws it through the layer. Nothing is
    // set or drawn without an effect.
    virtual void Apply(DS_2D_Light& layer) = 0;
    // Holds the given mask (another reference), letting go of the old one.
    virtual void SetMask(IDirect3DTexture9* maskTexture);
    virtual DS_FX_Constructor* Clone() const = 0;

    // Whether drawing the brush reads the scene drawn before it, so that the
    // layer must capture it. A brush without an effect draws nothing and
    // must not make the layer give up what was drawn.
    virtual bool ReadsBackground() const;
    // Whether Apply draws anything on layer: the base needs its effect and
    // a picture of some size; brushes that need more say so.
    virtual bool WillDraw(DS_2D_Light& layer) const;

    // The closing step of a brush's Apply: its technique; "Scale", "Mask",
    // "Background"; then the picture quad through every pass, texel-exact
    // over the captured scene when the brush reads it.
    void ApplyCommonEffectParameters(DS_2D_Light& layer);

    // The "DS_FX_Constructor" record after a brush's own fields (header,
    // fields of its version) and the constructor base record.
    void ReadBrushBase(ArchiveHandle& archive);

    // The brush time: the clock's accumulated time.
    float Time() const { return speed.time; }
    // The texture "Mask" is bound to: the mask, or a 1 × 1 opaque one where
    // the document has none, so that the brush covers its whole area rather
    // than whatever an unbound sampler gives.
    IDirect3DTexture9* MaskOrFull() const;

    MediaSpeedParam speed;
    // Non-zero: the brush reads the scene drawn before it ("MainFX").
    MediaParamT<int> backgroundFlag;
    DS_HLSLEffectFile effectLink;
    // Divisor of "Scale": value 50, scale 0.02 (result 1.0).
    UINTSclaleTo<float> scale;
    GuidKey maskIdentity;
    ComHolder<IDirect3DTexture9> mask;
    ComHolder<ID3DXEffect> effect;
    ComHolder<IDirect3DTexture9> fullMask;

protected:
    // The defaults: speed 0 (scale 1), flag 0, no effect link, scale 1.0, a
    // fresh mask identity; each concrete brush then sets its own.
    DS_FX_Constructor();
    // Values only; the mask and the effect are shared.
    DS_FX_Constructor(const DS_FX_Constructor& other);
    DS_FX_Constructor& operator=(const DS_FX_Constructor& other);

    // The effect's "Mask" binding, made once per brush when needed.
    void EnsureFullMask();
    // Looks up the handles of the effect's parameters, whenever the brush
    // takes an effect object; brushes with parameters of their own add
    // theirs. A copy shares the effect and keeps its handles.
    virtual void LookUpParameters();

    // What ApplyCommonEffectParameters sets.
    struct CommonParameters {
        EffectParameter scale{"Scale"};
        EffectParameter mask{"Mask"};
        EffectParameter background{"Background"};
    };
    CommonParameters commonParameters;
};

// The smallest scale result a brush divides by: a document's scale of 0 would
// otherwise hand the effect infinities.
constexpr float SmallestBrushScale = 0.02f;
