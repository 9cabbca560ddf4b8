// The water surface of the water-ring layer: a height field simulated on the
// CPU every frame and drawn as one lit, indexed triangle strip whose texture
// coordinates look through the water at the picture, bent by refraction.
//
// The surface lies in the x-z plane, centred on the origin, heights along y;
// row r, column c is cell r × columns + c, rows running along z.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/geometry/VertexFormats.h"

#include <d3d9.h>
#include <d3dx9math.h>

#include <cstdint>
#include <vector>

class RefractionTable;

class WaterGrid {
public:
    struct Cell {
        float height;
        float velocity;
    };

    // 16-bit indices reach at most this many vertices.
    static constexpr uint32_t MaxCells = 65536;
    // The fewest rows and columns a grid gets: a drop needs a cell off the
    // border, and the strip needs two rows and two columns.
    static constexpr uint32_t MinSide = 4;

    WaterGrid() = default;
    WaterGrid(const WaterGrid&) = delete;
    WaterGrid& operator=(const WaterGrid&) = delete;

    // A flat surface of width × height with about 128 × column factor
    // columns and as many rows as keep the cells square (times the row
    // factor), both even and at most MaxCells in all; new buffers on
    // CurrentDevice.
    void Resize(float width, float height, float rowFactor, float columnFactor);
    // The index buffer (the spiral strip) and the dynamic vertex buffer, each
    // only when missing. A failing call ends it with its code; a strip that
    // cannot be filled is let go, and the next WriteVertices tries again
    // (until ReleaseBuffers: a device being reset must get no new buffers).
    HRESULT CreateBuffers();
    void ReleaseBuffers();

    // A drop at a random cell off the border: two draws, column then row.
    // Nothing on a grid without cells.
    void AddRandomDrop();
    // Four relaxation passes, then the vertices seen from eye.
    HRESULT Step(const D3DXVECTOR3& eye);
    // Rewrites the vertex buffer from the heights as they stand.
    HRESULT WriteVertices(const D3DXVECTOR3& eye);
    // The vertices seen from eye into out (vertexCount of them): the
    // surface point, its normal, the refraction table's colour and where the
    // refracted view ray meets the picture.
    void ComputeVertices(const D3DXVECTOR3& eye, DX_V::PNCT* out);
    // The surface as one strip with the FVF of DX_V::PNCT.
    HRESULT Draw() const;

    // Points the grid at the global refraction table, filling it the first
    // time.
    void BuildRefractionTable();

    // The spiral strip of a columns × rows grid: 2 × cells indices, each
    // index that a grid of odd size would leave out of range set to 0.
    static void FillStripIndices(uint32_t columns, uint32_t rows, uint16_t* indices, uint32_t count);

    float width = 0.0f;
    float height = 0.0f;
    float inverseWidth = 1.0f;
    float inverseHeight = 1.0f;
    float mean = 0.0f;
    uint32_t indexCount = 0;
    uint32_t vertexCount = 0;
    std::vector<Cell> cells;
    const RefractionTable* table = nullptr;
    uint32_t columns = 4;
    uint32_t rows = 4;
    uint32_t cellCount = 16;
    ComHolder<IDirect3DIndexBuffer9> indexBuffer;
    ComHolder<IDirect3DVertexBuffer9> vertexBuffer;
    float stepScale = 1.0f;
    float dropStrength = 0.5f;
    float damping = 0.99f;
    float refractionDepth = 0.2f;

private:
    // Set by CreateBuffers, cleared by ReleaseBuffers.
    bool buffersWanted = false;
    // The cells exist and match the size (not so before the first Resize).
    bool HasCells() const;
    void Relax();
};
