#include "foundation/render/ColouredQuads.h"

#include "foundation/geometry/MeshBuffers.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/render/QuadColours.h"
#include "foundation/render/StageStates.h"
#include "foundation/render/VertexLock.h"

namespace {

// A new quad buffer with the corners (written by the format's writer) and one
// colour on all four.
template <class V>
void FillQuad(DS_SimpleMesh<V>& mesh, D3DCOLOR colour, const ScreenQuad& quad,
              void (*writeCorners)(const ScreenQuad&, DS_SimpleMesh<V>&))
{
    CreateQuadBuffer(mesh);
    VertexLock<V> lock(mesh, 4);
    if (!lock)
        return;
    writeCorners(quad, mesh);
    for (int i = 0; i < 4; ++i)
        lock.Vertices()[i].color = colour;
}

template <class V>
void SetCornerAlphas(DS_SimpleMesh<V>& mesh, float a, float b, float c, float d)
{
    VertexLock<V> lock(mesh, 4);
    if (!lock)
        return;
    // Strip order: 0 bottom left, 1 top left, 2 bottom right, 3 top right.
    const float byCorner[4] = {a, c, b, d};
    for (int i = 0; i < 4; ++i) {
        D3DCOLOR& colour = lock.Vertices()[i].color;
        colour = WithAlpha(colour, AlphaByte(byCorner[i] * 255.0f));
    }
}

} // namespace

void SetQuadSPC(DS_SimpleMesh<DX_V::SPC>& mesh, D3DCOLOR colour, const ScreenQuad& quad)
{
    FillQuad(mesh, colour, quad, WriteCornersSPC);
}

void SetQuadPC(DS_SimpleMesh<DX_V::PC>& mesh, D3DCOLOR colour, const ScreenQuad& quad)
{
    FillQuad(mesh, colour, quad, WriteCornersPC);
}

void SetQuadAlphasSPC(DS_SimpleMesh<DX_V::SPC>& mesh, float a, float b, float c, float d)
{
    SetCornerAlphas(mesh, a, b, c, d);
}

void SetQuadAlphasPC(DS_SimpleMesh<DX_V::PC>& mesh, float a, float b, float c, float d)
{
    SetCornerAlphas(mesh, a, b, c, d);
}

void SetQuadRgbPC(DS_SimpleMesh<DX_V::PC>& mesh, D3DCOLOR colour)
{
    VertexLock<DX_V::PC> lock(mesh, 4);
    if (!lock)
        return;
    for (int i = 0; i < 4; ++i) {
        D3DCOLOR& vertexColour = lock.Vertices()[i].color;
        vertexColour = WithRgb(vertexColour, colour);
    }
}

void DrawQuadPC(const DS_SimpleMesh<DX_V::PC>& mesh)
{
    if (!CurrentDevice || !mesh.vertices)
        return;
    CurrentDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    CurrentDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    CurrentDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    SelectDiffuseOnStage0();
    BindVertexStream(mesh);
    CurrentDevice->DrawPrimitive(mesh.primitiveType, 0, mesh.primitiveCount);
    RestoreTextureArgumentsOnStage0();
}
