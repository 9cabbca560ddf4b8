// The water grid: its size, its strip, drops from a known generator state,
// the simulation against a plain reading of its rules, the refraction table
// and the vertices it writes.
#include "scene/layers/WaterGrid.h"

#include "foundation/core/Numeric.h"
#include "foundation/core/Random.h"
#include "foundation/core/RandomForTesting.h"
#include "foundation/geometry/BufferLocksForTesting.h"
#include "scene/layers/RefractionTable.h"
#include "tests/support/ReferenceRandom.h"
#include "tests/support/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <vector>

namespace {

const D3DXVECTOR3 Eye(0.0f, 120.0f, 0.0f);

// A grid of the given size without buffers (no device is current).
WaterGrid& Sized(WaterGrid& grid, float width, float height)
{
    grid.Resize(width, height, 1.0f, 1.0f);
    return grid;
}

// One step of the rules read plainly: every cell visited row by row with
// wrapped neighbours read in place, the border held at rest, the mean taken
// off every cell after each pass.
void ReferenceStep(std::vector<WaterGrid::Cell>& cells, int columns, int rows, float damping, float stepScale)
{
    auto h = [&](int r, int c) { return cells[((r + rows) % rows) * columns + (c + columns) % columns].height; };
    for (int pass = 0; pass < 4; ++pass) {
        float sum = 0.0f;
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                WaterGrid::Cell& cell = cells[r * columns + c];
                float target = 0.0f;
                if (r == 0 || c == 0 || r == rows - 1 || c == columns - 1) {
                    cell.height = 0.0f;
                    cell.velocity = 0.0f;
                } else {
                    target = (h(r - 1, c) + h(r + 1, c) + h(r, c - 1) + h(r, c + 1)) * (1.0f / 6.0f) +
                             (h(r - 1, c - 1) + h(r - 1, c + 1) + h(r + 1, c - 1) + h(r + 1, c + 1)) * (1.0f / 12.0f);
                }
                cell.velocity = (target - cell.height) * 0.25f + cell.velocity * damping;
                sum = sum + cell.height + cell.velocity;
            }
        }
        const float mean = sum / static_cast<float>(cells.size());
        for (WaterGrid::Cell& cell : cells)
            cell.height += cell.velocity * stepScale - mean;
    }
}

} // namespace

// Columns come from the column factor, rows keep the cells square; both are
// even, at least 4 (a drop needs a cell off the border) and at most 65536
// cells in all, whatever the picture's proportions or the densities.
TEST(WaterGrid, SizeFollowsTheSurfaceWithinItsLimits)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        float width, height, rowFactor, columnFactor;
        uint32_t columns, rows;
    };
    const Case cases[] = {
        {"4:3 picture", 40.0f, 30.0f, 1.0f, 1.0f, 128, 96},
        {"dense columns, cut to the cell limit", 40.0f, 30.0f, 1.0f, 3.0f, 226, 288},
        {"denser rows", 40.0f, 30.0f, 1.5f, 1.0f, 128, 144},
        {"odd counts round down", 40.0f, 30.0f, 1.0f, 1.01f, 128, 96},
        {"100:1 picture keeps 4 rows", 3000.0f, 30.0f, 1.0f, 1.0f, 128, 4},
        {"1:1000 picture keeps 4 columns", 0.03f, 30.0f, 1.0f, 1.0f, 4, 16384},
        {"absurd density", 40.0f, 30.0f, 1.0f, 4.0e7f, 4, 12288},
        {"no surface width", 0.0f, 30.0f, 1.0f, 1.0f, 4, 16384},
        {"NaN width", nan, 30.0f, 1.0f, 1.0f, 128, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WaterGrid grid;
        grid.Resize(c.width, c.height, c.rowFactor, c.columnFactor);
        EXPECT_EQ(c.columns, grid.columns);
        EXPECT_EQ(c.rows, grid.rows);
        EXPECT_EQ(c.columns * c.rows, grid.cellCount);
        EXPECT_EQ(grid.cellCount, grid.vertexCount);
        EXPECT_EQ(2 * grid.cellCount, grid.indexCount);
        EXPECT_EQ(grid.cellCount, grid.cells.size());
    }
}

