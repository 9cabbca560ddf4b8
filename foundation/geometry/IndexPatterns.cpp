#include "foundation/geometry/IndexPatterns.h"

namespace {

constexpr UINT IndicesPerQuad = 6;

constexpr UINT GridCells = 8;
constexpr UINT GridVerticesPerRow = GridCells + 1;
constexpr UINT GridTriangles = GridCells * GridCells * 2;
// Larger than the grid's 384 indices (768 bytes); the rest is never written
// or drawn.
constexpr UINT GridIndexBufferCount = 1024;

void FillGridIndices(uint16_t* index)
{
    for (UINT row = 0; row < GridCells; ++row) {
        for (UINT column = 0; column < GridCells; ++column) {
            const uint16_t v = static_cast<uint16_t>(GridVerticesPerRow * row + column);
            const uint16_t below = static_cast<uint16_t>(v + GridVerticesPerRow);
            *index++ = v;
            *index++ = static_cast<uint16_t>(v + 1);
            *index++ = below;
            *index++ = below;
            *index++ = static_cast<uint16_t>(v + 1);
            *index++ = static_cast<uint16_t>(below + 1);
        }
    }
}

} // namespace

void FillQuadListIndices(uint16_t* indices, UINT quads)
{
    for (UINT q = 0; q < quads; ++q) {
        const uint16_t k = static_cast<uint16_t>(4 * q);
        *indices++ = k;
        *indices++ = static_cast<uint16_t>(k + 1);
        *indices++ = static_cast<uint16_t>(k + 2);
        *indices++ = static_cast<uint16_t>(k + 2);
        *indices++ = static_cast<uint16_t>(k + 1);
        *indices++ = static_cast<uint16_t>(k + 3);
    }
}

HRESULT CreateQuadListIndexBuffer(ComHolder<IDirect3DIndexBuffer9>& target, UINT quads)
{
    return CreateFilledIndexBuffer(target, quads * IndicesPerQuad,
                                   [quads](uint16_t* indices) { FillQuadListIndices(indices, quads); });
}

IndexBufferPart BuildGridIndexBuffer()
{
    IndexBufferPart part;
    if (FAILED(CreateFilledIndexBuffer(part.indices, GridIndexBufferCount, FillGridIndices)))
        return IndexBufferPart();
    part.indexedPrimitiveCount = GridTriangles;
    return part;
}
