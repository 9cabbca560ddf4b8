#include "tests/foundation/resources/LoaderTestSupport.h"

#include "foundation/core/CurrentDevice.h"

#include <d3dx9tex.h>

#include <iomanip>
#include <sstream>

const wchar_t* const AbsentModule = L"nightglass_absent_module.dll";

void LoaderTest::SetUp()
{
    ASSERT_TRUE(device.Ok());
    current.emplace(device.Device());
    CurrentResourceCache = &cache;
}

void LoaderTest::TearDown()
{
    CurrentResourceCache = nullptr;
    current.reset();
}

ULONG RefCount(IUnknown* object)
{
    if (!object)
        return 0;
    object->AddRef();
    return object->Release();
}

namespace {

const uint8_t QuadrantColours[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};

Bytes BytesOfBuffer(ID3DXBuffer* buffer)
{
    if (!buffer)
        return {};
    const auto* data = static_cast<const uint8_t*>(buffer->GetBufferPointer());
    return Bytes(data, data + buffer->GetBufferSize());
}

} // namespace

Image QuadrantImage(int width, int height)
{
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int quadrant = (y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0);
            uint8_t* p = image.Pixel(x, y);
            p[0] = QuadrantColours[quadrant][0];
            p[1] = QuadrantColours[quadrant][1];
            p[2] = QuadrantColours[quadrant][2];
            p[3] = 255;
        }
    }
    return image;
}

::testing::AssertionResult HasQuadrants(const Pixels& pixels, int tolerance)
{
    if (pixels.Empty())
        return ::testing::AssertionFailure() << "no pixels";
    const double at[4][2] = {{0.25, 0.25}, {0.75, 0.25}, {0.25, 0.75}, {0.75, 0.75}};
    for (int q = 0; q < 4; ++q) {
        Rgba expected;
        expected.r = QuadrantColours[q][0];
        expected.g = QuadrantColours[q][1];
        expected.b = QuadrantColours[q][2];
        expected.a = 255;
        const auto result = ColourNear(pixels.AtFraction(at[q][0], at[q][1]), expected, tolerance);
        if (!result)
            return ::testing::AssertionFailure() << "quadrant " << q << ": " << result.message();
    }
    return ::testing::AssertionSuccess();
}

Bytes PngOf(const Image& image) { return EncodePng(image, true); }

Bytes JpegOf(IDirect3DDevice9* device, const Image& image)
{
    ComHolder<IDirect3DTexture9> texture = TextureOf(device, image);
    ComHolder<ID3DXBuffer> file;
    if (!texture || FAILED(D3DXSaveTextureToFileInMemory(file.Out(), D3DXIFF_JPG, texture.Get(), nullptr)))
        return {};
    return BytesOfBuffer(file.Get());
}

Bytes DdsOf(IDirect3DDevice9* device, const Image& image)
{
    ComHolder<IDirect3DTexture9> texture = TextureOf(device, image);
    ComHolder<IDirect3DSurface9> surface;
    ComHolder<ID3DXBuffer> file;
    if (!texture || FAILED(texture->GetSurfaceLevel(0, surface.Out())) ||
        FAILED(D3DXSaveSurfaceToFileInMemory(file.Out(), D3DXIFF_DDS, surface.Get(), nullptr, nullptr)))
        return {};
    return BytesOfBuffer(file.Get());
}