// One strip spirals inward ring by ring and covers every cell.
TEST(WaterGrid, StripSpiralsInwardOverEveryCell)
{
    std::vector<uint16_t> strip(32);
    WaterGrid::FillStripIndices(4, 4, strip.data(), 32);
    const std::vector<uint16_t> expected = {0, 4, 1, 5, 2,  6,  3,  7,  7,  6, 11, 10, 15, 14, 14, 10,
                                            13, 9, 12, 8, 8, 9, 4, 5, 5, 9, 6, 10, 10, 9, 9, 5};
    EXPECT_EQ(expected, strip);

    // A larger grid: in range, every vertex used, and each triangle of the
    // strip joins neighbouring cells only (or is degenerate).
    const uint32_t columns = 12;
    const uint32_t rows = 8;
    std::vector<uint16_t> large(2 * columns * rows);
    WaterGrid::FillStripIndices(columns, rows, large.data(), static_cast<uint32_t>(large.size()));
    std::set<uint16_t> used(large.begin(), large.end());
    EXPECT_EQ(columns * rows, used.size());
    EXPECT_LT(*used.rbegin(), columns * rows);
    for (std::size_t i = 2; i < large.size(); ++i) {
        for (std::size_t a = i - 2; a < i; ++a) {
            const int dr = std::abs(large[a] / static_cast<int>(columns) - large[i] / static_cast<int>(columns));
            const int dc = std::abs(large[a] % static_cast<int>(columns) - large[i] % static_cast<int>(columns));
            EXPECT_TRUE(dr <= 1 && dc <= 1) << "index " << i;
        }
    }
}

// A drop falls on the cell of two draws (column, then row) off the border
// and pushes its velocity down by s/4, its edge neighbours by s/8 and its
// corner neighbours by s/16.
TEST(WaterGrid, DropFallsWhereTheGeneratorSays)
{
    WaterGrid grid;
    Sized(grid, 40.0f, 30.0f).dropStrength = 0.45f;
    const uint32_t state = 12345;
    ReferenceRandom lcg(state);
    const uint32_t c = lcg.Next() % (grid.columns - 2) + 1;
    const uint32_t r = lcg.Next() % (grid.rows - 2) + 1;
    ResetRandForTesting(state);
    grid.AddRandomDrop();
    ResetRandForTesting(1);

    for (uint32_t row = 0; row < grid.rows; ++row) {
        for (uint32_t column = 0; column < grid.columns; ++column) {
            const int distance = std::abs(static_cast<int>(row - r)) + std::abs(static_cast<int>(column - c));
            const bool touched = std::abs(static_cast<int>(row - r)) <= 1 && std::abs(static_cast<int>(column - c)) <= 1;
            const float expected = !touched ? 0.0f : distance == 0 ? -0.45f / 4 : distance == 1 ? -0.45f / 8 : -0.45f / 16;
            const WaterGrid::Cell& cell = grid.cells[row * grid.columns + column];
            ASSERT_FLOAT_EQ(expected, cell.velocity) << row << ", " << column;
            ASSERT_EQ(0.0f, cell.height);
        }
    }
}

// A drop on a grid that has no cells yet draws nothing and writes nothing.
TEST(WaterGrid, DropNeedsCells)
{
    WaterGrid grid;
    ResetRandForTesting(7);
    grid.AddRandomDrop();
    ReferenceRandom lcg(7);
    EXPECT_EQ(lcg.Next(), Rand());
    ResetRandForTesting(1);
}

// Steps follow the rules read plainly; after one step the border is at rest
// at minus the last pass's mean; over time the drop's ring spreads outward
// and fades.
TEST(WaterGrid, RingSpreadsAndFades)
{
    WaterGrid grid;
    Sized(grid, 40.0f, 30.0f);
    grid.dropStrength = 0.45f;
    grid.damping = 0.99f;
    grid.stepScale = 1.0f;
    ResetRandForTesting(1);
    grid.AddRandomDrop();
    ResetRandForTesting(1);
    ReferenceRandom lcg(1);
    const int dropColumn = static_cast<int>(lcg.Next() % (grid.columns - 2) + 1);
    const int dropRow = static_cast<int>(lcg.Next() % (grid.rows - 2) + 1);

    std::vector<WaterGrid::Cell> reference = grid.cells;
    const int columns = static_cast<int>(grid.columns);
    const int rows = static_cast<int>(grid.rows);

    grid.Step(Eye);
    ReferenceStep(reference, columns, rows, 0.99f, 1.0f);
    for (int c = 0; c < columns; ++c) {
        EXPECT_EQ(0.0f, grid.cells[c].velocity);
        EXPECT_FLOAT_EQ(-grid.mean, grid.cells[c].height);
    }

    // Where the largest swing lies from the drop, and how large it is.
    auto ring = [&](float& radius, float& peak) {
        radius = 0.0f;
        peak = 0.0f;
        for (int r = 1; r < rows - 1; ++r) {
            for (int c = 1; c < columns - 1; ++c) {
                const float swing = std::fabs(grid.cells[r * columns + c].height - grid.cells[0].height);
                if (swing > peak) {
                    peak = swing;
                    radius = std::hypot(static_cast<float>(r - dropRow), static_cast<float>(c - dropColumn));
                }
            }
        }
    };

    float radius[3] = {};
    float peak[3] = {};
    const int checkpoints[3] = {10, 20, 40};
    int steps = 1;
    for (int i = 0; i < 3; ++i) {
        for (; steps < checkpoints[i]; ++steps) {
            grid.Step(Eye);
            ReferenceStep(reference, columns, rows, 0.99f, 1.0f);
        }
        ring(radius[i], peak[i]);
    }
    for (std::size_t i = 0; i < reference.size(); ++i) {
        ASSERT_NEAR(reference[i].height, grid.cells[i].height, 1e-6f) << i;
        ASSERT_NEAR(reference[i].velocity, grid.cells[i].velocity, 1e-6f) << i;
    }
    EXPECT_LT(radius[0], radius[1]);
    EXPECT_LT(radius[1], radius[2]);
    EXPECT_GT(peak[0], peak[1]);
    EXPECT_GT(peak[1], peak[2]);
    EXPECT_GT(peak[2], 0.0f);
}

