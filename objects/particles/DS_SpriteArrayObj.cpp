#include "objects/particles/DS_SpriteArrayObj.h"

#include "foundation/geometry/DS_SimpleMesh.h"
#include "foundation/render/ColouredQuads.h"
#include "foundation/resources/DS_DocResManager.h"
#include "foundation/resources/FirstLinkTexture.h"
#include "objects/particles/DS_ParticleSystemCtrl.h"
#include "scene/layerbase/DS_2D_Light.h"

namespace {

constexpr D3DCOLOR HighlightColour = 0x88000000;

} // namespace

DS_SpriteArrayObj::DS_SpriteArrayObj(DS_ParticleSystemCtrl* ownedClone) : DS_ABObj(ownedClone)
{
    if (const TextureSet* frames = ownedClone->MainImageTextures())
        textureSet = *frames;
    controller = ownedClone;
    BindControllerCount();
    if (CurrentResManager && !ownedClone->secondImage.value.path.empty()) {
        secondTexture = GetFirstLinkTexture(ownedClone->secondImage).texture;
    }
}

// The geometry goes first (its count binder leaves the clone's count), then
// the clone.
DS_SpriteArrayObj::~DS_SpriteArrayObj() { secondTexture.Release(); }

void DS_SpriteArrayObj::Render(DS_2D_Light& layer)
{
    if (!vertices || !indices || indexedPrimitiveCount == 0)
        return;
    layer.DrawSpriteArray(*this);
}

void DS_SpriteArrayObj::DrawHighlight(DS_2D_Light& layer, int argument)
{
    ScreenQuad quad;
    controller->GetScreenQuad(quad);
    DS_SimpleMesh<DX_V::SPC> mesh;
    SetQuadSPC(mesh, HighlightColour, quad);
    layer.DrawHighlight(mesh, markerStyle, argument != 0);
}

void DS_SpriteArrayObj::Update(float time)
{
    UpdateParticles(time);
    const bool changed = StepFrame(controller->clock);
    if (controller->staticFlag.value == 0 || changed || QuadsPending())
        RebuildParticleQuads();
}

void DS_SpriteArrayObj::OnViewChanged() { controller->SyncPixelRect(); }

bool DS_SpriteArrayObj::HitTest(float x, float y) { return controller->HitTest(x, y); }

int DS_SpriteArrayObj::AdditiveFlag() const { return controller->additive.value; }
