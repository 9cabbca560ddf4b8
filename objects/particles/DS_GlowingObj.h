// The runtime object of the glowing particle systems. Each frame it gathers
// the particles' glow texture into a 512 × 512 render target of its own,
// composites that target in the glow colour over the scene drawn before it,
// and draws the particles' sharp texture on top, all through the system's
// effect.
//
// The render target lives in the default pool: it is released before a
// device reset and made again afterwards.
#pragma once

#include "foundation/model/DS_ABObj.h"
#include "foundation/resources/RenderTargetPair.h"
#include "objects/particles/ParticleGeomArray.h"

#include <d3d9.h>
#include <d3dx9effect.h>

class DS_GlowEffectCtrl;

class DS_GlowingObj : public DS_ABObj, public ParticleGeomArray {
public:
    // The side of the square glow target, whatever the screen's size.
    static constexpr uint32_t GlowTargetSize = 512;

    // Takes ownership of the clone, makes the buffers and the particles for
    // its count, loads its effect and textures and makes the glow target.
    explicit DS_GlowingObj(DS_GlowEffectCtrl* ownedClone);
    ~DS_GlowingObj() override;

    // The glow, the composite over the scene and the sharp particles; only
    // the sharp particles when the glow target is missing, nothing without
    // an effect.
    void Render(DS_2D_Light& layer) override;
    void DrawHighlight(DS_2D_Light&, int) override {}
    // The system's step before its particles move, the particles, and their
    // quads rewritten.
    void Update(float time) override;
    void OnViewChanged() override {}
    // Only an object that will redraw the whole scene asks for it: one with
    // an effect and a glow target. Without them it draws over the scene as
    // it is (or not at all).
    bool NeedsBackground() override;
    void OnDeviceInvalidated() override;
    void OnDeviceRestored() override;

    DS_GlowEffectCtrl& System() const { return *glow; }
    // Whether the glow is gathered with the MAX blend operation; a device
    // without it takes the effect's screen-blended technique, which comes
    // nearest.
    bool UsesMaxBlend() const { return maxBlend; }
    void SetMaxBlend(bool enabled) { maxBlend = enabled; }

    // The clone, as the glowing system it is (owned by the DS_ABObj part).
    DS_GlowEffectCtrl* glow;
    RenderTargetPair glowTarget;

private:
    // The effect's techniques and parameters, looked up once.
    struct Handles {
        D3DXHANDLE blendMax = nullptr;
        D3DXHANDLE blendSoft = nullptr;
        D3DXHANDLE blendScreen = nullptr;
        D3DXHANDLE blendNormal = nullptr;
        D3DXHANDLE common = nullptr;
        D3DXHANDLE texture1 = nullptr;
        D3DXHANDLE texture2 = nullptr;
        D3DXHANDLE blendColor = nullptr;
    };

    void LookUpHandles();
    void MakeGlowTarget();
    bool HasQuads() const;
    // The particles' glow into the cleared glow target.
    void GatherGlow(DS_2D_Light& layer, ID3DXEffect* effect);

    Handles handles;
    D3DSURFACE_DESC targetDesc{};
    bool maxBlend = true;
};