// k and m turn the eye direction and the normal into the unit refracted
// direction at index 1.333; the colour's alpha falls as (255 - i)^3; any
// index below 0, NaN's included, reads entry 0.
TEST(WaterGrid, RefractionTableBendsRaysAtTheWatersIndex)
{
    WaterGrid grid;
    grid.BuildRefractionTable();
    ASSERT_EQ(&GlobalRefractionTable, grid.table);
    const RefractionTable& table = *grid.table;

    EXPECT_NEAR(0.8814f, table.At(0).k, 1e-4f);
    EXPECT_NEAR(-1.0f / 1.333f, table.At(0).m, 1e-6f);
    EXPECT_EQ(0xFD000000u, table.At(0).colour);
    EXPECT_EQ(0x1F000000u, table.At(128).colour);
    EXPECT_EQ(0u, table.At(255).colour);

    for (int i : {0, 64, 128, 200, 255}) {
        SCOPED_TRACE(i);
        const float cosI = i / 256.0f;
        const D3DXVECTOR3 normal(0.0f, 1.0f, 0.0f);
        const D3DXVECTOR3 eye(std::sqrt(1.0f - cosI * cosI), cosI, 0.0f);
        const RefractionTable::Entry& e = table.At(i);
        const D3DXVECTOR3 ray = e.m * (e.k * normal + eye);
        EXPECT_NEAR(1.0f, D3DXVec3Length(&ray), 1e-4f);
        // Snell: sin T = sin I / 1.333, bent towards the normal, downwards.
        EXPECT_NEAR(eye.x / 1.333f, -ray.x, 1e-4f);
        EXPECT_LT(ray.y, 0.0f);
    }

    for (int i : {-1, -256, -100000, RoundToInt(std::numeric_limits<float>::quiet_NaN())}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(table.At(0).k, table.At(i).k);
        EXPECT_EQ(table.At(0).colour, table.At(i).colour);
    }
    EXPECT_EQ(table.At(255).k, table.At(100000).k);
}

// A flat surface looks straight through: upright, the centre on the
// picture's centre, a little zoomed in, symmetric. The normals point up.
TEST(WaterGrid, FlatSurfaceLooksThroughToThePicture)
{
    WaterGrid grid;
    Sized(grid, 40.0f, 30.0f).refractionDepth = 0.2f;
    std::vector<DX_V::PNCT> vertices(grid.vertexCount);
    grid.ComputeVertices(Eye, vertices.data());

    const uint32_t columns = grid.columns;
    const DX_V::PNCT& first = vertices[0];
    const DX_V::PNCT& last = vertices.back();
    EXPECT_FLOAT_EQ(-20.0f, first.x);
    EXPECT_FLOAT_EQ(-15.0f, first.z);
    EXPECT_FLOAT_EQ(20.0f, last.x);
    EXPECT_FLOAT_EQ(15.0f, last.z);
    EXPECT_GT(first.u, 0.0f);
    EXPECT_GT(first.v, 0.0f);
    EXPECT_LT(last.u, 1.0f);
    EXPECT_LT(last.v, 1.0f);
    EXPECT_NEAR(1.0f, first.u + last.u, 1e-5f);
    EXPECT_NEAR(1.0f, first.v + last.v, 1e-5f);
    for (uint32_t c = 1; c < columns; ++c)
        ASSERT_GT(vertices[c].u, vertices[c - 1].u);
    for (const DX_V::PNCT& v : vertices) {
        ASSERT_EQ(0.0f, v.nx);
        ASSERT_EQ(1.0f, v.ny);
        ASSERT_EQ(0.0f, v.y);
    }
}

