#include "foundation/render/SceneView.h"

#include "foundation/geometry/MeshBuffers.h"
#include "foundation/render/ColouredQuads.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/core/Numeric.h"
#include "foundation/render/PictureMapping.h"
#include "foundation/render/ScreenQuad.h"
#include "foundation/render/StageStates.h"
#include "foundation/render/VertexLock.h"
#include "foundation/render/BackBuffer.h"
#include "foundation/resources/SizedTexture.h"

#include <algorithm>
#include <iterator>

SceneView* GlobalSceneView = nullptr;

namespace {

const D3DCOLOR OpaqueBlack = 0xFF000000;
// Depth range of the orthographic projection: generous, since layer content
// is flat and only 3D objects stand out of the picture's plane.
const float NearPlane = -5000.0f;
const float FarPlane = 5000.0f;

// Toward zero; NaN and values outside int32 (which the conversion reports as
// INT32_MIN, as it does -2^31 itself) give 0: no whole pixel.
int WholePixels(float v)
{
    const int32_t t = TruncateToInt32(v);
    return t == INT32_MIN ? 0 : t;
}

// The border's far edge rounded up to the next whole pixel, so that no
// half-covered pixel row or column of the band shows the clear colour;
// a margin below one pixel gives no border.
float RoundUpEdge(float v)
{
    const int t = WholePixels(v);
    return static_cast<float>(t > 0 ? t + 1 : t);
}

D3DXMATRIX Identity()
{
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    return m;
}

void WriteBorder(DS_SimpleMesh<DX_V::SPC>& border, const ScreenQuad& quad)
{
    VertexLock<DX_V::SPC> lock(border, 4);
    if (lock)
        WriteCornersSPC(quad, border);
}

} // namespace

SceneView::SceneView()
    : picture(Identity()), worldMatrix(Identity()), viewMatrix(Identity()), projection(Identity()),
      fillScale(Identity()), fillOffset(Identity()), camera(Identity()), unalignedProjection(Identity())
{
}

void SceneView::Setup(int w, int h, const SizedTexture& image, int newMode, bool inTargetPixels)
{
    texelAligned = false;
    mode = newMode;
    imageWidth = image.width;
    imageHeight = image.height;

    ScreenQuad fitted;
    fitted.FitImage(image, w, h);
    if (!inTargetPixels)
        fitted.ScaleToBackBuffer(w, h);
    const float left = fitted.Left();
    const float top = fitted.Top();
    const float fittedW = fitted.Right() - left;
    const float fittedH = fitted.Bottom() - top;

    MoveBorders(left, top, fittedW, fittedH);

    const float layerW = static_cast<float>(w);
    const float layerH = static_cast<float>(h);
    worldMatrix = Identity();
    const D3DXVECTOR3 eye(0.0f, 0.0f, -1.0f);
    const D3DXVECTOR3 at(0.0f, 0.0f, 0.0f);
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    D3DXMatrixLookAtLH(&viewMatrix, &eye, &at, &up);
    // Top and bottom swapped: layer units run downwards like pixels.
    D3DXMatrixOrthoOffCenterLH(&projection, 0.0f, layerW, layerH, 0.0f, NearPlane, FarPlane);

    float targetW = layerW;
    float targetH = layerH;
    if (!inTargetPixels) {
        const D3DSURFACE_DESC desc = GetBackBufferDesc();
        targetW = static_cast<float>(desc.Width);
        targetH = static_cast<float>(desc.Height);
    }
    targetWidth = targetW;
    targetHeight = targetH;
    // A picture without a size, a layer or fitted rectangle of no extent
    // gives no scale (1) rather than an infinite one.
    backgroundScaleX = QuotientOr(targetW, fittedW, 1.0f);
    backgroundScaleY = QuotientOr(targetH, fittedH, 1.0f);

    // The picture spans the full height exactly when the fit left no margin
    // above it; otherwise it spans the full width.
    const float scale =
        top == 0.0f ? QuotientOr(layerH, static_cast<float>(imageHeight), 1.0f)
                    : QuotientOr(layerW, static_cast<float>(imageWidth), 1.0f);
    D3DXMATRIX scaling;
    D3DXMATRIX translation;
    D3DXMatrixScaling(&scaling, scale, scale, 1.0f);
    // The fit offsets are target pixels; the picture matrix works in layer
    // units.
    D3DXMatrixTranslation(&translation, QuotientOr(left * layerW, targetW, 1.0f),
                          QuotientOr(top * layerH, targetH, 1.0f), 0.0f);
    picture = scaling * translation;

    if (CurrentDevice) {
        CurrentDevice->SetTransform(D3DTS_WORLD, &worldMatrix);
        CurrentDevice->SetTransform(D3DTS_VIEW, &viewMatrix);
        CurrentDevice->SetTransform(D3DTS_PROJECTION, &projection);
    }

    float fillX = 1.0f;
    float fillY = 1.0f;
    switch (mode) {
    case Stretch:
    case Capture:
        fillX = QuotientOr(2.0f * left + fittedW, fittedW, 1.0f);
        fillY = QuotientOr(2.0f * top + fittedH, fittedH, 1.0f);
        break;
    case Fill:
        // One factor for both axes, from the axis with the margin: the
        // picture then covers the layer and overflows the other axis.
        fillX = left != 0.0f ? QuotientOr(2.0f * left + fittedW, fittedW, 1.0f)
                             : QuotientOr(2.0f * top + fittedH, fittedH, 1.0f);
        fillY = fillX;
        break;
    default:
        break;
    }
    // The offsets keep the image's centre in place under the fill scaling.
    const float ox = (1.0f - fillX) / 2.0f * static_cast<float>(imageWidth) / fillX;
    const float oy = (1.0f - fillY) / 2.0f * static_cast<float>(imageHeight) / fillY;
    D3DXMatrixScaling(&fillScale, fillX, fillY, 1.0f);
    inverseFillX = 1.0f / fillX;
    inverseFillY = 1.0f / fillY;
    offsetX = ox;
    offsetY = oy;
    D3DXMatrixTranslation(&fillOffset, ox, oy, 0.0f);
}

