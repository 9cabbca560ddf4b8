#include "foundation/geometry/MeshBuffers.h"

#include <limits>

HRESULT CreateVertexBufferInto(ComHolder<IDirect3DVertexBuffer9>& target, UINT count, UINT stride, DWORD fvf,
                               DWORD usage, D3DPOOL pool)
{
    target.Release();
    if (!CurrentDevice)
        return D3DERR_INVALIDCALL;
    // The byte length is a UINT: a count that would wrap it is refused
    // instead of making a buffer smaller than the vertices written to it.
    if (stride == 0 || count > std::numeric_limits<UINT>::max() / stride)
        return E_INVALIDARG;
    IDirect3DVertexBuffer9* created = nullptr;
    const HRESULT hr = CurrentDevice->CreateVertexBuffer(count * stride, usage, fvf, pool, &created, nullptr);
    if (SUCCEEDED(hr))
        target.Attach(created);
    return hr;
}

HRESULT CreateVertexBufferSPCT(UINT count, DS_SimpleMesh<DX_V::SPCT>& mesh, DWORD usage, D3DPOOL pool)
{
    return CreateMeshVertexBuffer(count, mesh, usage, pool);
}

HRESULT CreateVertexBufferSPC(UINT count, DS_SimpleMesh<DX_V::SPC>& mesh, DWORD usage, D3DPOOL pool)
{
    return CreateMeshVertexBuffer(count, mesh, usage, pool);
}

HRESULT CreateVertexBufferPC(UINT count, DS_SimpleMesh<DX_V::PC>& mesh, DWORD usage, D3DPOOL pool)
{
    return CreateMeshVertexBuffer(count, mesh, usage, pool);
}

HRESULT CreateVertexBufferPT(UINT count, DS_SimpleMesh<DX_V::PT>& mesh, DWORD usage, D3DPOOL pool)
{
    return CreateMeshVertexBuffer(count, mesh, usage, pool);
}

HRESULT CreateVertexBufferPT2(UINT count, DS_SimpleMesh<DX_V::PT2>& mesh, DWORD usage, D3DPOOL pool)
{
    return CreateMeshVertexBuffer(count, mesh, usage, pool);
}

HRESULT CreateQuadBufferSPCT(DS_SimpleMesh<DX_V::SPCT>& mesh)
{
    return CreateQuadBuffer(mesh);
}

HRESULT CreateQuadBufferSPC(DS_SimpleMesh<DX_V::SPC>& mesh)
{
    return CreateQuadBuffer(mesh);
}

HRESULT CreateQuadBufferPC(DS_SimpleMesh<DX_V::PC>& mesh)
{
    return CreateQuadBuffer(mesh);
}

HRESULT CreateQuadBufferPT(DS_SimpleMesh<DX_V::PT>& mesh)
{
    return CreateQuadBuffer(mesh);
}

void BindQuadSPCForDraw(const DS_SimpleMesh<DX_V::SPC>& quad)
{
    BindVertexStream(quad);
}

void BindIndexedMeshPT(const DS_IndexedMesh<DX_V::PT>& mesh)
{
    BindIndexedStream(mesh);
}

void BindMeshPCT(const DS_IndexedMesh<DX_V::PCT>& mesh)
{
    BindIndexedStream(mesh);
}

void BindMeshPNT(const DS_IndexedMesh<DX_V::PNT>& mesh)
{
    BindIndexedStream(mesh);
}