// A surface sloping up to the right, height c / 6 in column c, on a grid of
// 6 × 4 cells 8 by 10 units: at row 1, column 2 (x -4, z -5) the normal is
// (-1, 1, 0) / sqrt 2; the eye direction (4, 119.667, 5) normalised meets it
// at 0.68249, entry 174 (alpha (255 - 174)^3 / 65536 = 8); the refracted
// ray (0.20484, -0.97899, -0.03130) leaves the sphere of radius 35 after
// t = 15.215, so u = 0.99 × (-4 + 0.2 t T.x) / 40 + 0.5 = 0.41643 and
// v = 0.99 × (-5 + 0.2 t T.z) / 30 + 0.5 = 0.33186.
TEST(WaterGrid, ASlopedSurfaceBendsTheViewRay)
{
    WaterGrid grid;
    grid.Resize(40.0f, 30.0f, 1.0f, 0.05f);
    ASSERT_EQ(6u, grid.columns);
    ASSERT_EQ(4u, grid.rows);
    for (uint32_t r = 0; r < grid.rows; ++r)
        for (uint32_t c = 0; c < grid.columns; ++c)
            grid.cells[r * grid.columns + c].height = static_cast<float>(c) / 6.0f;
    std::vector<DX_V::PNCT> vertices(grid.vertexCount);
    grid.ComputeVertices(Eye, vertices.data());

    const DX_V::PNCT& v = vertices[1 * grid.columns + 2];
    EXPECT_FLOAT_EQ(-4.0f, v.x);
    EXPECT_FLOAT_EQ(1.0f / 3.0f, v.y);
    EXPECT_FLOAT_EQ(-5.0f, v.z);
    EXPECT_NEAR(-0.70710678f, v.nx, 1e-6f);
    EXPECT_NEAR(0.70710678f, v.ny, 1e-6f);
    EXPECT_NEAR(0.0f, v.nz, 1e-6f);
    EXPECT_EQ(0x08000000u, v.color);
    EXPECT_NEAR(0.416427f, v.u, 1e-5f);
    EXPECT_NEAR(0.331857f, v.v, 1e-5f);
}

// A surface so wide that the view rays from its ends miss the sphere still
// gives finite coordinates, continuing those beside them; a broken height
// (NaN) reads the table's first entry rather than outside it.
TEST(WaterGrid, RaysThatMissOrBreakStayInRange)
{
    WaterGrid grid;
    Sized(grid, 1500.0f, 30.0f);
    std::vector<DX_V::PNCT> vertices(grid.vertexCount);
    grid.ComputeVertices(Eye, vertices.data());
    for (const DX_V::PNCT& v : vertices) {
        ASSERT_TRUE(std::isfinite(v.u));
        ASSERT_TRUE(std::isfinite(v.v));
    }
    const uint32_t middle = grid.rows / 2 * grid.columns;
    for (uint32_t c = 1; c < grid.columns; ++c)
        ASSERT_NEAR(vertices[middle + c - 1].u, vertices[middle + c].u, 0.02f) << c;

    Sized(grid, 40.0f, 30.0f);
    vertices.resize(grid.vertexCount);
    const uint32_t cell = 10 * grid.columns + 10;
    grid.cells[cell].height = std::numeric_limits<float>::quiet_NaN();
    grid.ComputeVertices(Eye, vertices.data());
    EXPECT_EQ(GlobalRefractionTable.At(0).colour, vertices[cell].color);
}

namespace {

using WaterGridDeviceTest = DeviceTest<64, 64>;

std::vector<uint16_t> ReadStrip(IDirect3DIndexBuffer9* buffer)
{
    std::vector<uint16_t> out;
    D3DINDEXBUFFER_DESC desc{};
    void* data = nullptr;
    if (!buffer || FAILED(buffer->GetDesc(&desc)) || FAILED(buffer->Lock(0, 0, &data, D3DLOCK_READONLY)))
        return out;
    const uint16_t* first = static_cast<const uint16_t*>(data);
    out.assign(first, first + desc.Size / sizeof(uint16_t));
    buffer->Unlock();
    return out;
}

} // namespace

// A strip whose buffer does not lock is not kept unfilled: the grid has no
// strip to draw, and the next frame makes and fills it.
TEST_F(WaterGridDeviceTest, AStripThatDoesNotLockIsMadeAgainAndFilled)
{
    WaterGrid grid;
    FailIndexBufferLocksForTesting(1);
    grid.Resize(160.0f, 120.0f, 1.0f, 0.25f);
    FailIndexBufferLocksForTesting(0);
    EXPECT_FALSE(grid.indexBuffer);
    EXPECT_TRUE(FAILED(grid.Draw()));

    ASSERT_TRUE(SUCCEEDED(grid.Step(Eye)));
    ASSERT_TRUE(grid.indexBuffer);
    std::vector<uint16_t> expected(grid.indexCount);
    WaterGrid::FillStripIndices(grid.columns, grid.rows, expected.data(), grid.indexCount);
    EXPECT_EQ(expected, ReadStrip(grid.indexBuffer.Get()));
    Device()->BeginScene();
    EXPECT_TRUE(SUCCEEDED(grid.Draw()));
    Device()->EndScene();
}
