// The glyph-rain layer: its record, the grid and quads it builds from its
// parameters and pictures, and the glyphs it draws.
#include "scene/layers/DS_MatrixCodeLight.h"

#include "foundation/core/Random.h"
#include "foundation/core/RandomForTesting.h"
#include "foundation/render/PictureMapping.h"
#include "foundation/render/TextureFormatsForTesting.h"
#include "tests/support/LayerTestSupport.h"
#include "tests/support/RecordReading.h"
#include "tests/support/TestTextures.h"
#include "tools/document/MatrixCodeRecord.h"
#include "tools/document/WritingArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using MatrixCodeTest = LayerTest<256, 256>;

const FileKey PictureKey{L"picture.png", 1};
const FileKey GlyphKey{L"glyphs.png", 2};

// Black in the left half, white in the right.
ComHolder<IDirect3DTexture9> HalfBlackTexture(IDirect3DDevice9* device)
{
    return ColourTexture(
        device, 256, 256, [](UINT x, UINT) { return x < 128 ? 0xFF000000 : 0xFFFFFFFF; }, D3DFMT_X8R8G8B8);
}

uint32_t Cell(int glyph, int counter)
{
    uint32_t cell = MatrixCodeGrid::DirtyBit;
    MatrixCodeGrid::SetGlyph(cell, glyph);
    MatrixCodeGrid::SetCounter(cell, counter);
    return cell;
}

const Rgba Red{255, 0, 0, 255};
const Rgba Green{0, 255, 0, 255};
const Rgba Black{0, 0, 0, 255};
const Rgba Grey{64, 64, 64, 255};

// A layer of red heads and green trails over a grey picture of 256 × 256
// (cells of 16: 17 × 17 cells), with solid white glyphs; the streams are
// parked below the grid, so only the cells a test writes show.
class MatrixCodeFrameTest : public MatrixCodeTest {
protected:
    void SetUp() override
    {
        MatrixCodeTest::SetUp();
        white = SolidTexture(Device(), 0xFFFFFFFF);
        AddPicture(manager, GlyphKey, white.Get(), 32, 1024);
        layer.glyphImage.value = GlyphKey;
        layer.frozenCount.value = 0;
        layer.headColour.value = 0x000000FF;
        layer.trailColour.value = 0x0000FF00;
    }

    void Show(IDirect3DTexture9* picture, UINT width, UINT height, int mode)
    {
        AddPicture(manager, PictureKey, picture, width, height);
        ActivateLayer(layer, PictureKey, 256, 256, mode);
        MatrixCodeGrid& grid = *layer.iterator->grid;
        for (MatrixCodeStream& stream : grid.streams)
            stream = {1 << 20, 0, grid.rows + 10};
    }

    Pixels Frame()
    {
        IDirect3DDevice9* d = Device();
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF00FF, 1.0f, 0);
        d->BeginScene();
        layer.FrameMove(0.0f);
        layer.DrawBackground(false);
        d->EndScene();
        return device.ReadBackBuffer();
    }

    MatrixCodeGrid& Grid() { return *layer.iterator->grid; }

    ComHolder<IDirect3DTexture9> white;
    DS_MatrixCodeLight layer;
};

} // namespace

TEST(DS_MatrixCodeLight, RecordVersionsReadTheirFieldsAndWriteVersion2)
{
    MatrixCodeContent content;
    content.cellSize = 24;
    content.density = 55;
    content.frozenCount = 7;
    content.flicker = 1;
    content.backgroundMode = 1;
    content.streamMode = 0;
    content.trailColour = 0x0000FF00;
    content.headColour = 0x00FFFFFF;
    content.brightness = 25;
    content.glyphPath = L"glyphs.png";
    content.glyphStamp = 9;
    content.base.picturePath = L"picture.jpg";

    for (int32_t version : {1, 2}) {
        SCOPED_TRACE(version);
        content.version = version;
        DS_MatrixCodeLight layer;
        EXPECT_EQ(0u, ReadRecordInto(MatrixCodeRecordBytes(content), layer));
        EXPECT_EQ(24u, layer.cellSize.value);
        EXPECT_EQ(55u, layer.density.value);
        EXPECT_EQ(7u, layer.frozenCount.value);
        EXPECT_EQ(1, layer.flickerSwitch.value);
        EXPECT_EQ(1, layer.backgroundMode.value);
        EXPECT_EQ(0, layer.streamMode.value);
        EXPECT_EQ(0x0000FF00u, layer.trailColour.value);
        EXPECT_EQ(0x00FFFFFFu, layer.headColour.value);
        EXPECT_FLOAT_EQ(0.75f, layer.brightness.result);
        EXPECT_EQ(version == 2 ? L"glyphs.png" : L"common_res.dll", layer.glyphImage.value.path);
        EXPECT_EQ(version == 2 ? 9 : 40, layer.glyphImage.value.stamp);
        EXPECT_EQ(L"picture.jpg", layer.pictureLink.value.path);

        if (version == 2) {
            WritingHandle out;
            layer.Write(out.handle);
            EXPECT_TRUE(MatrixCodeRecordBytes(content) == out.archive->Bytes());
        }
    }
}

