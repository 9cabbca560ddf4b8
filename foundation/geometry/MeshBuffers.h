// Creating and binding the buffers of the mesh classes on CurrentDevice.
//
// Creation replaces the buffer the mesh held (releasing it first); a failed
// creation leaves the mesh without a buffer and is not otherwise reported, so
// callers that fill a buffer lock it first and write only when that works.
// The HRESULT is returned for the few callers and tests that look.
//
// Binding sets no vertex shader, the format's FVF and stream 0 with the
// format's stride (plus the index buffer or texture where named); the draw
// call is the caller's.
#pragma once

#include "foundation/geometry/DS_SimpleMesh.h"
#include "foundation/geometry/IndexBuffers.h"
#include "foundation/geometry/VertexFormats.h"
#include "foundation/core/CurrentDevice.h"

#include <d3d9.h>

#include <type_traits>

// Makes a vertex buffer of count × stride bytes with the given FVF into
// target, which is emptied first and stays empty on failure.
HRESULT CreateVertexBufferInto(ComHolder<IDirect3DVertexBuffer9>& target, UINT count, UINT stride, DWORD fvf,
                               DWORD usage, D3DPOOL pool);

// count vertices of the mesh's own format; vertexCount := count.
template <class V>
HRESULT CreateMeshVertexBuffer(UINT count, DS_SimpleMesh<V>& mesh, DWORD usage, D3DPOOL pool)
{
    mesh.vertexCount = count;
    return CreateVertexBufferInto(mesh.vertices, count, sizeof(V), V::FVF, usage, pool);
}

// count 16-bit indices in place of the mesh's index buffer, left unwritten
// (IndexBuffers.h makes filled ones).
template <class V>
HRESULT CreateIndexBuffer16(UINT count, DS_IndexedMesh<V>& mesh, DWORD usage, D3DPOOL pool)
{
    return CreateIndexBufferInto(mesh.indices, count, usage, pool);
}

HRESULT CreateVertexBufferSPCT(UINT count, DS_SimpleMesh<DX_V::SPCT>& mesh, DWORD usage, D3DPOOL pool);
HRESULT CreateVertexBufferSPC(UINT count, DS_SimpleMesh<DX_V::SPC>& mesh, DWORD usage, D3DPOOL pool);
HRESULT CreateVertexBufferPC(UINT count, DS_SimpleMesh<DX_V::PC>& mesh, DWORD usage, D3DPOOL pool);
HRESULT CreateVertexBufferPT(UINT count, DS_SimpleMesh<DX_V::PT>& mesh, DWORD usage, D3DPOOL pool);
HRESULT CreateVertexBufferPT2(UINT count, DS_SimpleMesh<DX_V::PT2>& mesh, DWORD usage, D3DPOOL pool);

// A write-only, managed four-vertex buffer drawn as a strip of two
// triangles: vertexCount 4, primitiveType strip, primitiveCount 2.
template <class V>
HRESULT CreateQuadBuffer(DS_SimpleMesh<V>& mesh)
{
    const HRESULT hr = CreateMeshVertexBuffer(4, mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED);
    mesh.primitiveType = D3DPT_TRIANGLESTRIP;
    mesh.primitiveCount = 2;
    return hr;
}

HRESULT CreateQuadBufferSPCT(DS_SimpleMesh<DX_V::SPCT>& mesh);
HRESULT CreateQuadBufferSPC(DS_SimpleMesh<DX_V::SPC>& mesh);
HRESULT CreateQuadBufferPC(DS_SimpleMesh<DX_V::PC>& mesh);
HRESULT CreateQuadBufferPT(DS_SimpleMesh<DX_V::PT>& mesh);

// No vertex shader, the FVF of V, stream 0 := the mesh's vertices.
template <class V>
void BindVertexStream(const DS_SimpleMesh<V>& mesh)
{
    if (!CurrentDevice)
        return;
    CurrentDevice->SetVertexShader(nullptr);
    CurrentDevice->SetFVF(V::FVF);
    CurrentDevice->SetStreamSource(0, mesh.vertices.Get(), 0, sizeof(V));
}

// The index buffer, then the vertex stream.
template <class V>
void BindIndexedStream(const DS_IndexedMesh<V>& mesh)
{
    if (!CurrentDevice)
        return;
    CurrentDevice->SetIndices(mesh.indices.Get());
    BindVertexStream(mesh);
}

void BindQuadSPCForDraw(const DS_SimpleMesh<DX_V::SPC>& quad);
void BindIndexedMeshPT(const DS_IndexedMesh<DX_V::PT>& mesh);
void BindMeshPCT(const DS_IndexedMesh<DX_V::PCT>& mesh);
void BindMeshPNT(const DS_IndexedMesh<DX_V::PNT>& mesh);

// Texture stage 0 := the quad's texture, then its DX_V::PT stream. Any quad
// over DX_V::PT that holds its texture in a `texture` holder qualifies (the
// picture quad of a layer, a textured mesh).
template <class Quad>
void BindTexturedQuadPT(const Quad& quad)
{
    static_assert(std::is_base_of<DS_SimpleMesh<DX_V::PT>, Quad>::value, "a quad over DX_V::PT");
    if (!CurrentDevice)
        return;
    CurrentDevice->SetTexture(0, quad.texture.Get());
    BindVertexStream<DX_V::PT>(quad);
}
