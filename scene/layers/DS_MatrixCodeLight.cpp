#include "scene/layers/DS_MatrixCodeLight.h"

#include "foundation/archive/DS_IOF_Virtual.h"
#include "foundation/archive/ObjectHeader.h"
#include "foundation/core/CurrentDevice.h"
#include "foundation/core/Numeric.h"
#include "foundation/render/PictureMapping.h"
#include "foundation/render/QuadColours.h"
#include "foundation/render/SceneView.h"
#include "foundation/render/StageStates.h"
#include "foundation/render/TextureFormats.h"
#include "foundation/resources/TextureCopies.h"
#include "foundation/resources/DS_DocResManager.h"
#include "foundation/resources/FirstLinkTexture.h"

#include <algorithm>
#include <cstring>

namespace {

const wchar_t* const RecordName = L"DS_MatrixCodeLight";
const int32_t WrittenVersion = 2;
const int32_t FirstVersionWithGlyphImage = 2;

const wchar_t* const GlyphModule = L"common_res.dll";
const int32_t GlyphResource = 40;

const float BrightnessScale = -0.01f;
const float BrightnessOffset = 1.0f;
const uint32_t LeastDensity = 1;
const uint32_t MostDensity = 100;

// A COLORREF's red, green and blue (0x00BBGGRR) under the given alpha.
D3DCOLOR ColourOf(unsigned long colorref, uint8_t alpha)
{
    const D3DCOLOR red = colorref & 0xFFu;
    const D3DCOLOR green = (colorref >> 8) & 0xFFu;
    const D3DCOLOR blue = (colorref >> 16) & 0xFFu;
    return (static_cast<D3DCOLOR>(alpha) << 24) | (red << 16) | (green << 8) | blue;
}

float LuminanceOf(const uint8_t* bgr)
{
    return 0.299f * bgr[2] / 255.0f + 0.587f * bgr[1] / 255.0f + 0.114f * bgr[0] / 255.0f;
}

// The luminance of a square copy of the picture, row by row. The copy is
// asked for in 24-bit RGB, or in 32-bit where the device lacks that format;
// either way its texels are read in the format and pitch it came in.
std::vector<float> PictureLuminance(IDirect3DTexture9* picture, int side)
{
    const D3DFORMAT format = SupportsTextureFormat(D3DFMT_R8G8B8) ? D3DFMT_R8G8B8 : D3DFMT_X8R8G8B8;
    ComHolder<IDirect3DTexture9> copy = ResampleTexture(side, side, picture, format);
    D3DSURFACE_DESC desc{};
    if (!copy || FAILED(copy->GetLevelDesc(0, &desc)))
        return {};
    if (desc.Width < static_cast<UINT>(side) || desc.Height < static_cast<UINT>(side))
        return {};
    D3DLOCKED_RECT locked{};
    if (FAILED(copy->LockRect(0, &locked, nullptr, D3DLOCK_READONLY)) || !locked.pBits)
        return {};
    std::vector<float> map =
        DS_MatrixCodeLight::TexelLuminance(static_cast<const uint8_t*>(locked.pBits), locked.Pitch, desc.Format, side);
    copy->UnlockRect(0);
    return map;
}

// Everything the glyph draw depends on; anything drawn before may have left
// any of it behind.
void SetGlyphStates(IDirect3DDevice9* device)
{
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);

    // Clamped, so that the first and last glyph slots do not take texels
    // from the strip's other end.
    SetAddressing(device, 0, D3DTADDRESS_CLAMP);
    SetLinearFilters(device, 0, D3DTEXF_NONE);

    UntransformedTexCoords(device, 0, 0);
    ModulateTextureByDiffuseOnStage0(device);
    DisableStage(device, 1);
}

// The addressing every layer starts a frame with.
void RestoreAddressing(IDirect3DDevice9* device)
{
    SetAddressing(device, 0, D3DTADDRESS_MIRROR);
}

} // namespace

DS_MatrixCodeLight::DS_MatrixCodeLight()
{
    brightness.scale = BrightnessScale;
    brightness.offset = BrightnessOffset;
    brightness.Recompute();
    glyphImage.value.path = GlyphModule;
    glyphImage.value.stamp = GlyphResource;
}

DS_MatrixCodeLight::~DS_MatrixCodeLight() = default;

void DS_MatrixCodeLight::Read(ArchiveHandle& archive, int32_t version)
{
    archive->ReadUInt(cellSize.value);
    archive->ReadUInt(density.value);
    archive->ReadUInt(frozenCount.value);
    archive->ReadInt(flickerSwitch.value);
    archive->ReadInt(backgroundMode.value);
    archive->ReadInt(streamMode.value);
    int32_t colour = 0;
    archive->ReadInt(colour);
    trailColour.value = static_cast<uint32_t>(colour);
    archive->ReadInt(colour);
    headColour.value = static_cast<uint32_t>(colour);
    uint32_t brightnessValue = 0;
    archive->ReadUInt(brightnessValue);
    brightness.SetValue(brightnessValue, nullptr);
    if (version >= FirstVersionWithGlyphImage)
        ReadFileLink(archive, glyphImage);
    ReadLightBase(archive, *this);
}

