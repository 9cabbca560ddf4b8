// A slide's background layer: the picture with its camera, placed through the
// global scene view, and the target that every runtime object of the slide
// draws into through the drawing services below. The six effect layers derive
// from it and override its virtual operations.
//
// A frame (driven by the slide): BeginSceneCapture when anything reads the
// scene drawn so far, DrawBackground, RenderObjects, FinishFrame; the fade
// quad goes last through DrawOverlayQuad.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/core/CountedPtr.h"
#include "foundation/geometry/DS_SimpleMesh.h"
#include "foundation/geometry/TexturedMesh.h"
#include "foundation/geometry/VertexFormats.h"
#include "foundation/model/DS_IOF_Item.h"
#include "foundation/params/MediaControlList.h"
#include "foundation/render/ImageQuad.h"
#include "foundation/resources/RenderTargetPair.h"
#include "foundation/resources/DS_ImageFileLink.h"
#include "scene/layerbase/DSM_Camera.h"
#include "scene/layerbase/DS_ABRender.h"

#include <d3d9.h>
#include <d3dx9effect.h>

#include <cstdint>
#include <list>
#include <utility>
#include <vector>

class DS_ABObj;
class SpriteArrayDrawable;

class DS_2D_Light : public DS_ABRender, public DS_IOF_Item {
public:
    // The picture of module "common_res.dll" resource 5, a disabled camera,
    // Fit mode and no size; the picture link's changes reach OnPictureChanged.
    DS_2D_Light();
    DS_2D_Light(const DS_2D_Light&) = delete;
    DS_2D_Light& operator=(const DS_2D_Light&) = delete;
    ~DS_2D_Light() override;

    // The record's fields after its header, as the version holds them: from
    // version 2 the picture link (listeners not told), from version 3 the
    // nested camera record. Version 1 keeps the defaults.
    void Read(ArchiveHandle& archive, int32_t version);

    // "DS_2D_Light", version 3: the picture link (kept for the document by
    // the resource manager first), then the camera's record.
    void Write(ArchiveHandle& archive) override;

    // Drawing into an object's own render target of the described size,
    // placed by mode; PopViewSize returns to the layer's size and mode.
    virtual void PushViewSize(const D3DSURFACE_DESC& surface, int mode);
    // Does nothing when no size was pushed.
    virtual void PopViewSize();

    // Editor side: a selection marker over an object. The player never asks
    // for it and lacks the marker pictures, so nothing is drawn.
    virtual void DrawHighlight(DS_SimpleMesh<DX_V::SPC>& quad, int style, bool flag);

    // Effect draws: every pass of the effect's current technique. The grid
    // carries its own matrix in the effect, so WORLD is not set for it; the
    // quad and the mesh are placed by their frame through the scene view.
    // Nothing is drawn without an effect.
    virtual void DrawGridWithEffect(const DS_IndexedMesh<DX_V::PT>& mesh, ID3DXEffect* effect);
    virtual void DrawQuadWithEffect(const DS_SimpleMesh<DX_V::PT>& mesh, ID3DXEffect* effect);
    virtual void DrawMeshWithEffect(const DS_IndexedMesh<DX_V::PCT>& mesh, ID3DXEffect* effect);

    // A 3D object's part at each of its instance frames, culled by each
    // frame's winding; a two-sided part blended, front faces then back faces.
    virtual void DrawMeshPart(const MeshPart& part);
    // A particle system's quads, blended or additive, with its second
    // texture in a second pass when it has one.
    virtual void DrawSpriteArray(const SpriteArrayDrawable& sprites);
    // The mesh at each of its child frames, both windings, blended. Nothing
    // without children.
    virtual void DrawFrameChildren(const TexturedMesh<DX_V::PNT>& mesh);

    // Editor side, and without a caller: a pulsing marker quad. Draws nothing.
    virtual void DrawGlowMarker();

