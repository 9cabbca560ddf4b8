// The engine of the glyph rain: a grid of cells over the picture, one stream
// per column that writes or erases glyphs, and the walk that turns the cells
// holding a glyph into quads. Plain records and integer rules, driven frame
// by frame by the program's random generator, whose order of draws is part
// of the behaviour.
//
// A cell is one word: bits 0-7 the glyph (0 empty, 1..glyph count), bits
// 8-15 a signed counter (positive: lit, counting down; 0: settled; negative:
// fading, counting up to its erasure), bit 16 dirty (the counter or a frozen
// glyph still changes), bit 17 frozen (the glyph changes at random).
#pragma once

#include <d3d9.h>

#include <cstdint>
#include <memory>
#include <vector>

// What a grid is built from.
struct MatrixCodeParams {
    uint32_t cellSize = 16;
    uint32_t density = 20;
    uint32_t frozenCount = 10;
    int32_t flicker = 0;
    int32_t streamMode = 0;
    uint32_t glyphCount = 1;
};

// One column's stream: the glyphs it still writes (0 or less: it erases),
// the frames it waits, and its head row (-1: the column scrolls and new cells
// enter at the top).
struct MatrixCodeStream {
    int32_t remaining = 0;
    int32_t delay = 0;
    int32_t head = 0;
};

// A cell holding a glyph as the walk hands it out: its centre in back-buffer
// pixels, the glyph's slot of the strip, and how it shows.
struct MatrixCodeGlyph {
    enum Kind { Fading = 0, Settled = 1, Lit = 2 };

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float ua = 0.0f;
    float ub = 1.0f;
    float va = 0.0f;
    float vb = 1.0f;
    // 0xFFFFFFFF for a glyph; without its alpha once the walk has ended.
    D3DCOLOR colourMask = 0xFFFFFFFF;
    int kind = Settled;
    int column = 0;
    int row = 0;
};

class MatrixCodeGrid;

// The grid and where the walk over its cells stands.
struct MatrixCodeIterator {
    std::unique_ptr<MatrixCodeGrid> grid;
    int column = 0;
    int row = 0;
    // Glyph cells the walk met in the previous frame and so far in this one.
    int previousCount = 0;
    int count = 0;
};

class MatrixCodeGrid {
public:
    static constexpr uint32_t GlyphBits = 0xFFu;
    static constexpr int CounterShift = 8;
    static constexpr uint32_t CounterBits = 0xFFu << CounterShift;
    static constexpr uint32_t DirtyBit = 1u << 16;
    static constexpr uint32_t FrozenBit = 1u << 17;

    // A grid of pictureWidth / cell + 1 columns and pictureHeight / cell + 1
    // rows, all cells and streams empty, then its frozen cells picked. A cell
    // size of 0 counts as 1 and a glyph count of 0 as 1.
    static std::unique_ptr<MatrixCodeGrid> Create(const MatrixCodeParams& params, int pictureWidth,
                                                  int pictureHeight);

    // Clears every frozen mark, then marks (frozen count - 1) random cells,
    // column drawn before row.
    void PickFrozenCells();
    // Writes glyph (0 erases) into the column at row; a negative row first
    // scrolls the column down one row and writes the top cell. A new glyph
    // is lit for one or two frames, or settled when it scrolled in.
    void SetCell(int row, int glyph, int column);
    // One frame of every column's stream; suppress writes empty cells in
    // place of new glyphs.
    void Step(bool suppress);
    // Relights random settled glyphs (flicker), starts streams in idle
    // columns, and now and then picks new frozen cells.
    void Spawn();

    // Continues the walk to the next cell holding a glyph and describes it in
    // glyph; every cell passed on the way advances its counter. left, top:
    // the fitted picture's corner; hw, hh: half a cell in back-buffer pixels.
    // False at the end of the grid, with the mask's alpha cleared.
    static bool NextGlyph(MatrixCodeIterator& iterator, float left, float top, float hw, float hh,
                          MatrixCodeGlyph& glyph);

    uint32_t& Cell(int column, int row) { return cells[static_cast<std::size_t>(row) * columns + column]; }
    uint32_t Cell(int column, int row) const { return cells[static_cast<std::size_t>(row) * columns + column]; }
    static int GlyphOf(uint32_t cell) { return static_cast<int>(cell & GlyphBits); }
    static int CounterOf(uint32_t cell) { return static_cast<int8_t>((cell & CounterBits) >> CounterShift); }
    static void SetGlyph(uint32_t& cell, int glyph);
    static void SetCounter(uint32_t& cell, int counter);

    int pictureWidth = 0;
    int pictureHeight = 0;
    int streamMode = 0;
    uint32_t density = 1;
    uint32_t frozenCount = 0;
    bool flicker = false;
    int columns = 1;
    int rows = 1;
    int cellWidth = 1;
    int cellHeight = 1;
    std::vector<uint32_t> cells;
    std::vector<MatrixCodeStream> streams;
    // Streams may write with a falling head (stream mode not 0) or scroll
    // their column (stream mode not 1).
    bool mayWrite = false;
    bool mayScroll = true;
    int glyphCount = 1;
};

// N: an idle column starts a stream with a chance of 1 in N per frame, from
// the density percent (the sparser, the rarer).
int MatrixCodeSpawnRarity(uint32_t density);
