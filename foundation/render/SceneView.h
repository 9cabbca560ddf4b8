// The placement of the current picture on the back buffer: stretched, fitted
// with black borders, or filling and cropped, plus the camera's pan and zoom,
// as the world, view and projection transforms that every layer, brush and
// object draws with.
//
// Spaces: picture pixels (the picture quad spans the image's size), layer
// units (the orthographic projection spans the layer's width and height, y
// downwards) and target pixels (the back buffer's, or those of the surface a
// layer draws into). A picture point p lands in layer units at
// ((p × camera + fill offset) × fill scale) × picture.
#pragma once

#include "foundation/geometry/DS_SimpleMesh.h"
#include "foundation/geometry/VertexFormats.h"

#include <windows.h>
#include <d3dx9math.h>

#include <cmath>
#include <cstdint>

struct SizedTexture;

// The four bands of Fit mode, in the order left, right, top, bottom. Their
// vertex buffers belong to the device they were made on, so each screen
// keeps a set of its own and hands it to the view when it is selected.
struct SceneBorders {
    SceneBorders() = default;
    SceneBorders(const SceneBorders&) = delete;
    SceneBorders& operator=(const SceneBorders&) = delete;

    DS_SimpleMesh<DX_V::SPC> quads[4];
    // The fitted rectangle the quads were last moved to (left, top, width,
    // height), so that a placement set up again every frame rewrites them
    // only when it changed; NaN until they are first moved.
    float placedAt[4] = {NAN, NAN, NAN, NAN};
};

class SceneView {
public:
    enum Mode : int32_t { Stretch = 0, Fit = 1, Fill = 2, Capture = 3 };
    enum Border { LeftBorder = 0, RightBorder = 1, TopBorder = 2, BottomBorder = 3 };

    SceneView();
    // Borders points into the view itself until a screen hands it its own.
    SceneView(const SceneView&) = delete;
    SceneView& operator=(const SceneView&) = delete;

    // Places an image in a w × h layer by mode and sets WORLD, VIEW and
    // PROJECTION. inTargetPixels: w and h are already the target's pixels
    // (a surface the layer draws into); otherwise the placement is rescaled
    // to the back buffer. Capture stretches like Stretch and leaves the
    // camera out.
    void Setup(int w, int h, const SizedTexture& image, int newMode, bool inTargetPixels);
    // (Re)creates the border quads, opaque black over the whole back buffer;
    // Setup then only moves their corners.
    void ResetBorderColors();
    // The border set that Setup, ResetBorderColors and DrawBorders work on
    // from now on: the selected screen's, made on its device; none gives the
    // view's own set back. The set must outlive its use or be handed back.
    void UseBorders(SceneBorders* screenBorders);
    // The device is going: the view's own border set lets go of the buffers
    // made on it. The view lives until the process ends, and a buffer would
    // keep its device, and the window system's context behind it, alive past
    // its window until then.
    void ReleaseBordersOf(IDirect3DDevice9* device);
    // The borders of Fit mode, in their exact colour whatever the earlier
    // draws left on stage 0; nothing in the other modes.
    void DrawBorders();

    // WORLD := m × camera × fill offset × fill scale × picture (no camera in
    // Capture mode); m is the drawn frame's world matrix.
    void SetWorld(const D3DXMATRIX& m);
    // The same world followed by view and projection, for effects that take
    // one matrix.
    void ComposeWorldViewProjection(D3DXMATRIX& out, const D3DXMATRIX& m) const;
    // Picture pixels to clip space without camera: the picture matrix (with
    // the fill first in Capture mode) × view × projection.
    void GetViewProjection(D3DXMATRIX& out) const;

    // For redrawing a captured scene. Direct3D 9 puts a pixel's centre on
    // whole target coordinates and a texel's centre half a texel in, so a
    // quad whose edges lie on pixel edges samples each texel at its corner:
    // the scene comes back half a pixel off and blurred. On: `projection`
    // (and the device's PROJECTION) moves everything half a target pixel
    // left and up, so that each pixel centre meets the centre of the texel
    // it copies; off: back to Setup's projection. Setup turns it off.
    void AlignToTexels(bool on);
    bool TexelAligned() const { return texelAligned; }

    // Zooms by z about the image point at fraction ((px + 1) / 2, (py + 1) / 2);
    // z = 1 gives no camera at all, and so does a z of 0 or less.
    void SetCameraOffset(float z, float px, float py);
    // The shift in image pixels that camera and fill apply before scaling.
    float GetViewOffsetX() const;
    float GetViewOffsetY() const;

    D3DXMATRIX picture;     // image pixels to layer units
    D3DXMATRIX worldMatrix; // the WORLD transform Setup sets
    D3DXMATRIX viewMatrix;
    D3DXMATRIX projection;
    D3DXMATRIX fillScale;
    D3DXMATRIX fillOffset;
    float inverseFillX = 1.0f;
    float inverseFillY = 1.0f;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    D3DXMATRIX camera;
    // The border set in use: the view's own, or the selected screen's.
    SceneBorders* borders = &ownBorders;
    int32_t mode = Fit;
    UINT imageWidth = 0;
    UINT imageHeight = 0;
    // Target size / fitted picture size; the fire brush reads them.
    float backgroundScaleX = 1.0f;
    float backgroundScaleY = 1.0f;
    // The pixels of the target Setup placed the picture on.
    float targetWidth = 1.0f;
    float targetHeight = 1.0f;

private:
    // camera (unless in Capture mode) × fill offset × fill scale × picture.
    D3DXMATRIX PictureTransform() const;
    void MoveBorders(float left, float top, float fittedW, float fittedH);

    SceneBorders ownBorders;
    bool texelAligned = false;
    D3DXMATRIX unalignedProjection;
};

// GlobalSceneView aligned to texels (SceneView::AlignToTexels) for the draws
// of a scope that redraw a captured scene, when `on`; put back at the scope's
// end. Inside an aligned scope it changes nothing.
class TexelAlignedRedraw {
public:
    explicit TexelAlignedRedraw(bool on = true);
    ~TexelAlignedRedraw();
    TexelAlignedRedraw(const TexelAlignedRedraw&) = delete;
    TexelAlignedRedraw& operator=(const TexelAlignedRedraw&) = delete;

private:
    bool changed = false;
};

// The one scene view every screen shares; built by InitGlobalState before the
// program's entry point and destroyed last at exit.
extern SceneView* GlobalSceneView;

// A back-buffer point in picture pixels of the current layer, through the
// published picture mapping and the global view's fill; the camera is not
// undone. z passes through.
D3DXVECTOR3 MapScreenPointToView(float x, float y, float z);
