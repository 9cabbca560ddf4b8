#include "scene/layers/WaterGrid.h"

#include "foundation/core/Numeric.h"
#include "foundation/core/Random.h"
#include "foundation/geometry/IndexBuffers.h"
#include "foundation/core/CurrentDevice.h"
#include "scene/layers/RefractionTable.h"

#include <cmath>

namespace {

const float BaseColumns = 128.0f;
const int RelaxationPasses = 4;
// Each cell pulls towards its four edge neighbours with 1/6 and its four
// corner neighbours with 1/12 (together 1), and moves a quarter of the way
// per pass on top of its damped velocity.
const float EdgeWeight = 1.0f / 6.0f;
const float CornerWeight = 1.0f / 12.0f;
const float Pull = 0.25f;

// The picture is looked at through the water as if it lined the inside of a
// sphere about the origin, 20 units below the surface.
const float FloorDepth = 20.0f;
const float SphereRadiusSquared = 35.0f * 35.0f;
// Deeper refraction also zooms in a little, so that the bent rays at the
// edges stay on the picture.
const float DepthZoom = 0.05f;
const float RefractionSteps = 255.0f;

// A count of rows or columns from a float product, truncated and held
// within MinSide and what leaves MinSide for the other side (NaN and
// infinities included).
uint32_t ClampedSide(float value)
{
    const float largest = static_cast<float>(WaterGrid::MaxCells / WaterGrid::MinSide);
    if (!(value >= static_cast<float>(WaterGrid::MinSide)))
        return WaterGrid::MinSide;
    if (value > largest)
        return WaterGrid::MaxCells / WaterGrid::MinSide;
    return static_cast<uint32_t>(value);
}

uint32_t RoundedDownToEven(uint32_t n) { return n & ~1u; }

D3DXVECTOR3 Normalized(float x, float y, float z)
{
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length > 0.0f) {
        const float inverse = 1.0f / length;
        return D3DXVECTOR3(x * inverse, y * inverse, z * inverse);
    }
    return D3DXVECTOR3(0.0f, 0.0f, 0.0f);
}

float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

} // namespace

void WaterGrid::Resize(float newWidth, float newHeight, float rowFactor, float columnFactor)
{
    const uint32_t rawColumns = ClampedSide(std::trunc(columnFactor * BaseColumns));
    columns = RoundedDownToEven(rawColumns);
    // Square cells: the rows follow from the column count before its
    // rounding.
    rows = RoundedDownToEven(
        ClampedSide(std::trunc(static_cast<float>(rawColumns) * (newHeight / newWidth) * rowFactor)));
    if (rows * columns > MaxCells)
        columns = RoundedDownToEven(MaxCells / rows);
    cellCount = rows * columns;

    width = newWidth;
    height = newHeight;
    inverseWidth = 1.0f / newWidth;
    inverseHeight = 1.0f / newHeight;
    vertexCount = cellCount;
    indexCount = 2 * cellCount;
    cells.assign(cellCount, Cell{0.0f, 0.0f});

    ReleaseBuffers();
    CreateBuffers();
}

void WaterGrid::FillStripIndices(uint32_t gridColumns, uint32_t gridRows, uint16_t* indices, uint32_t count)
{
    const uint32_t cellTotal = gridColumns * gridRows;
    uint32_t written = 0;
    auto put = [&](int r, int c) {
        if (written >= count)
            return;
        const uint32_t index = gridColumns * static_cast<uint32_t>(r) + static_cast<uint32_t>(c);
        indices[written++] = static_cast<uint16_t>(index < cellTotal ? index : 0);
    };

    // Ring by ring from the outside in: along the top to the right, down the
    // right side, back along the bottom and up the left side, each band two
    // vertices wide, so that one strip covers every cell.
    int r = 0;
    int c = 0;
    int n = static_cast<int>(gridColumns);
    int m = static_cast<int>(gridRows);
    while (written < count && n > 0 && m > 0) {
        for (int i = 0; i < n; ++i, ++c) {
            put(r, c);
            put(r + 1, c);
        }
        --c;
        ++r;
        if (m > 1) {
            for (int i = 0; i < m - 1; ++i, ++r) {
                put(r, c);
                put(r, c - 1);
            }
            --r;
            --c;
        }
        if (n > 1) {
            for (int i = 0; i < n - 1; ++i, --c) {
                put(r, c);
                put(r - 1, c);
            }
            ++c;
            --r;
        }
        if (m > 2) {
            for (int i = 0; i < m - 2; ++i, --r) {
                put(r, c);
                put(r, c + 1);
            }
        }
        m -= 2;
        n -= 2;
        ++r;
        ++c;
    }
    // A grid of odd size ends its spiral early; the rest of the strip
    // repeats vertex 0.
    while (written < count)
        indices[written++] = 0;
}

