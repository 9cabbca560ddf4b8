// The glyph-rain layer: columns of glyphs rain down over the slide's picture,
// or over black with the picture's brightness showing through the glyphs. A
// grid of cells over the picture (MatrixCodeGrid) decides frame by frame
// which cell shows which glyph and how brightly; every cell has a quad of a
// QuadBatch, and the cells holding a glyph are drawn alpha-blended with
// their slot of the glyph strip. The animation advances one step per drawn
// frame.
#pragma once

#include "foundation/params/MediaParam.h"
#include "foundation/params/UINTSclaleTo.h"
#include "foundation/render/QuadBatch.h"
#include "foundation/resources/DS_ImageFileLink.h"
#include "scene/layerbase/DS_2D_Light.h"
#include "scene/layers/MatrixCodeGrid.h"

#include <cstdint>
#include <memory>
#include <vector>

class DS_MatrixCodeLight : public DS_2D_Light {
public:
    enum BackgroundMode { PictureUnder = 0, LuminanceOverBlack = 1 };

    // Side of the luminance map, in samples.
    static constexpr int LuminanceSide = 256;
    // The most cells a grid may have, about 224 MB of quads: a cell of 1 on
    // a 1920 × 1080 picture fits, and only a runaway grid (a tiny cell on a
    // picture of many thousand pixels a side) is coarsened until it fits.
    static constexpr uint64_t MostGlyphCells = uint64_t{1} << 21;
    // The glyph count is stored in a cell's 8 bits.
    static constexpr uint32_t MostGlyphs = 255;

    DS_MatrixCodeLight();
    ~DS_MatrixCodeLight() override;

    // The record's own fields after its header (the glyph image from version
    // 2), then the "DS_2D_Light" record.
    void Read(ArchiveHandle& archive, int32_t version);
    // "DS_MatrixCodeLight", version 2, then the base record.
    void Write(ArchiveHandle& archive) override;

    // The glyph strip, the grid and the quads, from the parameters.
    void OnDeviceCreated() override;
    // The base's state, with stage 0 modulating colour and alpha.
    void OnDeviceRestored() override;
    // One step of the animation, then the picture, black or nothing under
    // the glyphs, and the glyphs.
    void DrawBackground(bool clear) override;
    // Keeps the time; the camera moves when the frame is drawn.
    void FrameMove(float time) override;
    // A new placement starts a new grid.
    void SetPicturePosition(int mode) override;
    // A new picture: its luminance and a new grid.
    void OnPictureChanged() override;

    // Glyphs in the strip of a w × h picture: h / w + 2 equal slots, at most
    // MostGlyphs; 2 for a picture without a width.
    static uint32_t GlyphCountOf(uint32_t width, uint32_t height);
    // The cell size used for a picture: at least 1, and coarse enough for
    // the grid to stay within MostGlyphCells.
    static uint32_t GridCellSize(uint32_t cellSize, int pictureWidth, int pictureHeight);
    // The luminance of the top-left side × side texels of a locked copy of
    // the picture in 24-bit or 32-bit RGB, row by row, each row pitch bytes
    // after the last; empty in any other format.
    static std::vector<float> TexelLuminance(const uint8_t* bits, int pitch, D3DFORMAT format, int side);

    MediaParamT<unsigned int> cellSize{16u};
    MediaParamT<unsigned int> density{20u};
    MediaParamT<unsigned int> frozenCount{50u};
    MediaParamT<int> flickerSwitch{0};
    MediaParamT<int> backgroundMode{PictureUnder};
    MediaParamT<int> streamMode{2};
    MediaColor trailColour{0};
    MediaColor headColour{0};
    // Alpha factor of every glyph: 1 - 0.01 × value.
    UINTSclaleTo<float> brightness;
    DS_ImageFileLink glyphImage;

    QuadBatch quads;
    std::unique_ptr<MatrixCodeIterator> iterator;
    MatrixCodeParams gridParams;
    // The picture's luminance, LuminanceSide² samples row by row; empty
    // unless the glyphs show over black.
    std::vector<float> luminance;
    float time = 0.0f;

private:
    // A new grid from gridParams and the published picture size.
    void RebuildGrid();
    // One quad per cell of the grid.
    void ResizeQuads();
    void RebuildLuminance();
    // The glyph's colour: brightness, fading and the picture's luminance in
    // the alpha, the head or trail colour in RGB.
    D3DCOLOR GlyphColour(const MatrixCodeGlyph& glyph) const;
};
