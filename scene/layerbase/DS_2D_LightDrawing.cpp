// The layer's side of a frame (background, scene capture, objects, finishing
// pass, overlay) and the drawing services that runtime objects call.
#include "scene/layerbase/DS_2D_Light.h"

#include "foundation/geometry/MeshBuffers.h"
#include "foundation/model/DS_ABObj.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/render/SceneView.h"
#include "foundation/render/StageStates.h"
#include "scene/layerbase/SpriteArrayDrawable.h"

namespace {

const D3DCOLOR TransparentWhite = 0x00FFFFFF;
const D3DCOLOR OpaqueBlack = 0xFF000000;

bool CanDraw() { return CurrentDevice && GlobalSceneView; }

// WORLD, VIEW and PROJECTION as the scene view's set-up left them.
void SetViewTransforms(const SceneView& view)
{
    CurrentDevice->SetTransform(D3DTS_WORLD, &view.worldMatrix);
    CurrentDevice->SetTransform(D3DTS_VIEW, &view.viewMatrix);
    CurrentDevice->SetTransform(D3DTS_PROJECTION, &view.projection);
}

// One draw of every pass of the effect's current technique. An effect that
// does not begin draws nothing.
template <class Draw>
void DrawEffectPasses(ID3DXEffect* effect, Draw draw)
{
    UINT passes = 0;
    if (FAILED(effect->Begin(&passes, 0)))
        return;
    for (UINT pass = 0; pass < passes; ++pass) {
        effect->BeginPass(pass);
        draw();
        effect->EndPass();
    }
    effect->End();
}

template <class V>
void DrawIndexed(const DS_IndexedMesh<V>& mesh)
{
    CurrentDevice->DrawIndexedPrimitive(mesh.primitiveType, 0, 0, mesh.vertexCount, 0, mesh.indexedPrimitiveCount);
}

template <class V>
void DrawStrip(const DS_SimpleMesh<V>& mesh)
{
    CurrentDevice->DrawPrimitive(mesh.primitiveType, 0, mesh.primitiveCount);
}

// Culls the faces that wind against the frame's front faces.
D3DCULL FrontCulling(const DS_Frame& frame) { return frame.clockwiseFront ? D3DCULL_CCW : D3DCULL_CW; }
D3DCULL BackCulling(const DS_Frame& frame) { return frame.clockwiseFront ? D3DCULL_CW : D3DCULL_CCW; }

} // namespace

void DS_2D_Light::BeginSceneCapture()
{
    if (GlobalSceneView)
        pictureMode = GlobalSceneView->mode;
    targetPair.BeginTarget(targetPair.current);
    if (GlobalSceneView)
        GlobalSceneView->Setup(layerWidth, layerHeight, pictureQuad.image, SceneView::Capture, false);
}

RenderTargetPair& DS_2D_Light::EndSceneCapture(bool clear)
{
    if (GlobalSceneView)
        GlobalSceneView->Setup(layerWidth, layerHeight, pictureQuad.image, pictureMode, false);
    targetPair.EndTarget();
    if (clear && CurrentDevice)
        CurrentDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, OpaqueBlack, 1.0f, 0);
    return targetPair;
}

void DS_2D_Light::DrawBackground(bool clear)
{
    if (!CanDraw())
        return;
    SetViewTransforms(*GlobalSceneView);
    GlobalSceneView->SetWorld(pictureQuad.world);
    if (clear) {
        CurrentDevice->Clear(0, nullptr, D3DCLEAR_TARGET, TransparentWhite, 1.0f, 0);
        return;
    }
    BindTexturedQuadPT(pictureQuad);
    DrawStrip(pictureQuad);
}

void DS_2D_Light::RenderObjects(DS_2D_Light& layer, const std::vector<CountedPtr<DS_ABObj>>& objects, int n)
{
    IDirect3DTexture9* const picture = layer.pictureQuad.image.texture.Get();
    layer.sceneTexture = picture;
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        DS_ABObj* object = it->Get();
        // A slide keeps whatever its constructors made, an object that could
        // not be made included.
        if (!object)
            continue;
        // With n at 0 no capture is open: a reader gets the plain picture.
        if (n > 0 && object->NeedsBackground() && object->WillDraw(layer)) {
            --n;
            // Each flip starts the next texture black, so an object that
            // reads the background redraws the whole picture area.
            if (n > 0)
                layer.sceneTexture = layer.targetPair.Flip().Get();
            else
                layer.sceneTexture = layer.EndSceneCapture(false).current.Get();
        }
        object->Render(layer);
        layer.sceneTexture = picture;
    }
}

bool DS_2D_Light::SceneTextureIsCaptured()
{
    IDirect3DTexture9* const scene = GetSceneTexture().Get();
    return scene && scene != pictureQuad.image.texture.Get();
}

void DS_2D_Light::FinishFrame()
{
    if (GlobalSceneView)
        GlobalSceneView->DrawBorders();
}

void DS_2D_Light::DrawOverlayQuad(const DS_SimpleMesh<DX_V::SPC>& quad)
{
    if (!CurrentDevice)
        return;
    CurrentDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    CurrentDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    CurrentDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    SelectDiffuseOnStage0();
    BindQuadSPCForDraw(quad);
    DrawStrip(quad);
    RestoreTextureArgumentsOnStage0();
}