HRESULT WaterGrid::CreateBuffers()
{
    if (!CurrentDevice)
        return E_FAIL;
    buffersWanted = true;
    if (!indexBuffer) {
        // A strip that cannot be filled is not kept; the next call tries
        // again.
        const HRESULT hr = CreateFilledIndexBuffer(
            indexBuffer, indexCount, [this](uint16_t* indices) { FillStripIndices(columns, rows, indices, indexCount); },
            0, D3DPOOL_DEFAULT);
        if (FAILED(hr))
            return hr;
    }
    if (!vertexBuffer) {
        // Rewritten whole every frame and never read back.
        const HRESULT hr =
            CurrentDevice->CreateVertexBuffer(vertexCount * sizeof(DX_V::PNCT), D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY,
                                              DX_V::PNCT::FVF, D3DPOOL_DEFAULT, vertexBuffer.Out(), nullptr);
        if (FAILED(hr))
            return hr;
    }
    return D3D_OK;
}

void WaterGrid::ReleaseBuffers()
{
    buffersWanted = false;
    indexBuffer.Release();
    vertexBuffer.Release();
}

bool WaterGrid::HasCells() const { return !cells.empty() && cells.size() == cellCount; }

void WaterGrid::AddRandomDrop()
{
    if (!HasCells() || columns < 3 || rows < 3)
        return;
    const uint32_t c = static_cast<uint32_t>(Rand()) % (columns - 2) + 1;
    const uint32_t r = static_cast<uint32_t>(Rand()) % (rows - 2) + 1;
    const float s = dropStrength;
    Cell* const centre = &cells[r * columns + c];
    Cell* const above = centre - columns;
    Cell* const below = centre + columns;
    centre->velocity -= s / 4.0f;
    centre[-1].velocity -= s / 8.0f;
    centre[1].velocity -= s / 8.0f;
    above->velocity -= s / 8.0f;
    below->velocity -= s / 8.0f;
    above[-1].velocity -= s / 16.0f;
    above[1].velocity -= s / 16.0f;
    below[-1].velocity -= s / 16.0f;
    below[1].velocity -= s / 16.0f;
}

void WaterGrid::Relax()
{
    const uint32_t last = columns - 1;
    Cell* const first = cells.data();
    Cell* const lastRow = first + (rows - 1) * columns;
    for (int pass = 0; pass < RelaxationPasses; ++pass) {
        // The border is held at rest. Cells are visited row by row and read
        // their neighbours in place, so a border cell already passed this
        // time reads as 0 and one still ahead keeps last pass's height.
        float sum = 0.0f;
        for (uint32_t c = 0; c < columns; ++c)
            first[c] = Cell{0.0f, 0.0f};
        for (uint32_t r = 1; r + 1 < rows; ++r) {
            Cell* const row = first + r * columns;
            const Cell* const up = row - columns;
            const Cell* const down = row + columns;
            row[0] = Cell{0.0f, 0.0f};
            for (uint32_t c = 1; c < last; ++c) {
                const float edges = up[c].height + down[c].height + row[c - 1].height + row[c + 1].height;
                const float corners =
                    up[c - 1].height + up[c + 1].height + down[c - 1].height + down[c + 1].height;
                const float target = edges * EdgeWeight + corners * CornerWeight;
                Cell& cell = row[c];
                cell.velocity = (target - cell.height) * Pull + cell.velocity * damping;
                sum = sum + cell.height + cell.velocity;
            }
            row[last] = Cell{0.0f, 0.0f};
        }
        for (uint32_t c = 0; c < columns; ++c)
            lastRow[c] = Cell{0.0f, 0.0f};

        // The mean comes off every cell, the border included, so the water
        // keeps its level however many drops fall.
        mean = sum / static_cast<float>(cellCount);
        for (Cell* cell = first; cell != first + cellCount; ++cell)
            cell->height += cell->velocity * stepScale - mean;
    }
}

HRESULT WaterGrid::Step(const D3DXVECTOR3& eye)
{
    if (!HasCells())
        return E_FAIL;
    Relax();
    return WriteVertices(eye);
}