void DS_MatrixCodeLight::Write(ArchiveHandle& archive)
{
    WriteObjectHeader(archive, RecordName, WrittenVersion);
    archive->WriteUInt(cellSize.value);
    archive->WriteUInt(density.value);
    archive->WriteUInt(frozenCount.value);
    archive->WriteInt(flickerSwitch.value);
    archive->WriteInt(backgroundMode.value);
    archive->WriteInt(streamMode.value);
    int32_t colour = static_cast<int32_t>(trailColour.value);
    archive->WriteInt(colour);
    colour = static_cast<int32_t>(headColour.value);
    archive->WriteInt(colour);
    archive->WriteUInt(brightness.value);
    if (CurrentResManager)
        CurrentResManager->StoreImageLink(glyphImage);
    WriteFileLink(glyphImage, archive);
    DS_2D_Light::Write(archive);
}

std::vector<float> DS_MatrixCodeLight::TexelLuminance(const uint8_t* bits, int pitch, D3DFORMAT format, int side)
{
    int texelBytes = 0;
    if (format == D3DFMT_R8G8B8)
        texelBytes = 3;
    else if (format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8)
        texelBytes = 4;
    if (texelBytes == 0 || !bits || side <= 0)
        return {};
    std::vector<float> map(static_cast<std::size_t>(side) * side);
    for (int y = 0; y < side; ++y) {
        const uint8_t* row = bits + static_cast<std::ptrdiff_t>(y) * pitch;
        for (int x = 0; x < side; ++x)
            map[static_cast<std::size_t>(y) * side + x] = LuminanceOf(row + x * texelBytes);
    }
    return map;
}

uint32_t DS_MatrixCodeLight::GlyphCountOf(uint32_t width, uint32_t height)
{
    const uint32_t slots = width == 0 ? 0 : height / width;
    return std::min(slots, MostGlyphs - 2) + 2;
}

uint32_t DS_MatrixCodeLight::GridCellSize(uint32_t size, int pictureWidth, int pictureHeight)
{
    const uint64_t w = static_cast<uint64_t>(std::max(pictureWidth, 0));
    const uint64_t h = static_cast<uint64_t>(std::max(pictureHeight, 0));
    uint64_t cell = std::max<uint64_t>(size, 1);
    while ((w / cell + 1) * (h / cell + 1) > MostGlyphCells)
        ++cell;
    return static_cast<uint32_t>(cell);
}

void DS_MatrixCodeLight::OnDeviceCreated()
{
    DS_2D_Light::OnDeviceCreated();
    SetSize(1, 1);

    {
        const SizedTexture glyphs = GetFirstLinkTexture(glyphImage);
        gridParams.glyphCount = GlyphCountOf(glyphs.width, glyphs.height);
        quads.SetTexture(glyphs.texture.Get());
    }

    // The grid is rebuilt after each parameter takes its place. Every
    // rebuild draws its frozen cells, so this order is part of the sequence
    // of random draws.
    gridParams.cellSize = std::max(cellSize.value, 1u);
    RebuildGrid();
    ResizeQuads();
    gridParams.density = std::clamp(density.value, LeastDensity, MostDensity);
    RebuildGrid();
    gridParams.frozenCount = frozenCount.value;
    RebuildGrid();
    gridParams.flicker = flickerSwitch.value;
    RebuildGrid();
    gridParams.streamMode = streamMode.value;
    RebuildGrid();
    ResizeQuads();
    RebuildLuminance();
}

void DS_MatrixCodeLight::OnDeviceRestored()
{
    DS_2D_Light::OnDeviceRestored();
    if (!CurrentDevice)
        return;
    SetStageOperations(CurrentDevice, 0, D3DTOP_MODULATE, D3DTOP_MODULATE);
}

void DS_MatrixCodeLight::FrameMove(float t) { time = t; }

void DS_MatrixCodeLight::SetPicturePosition(int mode)
{
    pictureMode = mode;
    if (GlobalSceneView)
        GlobalSceneView->Setup(layerWidth, layerHeight, pictureQuad.image, mode, false);
    DS_2D_Light::SetSize(layerWidth, layerHeight);
    RebuildGrid();
    ResizeQuads();
}

void DS_MatrixCodeLight::OnPictureChanged()
{
    pictureQuad.LoadLinkImage(pictureLink);
    SetSize(layerWidth, layerHeight);
    RebuildLuminance();
    RebuildGrid();
    ResizeQuads();
}

void DS_MatrixCodeLight::RebuildGrid()
{
    const PictureMapping& mapping = CurrentPictureMapping;
    MatrixCodeParams params = gridParams;
    params.cellSize = GridCellSize(gridParams.cellSize, mapping.pictureWidth, mapping.pictureHeight);
    iterator.reset();
    iterator = std::make_unique<MatrixCodeIterator>();
    iterator->grid = MatrixCodeGrid::Create(params, mapping.pictureWidth, mapping.pictureHeight);
}