void SceneView::AlignToTexels(bool on)
{
    if (on == texelAligned)
        return;
    texelAligned = on;
    if (on) {
        unalignedProjection = projection;
        // Half a pixel is 1 / size in clip space; y runs up there.
        D3DXMATRIX halfPixel;
        D3DXMatrixTranslation(&halfPixel, -QuotientOr(1.0f, targetWidth, 1.0f), QuotientOr(1.0f, targetHeight, 1.0f),
                              0.0f);
        projection = unalignedProjection * halfPixel;
    } else {
        projection = unalignedProjection;
    }
    if (CurrentDevice)
        CurrentDevice->SetTransform(D3DTS_PROJECTION, &projection);
}

TexelAlignedRedraw::TexelAlignedRedraw(bool on)
{
    if (on && GlobalSceneView && !GlobalSceneView->TexelAligned()) {
        GlobalSceneView->AlignToTexels(true);
        changed = true;
    }
}

TexelAlignedRedraw::~TexelAlignedRedraw()
{
    if (changed && GlobalSceneView)
        GlobalSceneView->AlignToTexels(false);
}

void SceneView::MoveBorders(float left, float top, float fittedW, float fittedH)
{
    // The view is set up again at every screen's frame: quads already at
    // this placement are not locked and written again. Quads not made yet
    // are not marked as placed.
    const float placement[4] = {left, top, fittedW, fittedH};
    if (std::equal(placement, placement + 4, borders->placedAt))
        return;
    const bool made = std::all_of(std::begin(borders->quads), std::end(borders->quads),
                                  [](const DS_SimpleMesh<DX_V::SPC>& quad) { return quad.vertices.Get() != nullptr; });
    if (made)
        std::copy(placement, placement + 4, borders->placedAt);
    // In Fit mode one of left and top is 0, so the pair of bands across that
    // axis has no size.
    const float sideRight = RoundUpEdge(left);
    const float sideBottom = static_cast<float>(WholePixels(fittedH));
    const float bandRight = static_cast<float>(WholePixels(fittedW));
    const float bandBottom = RoundUpEdge(top);
    const float rightShift = left + fittedW;
    const float bottomShift = top + fittedH;
    DS_SimpleMesh<DX_V::SPC>* quads = borders->quads;
    WriteBorder(quads[LeftBorder], ScreenQuad::Rectangle(0.0f, 0.0f, sideRight, sideBottom));
    WriteBorder(quads[RightBorder], ScreenQuad::Rectangle(rightShift, 0.0f, sideRight + rightShift, sideBottom));
    WriteBorder(quads[TopBorder], ScreenQuad::Rectangle(0.0f, 0.0f, bandRight, bandBottom));
    WriteBorder(quads[BottomBorder], ScreenQuad::Rectangle(0.0f, bottomShift, bandRight, bandBottom + bottomShift));
}