    // The scene behind the object being drawn: the picture, or for an object
    // that needs the background everything drawn before it.
    virtual const ComHolder<IDirect3DTexture9>& GetSceneTexture();
    // Whether that is a capture of what was drawn (to be redrawn texel for
    // texel) rather than the picture itself.
    bool SceneTextureIsCaptured();
    virtual ImageQuad& GetPictureQuad();
    // The picture's size in pixels (0 without a picture).
    virtual int GetPictureWidth();
    virtual int GetPictureHeight();

    // The picture quad with the linked picture, and the scene view's borders.
    virtual void OnDeviceCreated();
    // The default device state, the resource manager's device objects and
    // the capture pair at the back buffer's size. Also run at every
    // activation of the slide.
    virtual void OnDeviceRestored();
    // Lets go of everything in the default pool before a device reset.
    virtual void OnDeviceInvalidated();

    // The finishing pass: the Fit borders. A layer that needs the capture
    // ends it here first and draws the captured scene through its effect.
    virtual void FinishFrame();
    // The picture through the scene view, or with clear set only a clear of
    // the target to transparent white. Blending is left as it is.
    virtual void DrawBackground(bool clear);
    // Advances the camera.
    virtual void FrameMove(float time);
    // Sizes the layer, places the picture and publishes the picture mapping.
    virtual void SetSize(int width, int height);
    // The picture position: 0 Stretch, 1 Fit, 2 Fill.
    virtual void SetPicturePosition(int mode);

    // Operations that nothing in the program calls.
    virtual int Reserved24() { return 0; }
    virtual int Reserved25() { return 0; }
    virtual bool Reserved26() { return false; }
    virtual bool Reserved27() { return true; }
    virtual bool Reserved28() { return camera.panMode.value == 1; }

    // A pre-transformed quad in its exact colours, alpha-blended over what is
    // there (the slideshow's fade). Blending stays on.
    virtual void DrawOverlayQuad(const DS_SimpleMesh<DX_V::SPC>& quad);
    // From here the scene is drawn into the pair, the picture stretched over
    // the whole target and without the camera.
    virtual void BeginSceneCapture();
    // Back to the back buffer and the layer's own placement; with clear set,
    // the back buffer is cleared to opaque black. The pair's current texture
    // holds what was drawn into it.
    virtual RenderTargetPair& EndSceneCapture(bool clear);
    // Whether the finishing pass reads the captured scene.
    virtual bool NeedsSceneCapture();
    // The picture link changed: the new picture, sized through the virtual
    // SetSize.
    virtual void OnPictureChanged();

    // Draws the objects from the last to the first, so that the first ends on
    // top. n counts the objects that need the background, plus one when the
    // layer itself does: each such object gets what was drawn before it, and
    // the last of them draws onto the back buffer (unless the layer keeps the
    // capture for its finishing pass).
    static void RenderObjects(DS_2D_Light& layer, const std::vector<CountedPtr<DS_ABObj>>& objects, int n);

    // Puts the camera's pan back to its start and lets it run; true when it
    // was running already.
    bool ResetCameraPan();

    // Places the picture through the scene view and publishes the picture
    // mapping again, in this layer's mode and at its size, through the
    // virtual SetSize. The view and the mapping are shared by every screen,
    // so each screen's frame starts with this from its own current layer.
    void RestoreView();

    DS_ImageFileLink pictureLink;
    DSM_Camera camera;
    // The picture in picture pixels, with its texture and size.
    ImageQuad pictureQuad;
    ComHolder<IDirect3DTexture9> sceneTexture;
    // The picture position (0 Stretch, 1 Fit, 2 Fill): the scene view's mode
    // to return to after a capture.
    int pictureMode = 1;
    // The scene view's mode before the last PushViewSize.
    int pushedMode = 1;
    RenderTargetPair targetPair;
    MediaControlList binders;
    int layerWidth = 0;
    int layerHeight = 0;
    // A vector, so that an object that pushes a size every frame reuses its
    // room rather than allocating.
    std::vector<std::pair<int, int>> sizeStack;
};

// The "DS_2D_Light" record that ends every other layer's record: the header,
// then the fields of its own version.
void ReadLightBase(ArchiveHandle& archive, DS_2D_Light& layer);
