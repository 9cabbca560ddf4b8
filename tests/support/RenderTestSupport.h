// Fixtures for the drawing tests: a device published as CurrentDevice, a
// picture of distinct colour cells, and read-back of vertex buffers.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/geometry/DS_SimpleMesh.h"
#include "foundation/core/CurrentDevice.h"
#include "tests/support/ScopedCurrentDevice.h"
#include "tests/support/TestDevice.h"
#include "tests/support/TestTextures.h"

#include <d3d9.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

// A TestDevice of the given back-buffer size, published as CurrentDevice for
// each test.
template <UINT Width, UINT Height>
class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    IDirect3DDevice9* Device() const { return device.Device(); }

    TestDevice device{Width, Height};
    std::optional<ScopedCurrentDevice> current;
};

// The picture of the placement tests: CellsPerSide × CellsPerSide cells, each
// in its own colour, so that any point of the picture names its cell.
constexpr int CellsPerSide = 4;
Rgba CellColour(int column, int row);
// A managed texture of the cell picture, side × side texels.
ComHolder<IDirect3DTexture9> CellTexture(IDirect3DDevice9* device, UINT side);

// The colour of the cell picture at fractions (u, v), or false when the point
// lies within `margin` of a cell edge (where filtering and rasterisation may
// take either side); cellPixels is a cell's size on the screen.
bool CellAt(double u, double v, double cellPixelsX, double cellPixelsY, double margin, Rgba& colour);

// Fixed-function state for drawing a texture as it stands: no lighting,
// culling, depth or blending; point sampling, clamped; stage 0 selects the
// texture, stage 1 off.
void SetPlainTextureStates(IDirect3DDevice9* device);

// The vertices of a mesh's buffer as they stand (managed buffers keep a
// readable copy).
template <class V>
std::vector<V> ReadVertices(const DS_SimpleMesh<V>& mesh)
{
    std::vector<V> out;
    void* data = nullptr;
    if (!mesh.vertices || FAILED(mesh.vertices->Lock(0, 0, &data, D3DLOCK_READONLY)))
        return out;
    out.resize(mesh.vertexCount);
    std::memcpy(out.data(), data, sizeof(V) * mesh.vertexCount);
    mesh.vertices->Unlock();
    return out;
}

template <UINT Width, UINT Height>
void DeviceTest<Width, Height>::SetUp()
{
    ASSERT_TRUE(device.Ok());
    current.emplace(device.Device());
}

template <UINT Width, UINT Height>
void DeviceTest<Width, Height>::TearDown()
{
    current.reset();
}