void SceneView::ResetBorderColors()
{
    const ScreenQuad whole = ScreenQuad::FromBackBuffer();
    for (DS_SimpleMesh<DX_V::SPC>& border : borders->quads)
        SetQuadSPC(border, OpaqueBlack, whole);
    // The new buffers span the whole back buffer: the next Setup must move
    // them whatever the placement.
    std::fill(borders->placedAt, borders->placedAt + 4, NAN);
}

void SceneView::UseBorders(SceneBorders* screenBorders)
{
    borders = screenBorders ? screenBorders : &ownBorders;
}

void SceneView::ReleaseBordersOf(IDirect3DDevice9* device)
{
    DS_SimpleMesh<DX_V::SPC>& first = ownBorders.quads[0];
    if (!device || !first.vertices)
        return;
    ComHolder<IDirect3DDevice9> owner;
    first.vertices->GetDevice(owner.Out());
    if (owner.Get() != device)
        return;
    for (DS_SimpleMesh<DX_V::SPC>& border : ownBorders.quads)
        border.vertices.Release();
    std::fill(ownBorders.placedAt, ownBorders.placedAt + 4, NAN);
}

void SceneView::DrawBorders()
{
    if (mode != Fit || !CurrentDevice)
        return;
    SelectDiffuseOnStage0();
    for (const DS_SimpleMesh<DX_V::SPC>& border : borders->quads) {
        if (!border.vertices)
            continue;
        BindQuadSPCForDraw(border);
        CurrentDevice->DrawPrimitive(border.primitiveType, 0, border.primitiveCount);
    }
    RestoreTextureArgumentsOnStage0();
}

D3DXMATRIX SceneView::PictureTransform() const
{
    const D3DXMATRIX placed = fillOffset * fillScale * picture;
    return mode == Capture ? placed : camera * placed;
}

void SceneView::SetWorld(const D3DXMATRIX& m)
{
    if (!CurrentDevice)
        return;
    const D3DXMATRIX world = m * PictureTransform();
    CurrentDevice->SetTransform(D3DTS_WORLD, &world);
}

void SceneView::ComposeWorldViewProjection(D3DXMATRIX& out, const D3DXMATRIX& m) const
{
    out = m * PictureTransform() * viewMatrix * projection;
}

void SceneView::GetViewProjection(D3DXMATRIX& out) const
{
    const D3DXMATRIX placed = mode == Capture ? fillOffset * fillScale * picture : picture;
    out = placed * viewMatrix * projection;
}

void SceneView::SetCameraOffset(float z, float px, float py)
{
    // A zoom of 0 or less (a document may store 0) would divide by zero or
    // mirror the picture: it is taken as no zoom.
    if (!(z > 0.0f))
        z = 1.0f;
    const float tx = (px + 1.0f) * (1.0f - z) / 2.0f * static_cast<float>(imageWidth) / z;
    const float ty = (py + 1.0f) * (1.0f - z) / 2.0f * static_cast<float>(imageHeight) / z;
    D3DXMATRIX translation;
    D3DXMATRIX scaling;
    D3DXMatrixTranslation(&translation, tx, ty, 0.0f);
    D3DXMatrixScaling(&scaling, z, z, 1.0f);
    camera = translation * scaling;
}

float SceneView::GetViewOffsetX() const
{
    const D3DXMATRIX c = camera * fillOffset * fillScale;
    return c._41 / c._11;
}

float SceneView::GetViewOffsetY() const
{
    const D3DXMATRIX c = camera * fillOffset * fillScale;
    return c._42 / c._22;
}

D3DXVECTOR3 MapScreenPointToView(float x, float y, float z)
{
    const PictureMapping& mapping = CurrentPictureMapping;
    const ScreenQuad& fitted = mapping.fittedPicture;
    // Before the global view exists there is no fill to undo.
    const float inverseFillX = GlobalSceneView ? GlobalSceneView->inverseFillX : 1.0f;
    const float inverseFillY = GlobalSceneView ? GlobalSceneView->inverseFillY : 1.0f;
    const float offsetX = GlobalSceneView ? GlobalSceneView->offsetX : 0.0f;
    const float offsetY = GlobalSceneView ? GlobalSceneView->offsetY : 0.0f;
    const float mappedX = static_cast<float>(mapping.pictureWidth) * (x - fitted.Left()) /
                              (fitted.Right() - fitted.Left()) * inverseFillX -
                          offsetX;
    const float mappedY = static_cast<float>(mapping.pictureHeight) * (y - fitted.Top()) /
                              (fitted.Bottom() - fitted.Top()) * inverseFillY -
                          offsetY;
    return D3DXVECTOR3(mappedX, mappedY, z);
}