void DS_2D_Light::DrawQuadWithEffect(const DS_SimpleMesh<DX_V::PT>& mesh, ID3DXEffect* effect)
{
    if (!CanDraw() || !effect)
        return;
    GlobalSceneView->SetWorld(mesh.world);
    BindVertexStream(mesh);
    DrawEffectPasses(effect, [&mesh] { DrawStrip(mesh); });
}

void DS_2D_Light::DrawGridWithEffect(const DS_IndexedMesh<DX_V::PT>& mesh, ID3DXEffect* effect)
{
    if (!CurrentDevice || !effect)
        return;
    BindIndexedMeshPT(mesh);
    DrawEffectPasses(effect, [&mesh] { DrawIndexed(mesh); });
}

void DS_2D_Light::DrawMeshWithEffect(const DS_IndexedMesh<DX_V::PCT>& mesh, ID3DXEffect* effect)
{
    if (!CanDraw() || !effect)
        return;
    GlobalSceneView->SetWorld(mesh.world);
    BindMeshPCT(mesh);
    DrawEffectPasses(effect, [&mesh] { DrawIndexed(mesh); });
}

void DS_2D_Light::DrawMeshPart(const MeshPart& part)
{
    if (!CanDraw())
        return;
    SetViewTransforms(*GlobalSceneView);
    if (part.twoSided)
        CurrentDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    CurrentDevice->SetTexture(0, part.texture.Get());
    BindMeshPNT(part);
    for (const DS_Frame* frame : part.instances) {
        GlobalSceneView->SetWorld(frame->world);
        CurrentDevice->SetRenderState(D3DRS_CULLMODE, FrontCulling(*frame));
        DrawIndexed(part);
    }
    // The back faces after every front face, so that a blended part shows
    // its far side behind its near side.
    if (part.twoSided) {
        for (const DS_Frame* frame : part.instances) {
            GlobalSceneView->SetWorld(frame->world);
            CurrentDevice->SetRenderState(D3DRS_CULLMODE, BackCulling(*frame));
            DrawIndexed(part);
        }
    }
    CurrentDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    CurrentDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
}

void DS_2D_Light::DrawSpriteArray(const SpriteArrayDrawable& sprites)
{
    if (!CanDraw())
        return;
    const DS_IndexedMesh<DX_V::PCT>& geometry = sprites.SpriteGeometry();
    SetViewTransforms(*GlobalSceneView);
    GlobalSceneView->SetWorld(geometry.world);

    CurrentDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    CurrentDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    CurrentDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    ModulateTextureByDiffuseOnStage0(CurrentDevice);

    IDirect3DTexture9* const second = sprites.GetSecondTexture();
    const int additive = sprites.AdditiveFlag();
    const bool addFirstPass = !second && additive != 0;
    CurrentDevice->SetRenderState(D3DRS_DESTBLEND, addFirstPass ? D3DBLEND_ONE : D3DBLEND_INVSRCALPHA);
    CurrentDevice->SetTexture(0, sprites.CurrentFrameTexture());
    BindMeshPCT(geometry);
    DrawIndexed(geometry);

    if (second) {
        // The second image's own colour, still faded by the particles' alpha.
        CurrentDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        CurrentDevice->SetTexture(0, second);
        if (additive == 1)
            CurrentDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
        DrawIndexed(geometry);
    }

    CurrentDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    CurrentDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    CurrentDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
}

void DS_2D_Light::DrawFrameChildren(const TexturedMesh<DX_V::PNT>& mesh)
{
    if (!CanDraw() || mesh.children.empty())
        return;
    SetViewTransforms(*GlobalSceneView);
    CurrentDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    SetStageOperations(CurrentDevice, 0, D3DTOP_SELECTARG1, D3DTOP_SELECTARG1);
    CurrentDevice->SetTexture(0, mesh.texture.Get());
    BindMeshPNT(mesh);
    // Both faces of every leaf: a tumbling leaf shows its back as often as
    // its front.
    for (const DS_Frame* child : mesh.children) {
        GlobalSceneView->SetWorld(child->world);
        CurrentDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
        DrawIndexed(mesh);
        CurrentDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
        DrawIndexed(mesh);
    }
    CurrentDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    CurrentDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
}

void DS_2D_Light::PushViewSize(const D3DSURFACE_DESC& surface, int mode)
{
    if (GlobalSceneView)
        pushedMode = GlobalSceneView->mode;
    sizeStack.emplace_back(layerWidth, layerHeight);
    layerWidth = static_cast<int>(surface.Width);
    layerHeight = static_cast<int>(surface.Height);
    if (GlobalSceneView)
        GlobalSceneView->Setup(layerWidth, layerHeight, pictureQuad.image, mode, true);
}

void DS_2D_Light::PopViewSize()
{
    if (sizeStack.empty())
        return;
    layerWidth = sizeStack.back().first;
    layerHeight = sizeStack.back().second;
    sizeStack.pop_back();
    if (GlobalSceneView)
        GlobalSceneView->Setup(layerWidth, layerHeight, pictureQuad.image, pushedMode, false);
}