namespace {

struct XVertex {
    D3DXVECTOR3 position;
    D3DXVECTOR3 normal;
    float u, v;
};

struct XFace {
    int a, b, c;
};

std::string XFileOf(const std::vector<XVertex>& vertices, const std::vector<XFace>& faces)
{
    std::ostringstream x;
    // Numbers of float fields need a decimal point to be read as floats.
    x << std::fixed << std::setprecision(6);
    const auto separator = [](std::size_t i, std::size_t count) { return i + 1 < count ? ",\n" : ";\n"; };
    x << "xof 0303txt 0032\n";
    x << "Mesh {\n" << vertices.size() << ";\n";
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const auto& p = vertices[i].position;
        x << p.x << ";" << p.y << ";" << p.z << ";" << separator(i, vertices.size());
    }
    x << faces.size() << ";\n";
    for (std::size_t i = 0; i < faces.size(); ++i)
        x << "3;" << faces[i].a << "," << faces[i].b << "," << faces[i].c << ";" << separator(i, faces.size());
    x << "MeshNormals {\n" << vertices.size() << ";\n";
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const auto& n = vertices[i].normal;
        x << n.x << ";" << n.y << ";" << n.z << ";" << separator(i, vertices.size());
    }
    x << faces.size() << ";\n";
    for (std::size_t i = 0; i < faces.size(); ++i)
        x << "3;" << faces[i].a << "," << faces[i].b << "," << faces[i].c << ";" << separator(i, faces.size());
    x << "}\n";
    x << "MeshTextureCoords {\n" << vertices.size() << ";\n";
    for (std::size_t i = 0; i < vertices.size(); ++i)
        x << vertices[i].u << ";" << vertices[i].v << ";" << separator(i, vertices.size());
    x << "}\n}\n";
    return x.str();
}

} // namespace

std::string CubeXFile(const D3DXVECTOR3& centre, float halfSide)
{
    std::vector<XVertex> vertices;
    std::vector<XFace> faces;
    const float corners[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
    const float uvs[4][2] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}};
    for (int axis = 0; axis < 3; ++axis) {
        for (int sign = -1; sign <= 1; sign += 2) {
            const int first = static_cast<int>(vertices.size());
            D3DXVECTOR3 normal(0, 0, 0);
            static_cast<FLOAT*>(normal)[axis] = static_cast<float>(sign);
            for (int k = 0; k < 4; ++k) {
                D3DXVECTOR3 offset = normal;
                static_cast<FLOAT*>(offset)[(axis + 1) % 3] = corners[k][0];
                static_cast<FLOAT*>(offset)[(axis + 2) % 3] = corners[k][1];
                vertices.push_back({centre + offset * halfSide, normal, uvs[k][0], uvs[k][1]});
            }
            // Clockwise seen from outside: the edge cross product points out.
            D3DXVECTOR3 cross;
            const D3DXVECTOR3 e1 = vertices[first + 1].position - vertices[first].position;
            const D3DXVECTOR3 e2 = vertices[first + 2].position - vertices[first].position;
            D3DXVec3Cross(&cross, &e1, &e2);
            if (D3DXVec3Dot(&cross, &normal) > 0) {
                faces.push_back({first, first + 1, first + 2});
                faces.push_back({first, first + 2, first + 3});
            } else {
                faces.push_back({first, first + 2, first + 1});
                faces.push_back({first, first + 3, first + 2});
            }
        }
    }
    return XFileOf(vertices, faces);
}

std::string TriangleXFile()
{
    const D3DXVECTOR3 back(0, 0, -1);
    return XFileOf({{D3DXVECTOR3(0, 0, 0), back, 0, 1}, {D3DXVECTOR3(0, 1, 0), back, 0, 0},
                    {D3DXVECTOR3(1, 0, 0), back, 1, 1}},
                   {{0, 1, 2}});
}

Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

ResourceRecord ModuleRecord(int32_t id, const ds_string& module, const Bytes& bytes)
{
    ResourceRecord record(id, module);
    if (!bytes.empty())
        record.SetBytes(static_cast<int32_t>(bytes.size()), bytes.data());
    return record;
}

TempFile::TempFile(const wchar_t* name)
{
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    path = ds_string(folder) + name;
    DeleteFileW(path.c_str());
}

void TempFile::Write(const Bytes& content) const
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(content.size(), written);
}

TempFile::~TempFile() { DeleteFileW(path.c_str()); }