// The strip's glyph count never divides by zero nor outgrows a cell's byte;
// ordinary cells keep their size, and only a runaway grid (a cell of 1 on a
// picture 4096 a side, 16.8 million cells) is coarsened to one that fits.
TEST(DS_MatrixCodeLight, GlyphCountAndCellSizeStayWithinBounds)
{
    EXPECT_EQ(34u, DS_MatrixCodeLight::GlyphCountOf(32, 1024));
    EXPECT_EQ(2u, DS_MatrixCodeLight::GlyphCountOf(0, 0));
    EXPECT_EQ(2u, DS_MatrixCodeLight::GlyphCountOf(1024, 32));
    EXPECT_EQ(255u, DS_MatrixCodeLight::GlyphCountOf(1, 1000));

    EXPECT_EQ(16u, DS_MatrixCodeLight::GridCellSize(16, 800, 600));
    EXPECT_EQ(1u, DS_MatrixCodeLight::GridCellSize(0, 64, 48));
    EXPECT_EQ(2u, DS_MatrixCodeLight::GridCellSize(2, 800, 600));
    EXPECT_EQ(5u, DS_MatrixCodeLight::GridCellSize(5, 1920, 1080));
    EXPECT_EQ(1u, DS_MatrixCodeLight::GridCellSize(1, 1920, 1080));
    EXPECT_EQ(3u, DS_MatrixCodeLight::GridCellSize(1, 4096, 4096));
    const uint32_t cell = DS_MatrixCodeLight::GridCellSize(1, 4096, 4096);
    const uint64_t cells = (4096 / cell + 1) * (4096 / cell + 1);
    EXPECT_LE(cells, DS_MatrixCodeLight::MostGlyphCells);
    const uint64_t finer = (4096 / (cell - 1) + 1) * (4096 / (cell - 1) + 1);
    EXPECT_GT(finer, DS_MatrixCodeLight::MostGlyphCells);
}

