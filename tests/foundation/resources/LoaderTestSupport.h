// Fixtures for the loader and cache tests: a device published as
// CurrentDevice with a current cache, pictures of known content in every
// file format the loaders take, and small X-file meshes.
#pragma once

#include "foundation/core/ComHolder.h"
#include "foundation/archive/FileRecord.h"
#include "foundation/resources/ResourceCache.h"
#include "tests/support/ScopedCurrentDevice.h"
#include "tests/support/TestDevice.h"
#include "tests/support/TestTextures.h"
#include "tools/encoders/ImageWriters.h"

#include <d3d9.h>
#include <d3dx9math.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

// A module name that no folder holds.
extern const wchar_t* const AbsentModule;

// The program's own "DDS" resources that the test executable carries.
constexpr int32_t NoiseResource = 2;
constexpr int32_t SplashResource = 5;
constexpr int32_t SceneResource = 107;
constexpr int32_t MissingResource = 54;

// A TestDevice published as CurrentDevice and a cache published as
// CurrentResourceCache for each test; both are cleared afterwards.
class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    TestDevice device;
    std::optional<ScopedCurrentDevice> current;
    ResourceCache cache;
};

// The current reference count of a COM object; 0 for none.
ULONG RefCount(IUnknown* object);

// Four solid quadrants: red top left, green top right, blue bottom left,
// white bottom right.
Image QuadrantImage(int width, int height);
// Checks the four quadrant colours at the quadrants' centres.
::testing::AssertionResult HasQuadrants(const Pixels& pixels, int tolerance);

// The image as the bytes of a PNG, a JPEG or a DDS file.
Bytes PngOf(const Image& image);
Bytes JpegOf(IDirect3DDevice9* device, const Image& image);
Bytes DdsOf(IDirect3DDevice9* device, const Image& image);

// A cube of 24 vertices (four per side, each with its side's normal and
// texture corners) and 12 triangles, wound clockwise seen from outside.
std::string CubeXFile(const D3DXVECTOR3& centre, float halfSide);
// One triangle.
std::string TriangleXFile();

Bytes BytesOf(const std::string& text);
// A module record (id, module) carrying bytes (none when empty).
ResourceRecord ModuleRecord(int32_t id, const ds_string& module, const Bytes& bytes = Bytes());

// A path in the temporary folder; the file written there is deleted with
// the object.
class TempFile {
public:
    explicit TempFile(const wchar_t* name);
    TempFile(const wchar_t* name, const Bytes& content) : TempFile(name) { Write(content); }
    void Write(const Bytes& content) const;
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const ds_string& Path() const { return path; }

private:
    ds_string path;
};