HRESULT WaterGrid::WriteVertices(const D3DXVECTOR3& eye)
{
    if (!HasCells())
        return E_FAIL;
    // Buffers that could not be made or filled before are tried again.
    if (buffersWanted && (!indexBuffer || !vertexBuffer)) {
        const HRESULT hr = CreateBuffers();
        if (FAILED(hr))
            return hr;
    }
    if (!vertexBuffer)
        return E_FAIL;
    void* data = nullptr;
    // Every vertex is written anew: the driver may hand over fresh memory.
    const HRESULT hr = vertexBuffer->Lock(0, 0, &data, D3DLOCK_DISCARD);
    if (FAILED(hr))
        return hr;
    ComputeVertices(eye, static_cast<DX_V::PNCT*>(data));
    vertexBuffer->Unlock();
    return D3D_OK;
}

void WaterGrid::ComputeVertices(const D3DXVECTOR3& eye, DX_V::PNCT* out)
{
    if (!HasCells())
        return;
    if (!table)
        BuildRefractionTable();
    const float dx = width / static_cast<float>(columns - 1);
    const float dz = height / static_cast<float>(rows - 1);
    const float zoom = 1.0f - DepthZoom * refractionDepth;

    for (uint32_t r = 0; r < rows; ++r) {
        // Neighbours wrap around the edges.
        const Cell* const row = &cells[r * columns];
        const Cell* const up = &cells[(r == 0 ? rows - 1 : r - 1) * columns];
        const Cell* const down = &cells[(r + 1 == rows ? 0 : r + 1) * columns];
        const float z = -height * 0.5f + static_cast<float>(r) * dz;
        for (uint32_t c = 0; c < columns; ++c) {
            const uint32_t left = c == 0 ? columns - 1 : c - 1;
            const uint32_t right = c + 1 == columns ? 0 : c + 1;
            const float x = -width * 0.5f + static_cast<float>(c) * dx;
            const float h = row[c].height;
            const float ul = up[left].height;
            const float ur = up[right].height;
            const float dl = down[left].height;
            const float dr = down[right].height;

            // Left minus right and up minus down, each over three cells.
            const D3DXVECTOR3 normal = Normalized((ul - dr) - (ur - dl) + (row[left].height - row[right].height),
                                                 1.0f, (ul - dr) + (up[c].height - down[c].height) + (ur - dl));
            const D3DXVECTOR3 toEye = Normalized(eye.x - x, eye.y - h, eye.z - z);
            const RefractionTable::Entry& entry = table->At(RoundToInt(RefractionSteps * Dot(toEye, normal)));
            const D3DXVECTOR3 ray = entry.m * (entry.k * normal + toEye);

            // Where the refracted ray from below the surface meets the far
            // side of the sphere. A ray from outside the sphere can miss it:
            // it then takes its point nearest the sphere, which continues
            // the hits beside it without a seam.
            const D3DXVECTOR3 start(x, h - FloorDepth, z);
            const float b = Dot(start, ray);
            float discriminant = (2.0f * b) * (2.0f * b) - 4.0f * (Dot(start, start) - SphereRadiusSquared);
            if (!(discriminant > 0.0f))
                discriminant = 0.0f;
            const float t = (std::sqrt(discriminant) - 2.0f * b) * 0.5f;

            DX_V::PNCT& vertex = out[r * columns + c];
            vertex.x = x;
            vertex.y = h;
            vertex.z = z;
            vertex.nx = normal.x;
            vertex.ny = normal.y;
            vertex.nz = normal.z;
            vertex.color = entry.colour;
            vertex.u = zoom * (x + t * refractionDepth * ray.x) * inverseWidth + 0.5f;
            vertex.v = zoom * (z + t * refractionDepth * ray.z) * inverseHeight + 0.5f;
        }
    }
}

HRESULT WaterGrid::Draw() const
{
    if (!CurrentDevice || !vertexBuffer || !indexBuffer || indexCount < 3)
        return E_FAIL;
    CurrentDevice->SetVertexShader(nullptr);
    HRESULT hr = CurrentDevice->SetFVF(DX_V::PNCT::FVF);
    if (SUCCEEDED(hr))
        hr = CurrentDevice->SetStreamSource(0, vertexBuffer.Get(), 0, sizeof(DX_V::PNCT));
    if (SUCCEEDED(hr))
        hr = CurrentDevice->SetIndices(indexBuffer.Get());
    if (SUCCEEDED(hr))
        hr = CurrentDevice->DrawIndexedPrimitive(D3DPT_TRIANGLESTRIP, 0, 0, vertexCount, 0, indexCount - 2);
    return hr;
}

void WaterGrid::BuildRefractionTable()
{
    if (table)
        return;
    GlobalRefractionTable.Build();
    table = &GlobalRefractionTable;
}