void DS_MatrixCodeLight::ResizeQuads()
{
    const PictureMapping& mapping = CurrentPictureMapping;
    const uint32_t cell = GridCellSize(gridParams.cellSize, mapping.pictureWidth, mapping.pictureHeight);
    const uint32_t w = static_cast<uint32_t>(std::max(mapping.pictureWidth, 0));
    const uint32_t h = static_cast<uint32_t>(std::max(mapping.pictureHeight, 0));
    quads.SetQuadCount(static_cast<int>((w / cell + 1) * (h / cell + 1)));
}

void DS_MatrixCodeLight::RebuildLuminance()
{
    if (backgroundMode.value == PictureUnder)
        luminance.clear();
    else if (backgroundMode.value == LuminanceOverBlack)
        luminance = PictureLuminance(pictureQuad.image.texture.Get(), LuminanceSide);
}

D3DCOLOR DS_MatrixCodeLight::GlyphColour(const MatrixCodeGlyph& glyph) const
{
    float b = brightness.result;
    if (glyph.kind == MatrixCodeGlyph::Fading)
        b *= 0.5f;
    const MatrixCodeGrid& grid = *iterator->grid;
    if (backgroundMode.value == LuminanceOverBlack && glyph.kind != MatrixCodeGlyph::Lit && !luminance.empty()) {
        const int u = glyph.column * LuminanceSide / grid.columns;
        const int v = glyph.row * LuminanceSide / grid.rows;
        b *= luminance[static_cast<std::size_t>(v) * LuminanceSide + u];
    }
    const unsigned long rgb = glyph.kind == MatrixCodeGlyph::Lit ? headColour.value : trailColour.value;
    return ColourOf(rgb, AlphaByte(b * 255.0f)) & glyph.colourMask;
}

void DS_MatrixCodeLight::DrawBackground(bool)
{
    camera.FrameMove(time);
    if (!iterator || !iterator->grid)
        return;
    MatrixCodeGrid& grid = *iterator->grid;

    // Half a cell in back-buffer pixels.
    const PictureMapping& mapping = CurrentPictureMapping;
    const ScreenQuad& fitted = mapping.fittedPicture;
    const float left = fitted.Left();
    const float top = fitted.Top();
    const float sxh = QuotientOr(0.5f * (fitted.Right() - left), static_cast<float>(mapping.pictureWidth), 0.0f);
    const float syh = QuotientOr(0.5f * (fitted.Bottom() - top), static_cast<float>(mapping.pictureHeight), 0.0f);
    const float hw = sxh * static_cast<float>(grid.cellWidth);
    const float hh = syh * static_cast<float>(grid.cellHeight);

    iterator->column = 0;
    iterator->row = 0;
    iterator->previousCount = iterator->count;
    iterator->count = 0;
    // When every quad was taken last frame, new glyphs would find none.
    grid.Step(iterator->previousCount >= quads.QuadCount());
    grid.Spawn();

    // The glyphs follow the camera's pan and zoom like the picture.
    float sx = 1.0f;
    float sy = 1.0f;
    float gx = 0.0f;
    float gy = 0.0f;
    if (GlobalSceneView && GlobalSceneView->mode != SceneView::Capture) {
        const D3DXMATRIX p = GlobalSceneView->camera * GlobalSceneView->fillOffset * GlobalSceneView->fillScale;
        sx = p._11;
        sy = p._22;
        gx = GlobalSceneView->GetViewOffsetX();
        gy = GlobalSceneView->GetViewOffsetY();
    } else if (GlobalSceneView) {
        sx = 1.0f / GlobalSceneView->inverseFillX;
        sy = 1.0f / GlobalSceneView->inverseFillY;
        gx = GlobalSceneView->offsetX;
        gy = GlobalSceneView->offsetY;
    }
    const float offX = 2.0f * sx * gx * sxh;
    const float offY = 2.0f * sy * gy * syh;
    const D3DXVECTOR3 axisU(hw * sx, 0.0f, 0.0f);
    const D3DXVECTOR3 axisV(0.0f, hh * sy, 0.0f);

    quads.Lock();
    MatrixCodeGlyph glyph;
    const int count = quads.QuadCount();
    for (int i = 0; i < count; ++i) {
        MatrixCodeGrid::NextGlyph(*iterator, left, top, hw, hh, glyph);
        const D3DXVECTOR3 centre(left + sx * (glyph.x - left) + offX, top + sy * (glyph.y - top) + offY, glyph.z);
        quads.SetQuadCorners(i, centre, axisU, axisV);
        quads.SetQuadColor(i, GlyphColour(glyph));
        quads.SetQuadTexCoords(glyph.ua, glyph.ub, i / QuadBatch::ChunkQuads, glyph.va, glyph.vb,
                               i % QuadBatch::ChunkQuads);
    }
    quads.Unlock();

    if (backgroundMode.value == PictureUnder)
        DS_2D_Light::DrawBackground(false);
    else if (backgroundMode.value == LuminanceOverBlack && CurrentDevice)
        CurrentDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);

    if (!CurrentDevice)
        return;
    SetGlyphStates(CurrentDevice);
    quads.Draw();
    CurrentDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    RestoreAddressing(CurrentDevice);
}