// From its parameters and pictures: an 800 × 600 picture in cells of 16 is
// 51 × 38 cells, one quad each in one chunk; the density is held within
// 1..100; a cell size of 0 counts as 1: 801 × 601 cells in 30 chunks.
TEST_F(MatrixCodeTest, DeviceCreationBuildsTheGridAndOneQuadPerCell)
{
    ComHolder<IDirect3DTexture9> picture = SolidTexture(Device(), 0xFF404040);
    ComHolder<IDirect3DTexture9> glyphs = SolidTexture(Device(), 0xFFFFFFFF);
    AddPicture(manager, PictureKey, picture.Get(), 800, 600);
    AddPicture(manager, GlyphKey, glyphs.Get(), 32, 1024);
    const struct {
        unsigned cell, density;
        int columns, rows;
        uint32_t usedDensity;
    } cases[] = {{16, 20, 51, 38, 20}, {0, 0, 801, 601, 1}, {16, 250, 51, 38, 100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        DS_MatrixCodeLight layer;
        layer.pictureLink.value = PictureKey;
        layer.glyphImage.value = GlyphKey;
        layer.cellSize.value = c.cell;
        layer.density.value = c.density;
        layer.OnDeviceCreated();
        ASSERT_TRUE(layer.iterator && layer.iterator->grid);
        const MatrixCodeGrid& grid = *layer.iterator->grid;
        EXPECT_EQ(c.columns, grid.columns);
        EXPECT_EQ(c.rows, grid.rows);
        EXPECT_EQ(c.usedDensity, grid.density);
        EXPECT_EQ(34, grid.glyphCount);
        EXPECT_EQ(c.columns * c.rows, layer.quads.QuadCount());
        EXPECT_EQ(glyphs.Get(), layer.quads.chunks[0].texture.Get());
    }

    // Without its strip the layer still has glyphs to choose: two.
    DS_MatrixCodeLight bare;
    bare.pictureLink.value = PictureKey;
    bare.glyphImage.value = FileKey{L"missing.png", 5};
    bare.OnDeviceCreated();
    EXPECT_EQ(2, bare.iterator->grid->glyphCount);
}

// Fine cells on ordinary pictures keep their size, however many chunks the
// quads take: cells of 2 on 800 × 600 and of 5 on 1920 × 1080. The frozen
// cells come from the generator at the grid's own size: from a known state,
// the five rebuilds of a device creation pick 9, 9 (the starting frozen
// count of 10) and then 2, 2, 2 cells (a frozen count of 3), column before
// row, and the last two picks are the grid's.
TEST_F(MatrixCodeTest, FineCellsKeepTheirSizeAndTheirRandomCells)
{
    const struct {
        unsigned cell;
        UINT width, height;
        int columns, rows;
        std::size_t chunks;
    } cases[] = {{2, 800, 600, 401, 301, 8}, {5, 1920, 1080, 385, 217, 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        ComHolder<IDirect3DTexture9> picture = SolidTexture(Device(), 0xFF404040);
        AddPicture(manager, PictureKey, picture.Get(), c.width, c.height);
        DS_MatrixCodeLight layer;
        layer.pictureLink.value = PictureKey;
        layer.cellSize.value = c.cell;
        layer.frozenCount.value = 3;

        ResetRandForTesting(2024);
        std::vector<int> draws;
        for (int i = 0; i < 48; ++i)
            draws.push_back(Rand());
        ResetRandForTesting(2024);
        layer.OnDeviceCreated();

        const MatrixCodeGrid& grid = *layer.iterator->grid;
        EXPECT_EQ(c.columns, grid.columns);
        EXPECT_EQ(c.rows, grid.rows);
        EXPECT_EQ(c.columns * c.rows, layer.quads.QuadCount());
        EXPECT_EQ(c.chunks, layer.quads.chunks.size());
        std::vector<std::size_t> expected;
        for (int pick = 44; pick < 48; pick += 2)
            expected.push_back(static_cast<std::size_t>(draws[pick + 1] % c.rows) * c.columns +
                               static_cast<std::size_t>(draws[pick] % c.columns));
        std::sort(expected.begin(), expected.end());
        expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
        std::vector<std::size_t> frozen;
        for (std::size_t i = 0; i < grid.cells.size(); ++i)
            if (grid.cells[i] & MatrixCodeGrid::FrozenBit)
                frozen.push_back(i);
        EXPECT_EQ(expected, frozen);
        const int next = Rand();
        ResetRandForTesting(2024);
        for (int i = 0; i < 48; ++i)
            Rand();
        EXPECT_EQ(Rand(), next) << "the creation draws 48 values";
    }
}

// Heads in the head colour, settled glyphs in the trail colour, fading
// glyphs at half strength, all over the picture at their cells.
TEST_F(MatrixCodeFrameTest, GlyphsShowInTheirCellsInHeadAndTrailColours)
{
    ComHolder<IDirect3DTexture9> grey = SolidTexture(Device(), 0xFF404040);
    Show(grey.Get(), 256, 256, SceneView::Stretch);
    Grid().Cell(3, 5) = Cell(1, 2);
    Grid().Cell(10, 5) = Cell(7, 0);
    Grid().Cell(6, 9) = Cell(2, -3);

    Pixels shown = Frame();
    EXPECT_TRUE(ColourNear(shown.At(3 * 16 + 8, 5 * 16 + 8), Red, 2));
    EXPECT_TRUE(ColourNear(shown.At(10 * 16 + 8, 5 * 16 + 8), Green, 2));
    EXPECT_TRUE(ColourNear(shown.At(6 * 16 + 8, 9 * 16 + 8), BlendOver(Grey, Rgba{0, 255, 0, 127}), 3));
    EXPECT_TRUE(ColourNear(shown.At(100, 220), Grey, 2));

    // The head settles after its two lit frames.
    Frame();
    shown = Frame();
    EXPECT_TRUE(ColourNear(shown.At(3 * 16 + 8, 5 * 16 + 8), Green, 2));
}

// A picture fitted with bars above and below: the cells lie on the picture.
TEST_F(MatrixCodeFrameTest, GlyphsLieOnTheFittedPicture)
{
    ComHolder<IDirect3DTexture9> grey = SolidTexture(Device(), 0xFF404040);
    Show(grey.Get(), 256, 128, SceneView::Fit);
    ASSERT_EQ(9, Grid().rows);
    Grid().Cell(2, 1) = Cell(1, 2);
    const Pixels shown = Frame();
    EXPECT_TRUE(ColourNear(shown.At(2 * 16 + 8, 64 + 16 + 8), Red, 2));
    EXPECT_TRUE(ColourNear(shown.At(2 * 16 + 8, 16 + 8), Grey, 2) == false);
}

// Over black, a glyph is as bright as the picture under it; heads keep
// their full strength.
TEST_F(MatrixCodeFrameTest, OverBlackGlyphsTakeThePicturesLuminance)
{
    layer.backgroundMode.value = DS_MatrixCodeLight::LuminanceOverBlack;
    ComHolder<IDirect3DTexture9> halves = HalfBlackTexture(Device());
    Show(halves.Get(), 256, 256, SceneView::Stretch);
    ASSERT_EQ(static_cast<std::size_t>(256 * 256), layer.luminance.size());
    Grid().Cell(3, 4) = Cell(5, 0);
    Grid().Cell(12, 4) = Cell(5, 0);
    Grid().Cell(4, 8) = Cell(5, 2);

    const Pixels shown = Frame();
    EXPECT_TRUE(ColourNear(shown.At(3 * 16 + 8, 4 * 16 + 8), Black, 2));
    EXPECT_TRUE(ColourNear(shown.At(12 * 16 + 8, 4 * 16 + 8), Green, 2));
    EXPECT_TRUE(ColourNear(shown.At(4 * 16 + 8, 8 * 16 + 8), Red, 2));
    EXPECT_TRUE(ColourNear(shown.At(200, 240), Black, 2));
}

// Over black the glyphs take the picture's luminance from a copy of it in
// 24-bit RGB, or in 32-bit where the device lacks the 24-bit format (as this
// one may): either way the glyphs are as bright as the picture under them.
TEST_F(MatrixCodeFrameTest, LuminanceCopyFallsBackToThirtyTwoBitTexels)
{
    layer.backgroundMode.value = DS_MatrixCodeLight::LuminanceOverBlack;
    ComHolder<IDirect3DTexture9> halves = HalfBlackTexture(Device());
    const std::vector<D3DFORMAT> cases[] = {{}, {D3DFMT_R8G8B8}};
    for (const std::vector<D3DFORMAT>& withheld : cases) {
        SCOPED_TRACE(withheld.size());
        WithholdTextureFormatsForTesting(withheld);
        Show(halves.Get(), 256, 256, SceneView::Stretch);
        WithholdTextureFormatsForTesting({});
        ASSERT_EQ(static_cast<std::size_t>(256 * 256), layer.luminance.size());
        EXPECT_NEAR(0.0f, layer.luminance[100 * 256 + 20], 0.01f);
        EXPECT_NEAR(1.0f, layer.luminance[100 * 256 + 230], 0.01f);
        Grid().Cell(3, 4) = Cell(5, 0);
        Grid().Cell(12, 4) = Cell(5, 0);
        Grid().Cell(4, 8) = Cell(5, 2);

        const Pixels shown = Frame();
        EXPECT_TRUE(ColourNear(shown.At(3 * 16 + 8, 4 * 16 + 8), Black, 2));
        EXPECT_TRUE(ColourNear(shown.At(12 * 16 + 8, 4 * 16 + 8), Green, 2));
        EXPECT_TRUE(ColourNear(shown.At(4 * 16 + 8, 8 * 16 + 8), Red, 2));
        EXPECT_TRUE(ColourNear(shown.At(200, 240), Black, 2));
    }
}

// The luminance copy's texels are read in their own format and pitch: three
// bytes each in 24-bit rows padded to a longer pitch, four in 32-bit ones;
// nothing in a format the layer does not read.
TEST(DS_MatrixCodeLight, TexelLuminanceReadsEachFormatByItsPitch)
{
    // Blue, green, red, white (bytes in B, G, R order) in two rows.
    const uint8_t colours[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    const float expected[4] = {0.114f, 0.587f, 0.299f, 1.0f};
    const struct {
        D3DFORMAT format;
        int texelBytes, pitch;
    } cases[] = {{D3DFMT_R8G8B8, 3, 8}, {D3DFMT_X8R8G8B8, 4, 12}, {D3DFMT_A8R8G8B8, 4, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        // Padding and spare texels hold a colour that shows if read.
        std::vector<uint8_t> bits(static_cast<std::size_t>(2 * c.pitch), 0x80);
        for (int i = 0; i < 4; ++i)
            std::copy(colours[i], colours[i] + 3, bits.begin() + (i / 2) * c.pitch + (i % 2) * c.texelBytes);
        const std::vector<float> map = DS_MatrixCodeLight::TexelLuminance(bits.data(), c.pitch, c.format, 2);
        ASSERT_EQ(4u, map.size());
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(expected[i], map[i], 1e-3f) << i;
    }
    const uint8_t anything[8] = {};
    EXPECT_TRUE(DS_MatrixCodeLight::TexelLuminance(anything, 4, D3DFMT_R5G6B5, 2).empty());
}
