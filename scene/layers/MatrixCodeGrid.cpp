#include "scene/layers/MatrixCodeGrid.h"

#include "foundation/core/Random.h"

#include <algorithm>

namespace {

// New streams write rand() % rows + this many glyphs.
const int ShortestStream = 3;
// New streams wait rand() % DelaySpan + rand() % DelaySpan frames, and a
// running stream takes a new wait with a chance of 1 in DelayChance.
const int DelaySpan = 5;
const int DelayChance = 10;
// A relit glyph stays lit for rand() % FlickerSpan frames.
const int FlickerSpan = 20;
// New frozen cells are picked with a chance of 1 in RefreezeChance a frame.
const int RefreezeChance = 500;
// More picks than this many per cell freeze nearly every cell already; the
// limit keeps a huge frozen count from stalling a frame.
const uint64_t MostFrozenPicksPerCell = 4;

} // namespace

void MatrixCodeGrid::SetGlyph(uint32_t& cell, int glyph)
{
    cell = (cell & ~GlyphBits) | (static_cast<uint32_t>(glyph) & GlyphBits);
}

void MatrixCodeGrid::SetCounter(uint32_t& cell, int counter)
{
    cell = (cell & ~CounterBits) | ((static_cast<uint32_t>(counter) & 0xFFu) << CounterShift);
}

std::unique_ptr<MatrixCodeGrid> MatrixCodeGrid::Create(const MatrixCodeParams& params, int pictureWidth,
                                                       int pictureHeight)
{
    auto grid = std::make_unique<MatrixCodeGrid>();
    const uint32_t cell = std::max(params.cellSize, 1u);
    grid->pictureWidth = pictureWidth;
    grid->pictureHeight = pictureHeight;
    grid->streamMode = params.streamMode;
    grid->density = params.density;
    grid->frozenCount = params.frozenCount;
    grid->flicker = params.flicker != 0;
    grid->columns = static_cast<int>(static_cast<uint32_t>(std::max(pictureWidth, 0)) / cell + 1);
    grid->rows = static_cast<int>(static_cast<uint32_t>(std::max(pictureHeight, 0)) / cell + 1);
    grid->cellWidth = static_cast<int>(cell);
    grid->cellHeight = static_cast<int>(cell);
    grid->cells.assign(static_cast<std::size_t>(grid->columns) * grid->rows, 0u);
    grid->streams.assign(static_cast<std::size_t>(grid->columns), MatrixCodeStream{});
    grid->mayWrite = params.streamMode != 0;
    grid->mayScroll = params.streamMode != 1;
    grid->glyphCount = static_cast<int>(std::max(params.glyphCount, 1u));
    grid->PickFrozenCells();
    return grid;
}

void MatrixCodeGrid::PickFrozenCells()
{
    for (uint32_t& cell : cells)
        cell &= ~FrozenBit;
    // A frozen count of 0 picks nothing (not 2^32 - 1 cells).
    const uint64_t picks = frozenCount > 0 ? frozenCount - 1u : 0u;
    const uint64_t limit = MostFrozenPicksPerCell * cells.size();
    for (uint64_t k = 0; k < std::min(picks, limit); ++k) {
        const int column = Rand() % columns;
        const int row = Rand() % rows;
        Cell(column, row) |= FrozenBit;
    }
}

void MatrixCodeGrid::SetCell(int row, int glyph, int column)
{
    if (row >= rows)
        return;
    const bool scrolled = row < 0;
    if (scrolled) {
        for (int r = rows - 1; r >= 1; --r) {
            uint32_t& cell = Cell(column, r);
            const uint32_t above = Cell(column, r - 1);
            if (GlyphOf(cell) != 0 && GlyphOf(above) == 0) {
                // The column's tail passes: the glyph starts fading.
                SetCounter(cell, -1);
            } else {
                SetGlyph(cell, GlyphOf(above));
                SetCounter(cell, CounterOf(above));
            }
            cell |= DirtyBit;
        }
        row = 0;
    }
    uint32_t& target = Cell(column, row);
    SetGlyph(target, glyph);
    target |= DirtyBit;
    if (glyph != 0)
        SetCounter(target, scrolled ? 0 : 1 + (Rand() & 1));
}

void MatrixCodeGrid::Step(bool suppress)
{
    for (int column = 0; column < columns; ++column) {
        MatrixCodeStream& stream = streams[static_cast<std::size_t>(column)];
        if (stream.delay > 0) {
            --stream.delay;
        } else {
            if (stream.remaining <= 0) {
                SetCell(stream.head, 0, column);
            } else {
                SetCell(stream.head, suppress ? 0 : Rand() % glyphCount + 1, column);
                --stream.remaining;
            }
            if (stream.head >= 0)
                ++stream.head;
        }
        if (Rand() % DelayChance == 0) {
            const int first = Rand() % DelaySpan;
            stream.delay = first + Rand() % DelaySpan;
        }
    }
}

void MatrixCodeGrid::Spawn()
{
    // A grid less than two cells wide or high has no half to draw from: no
    // flicker then, and heads start at the top row.
    const int halfColumns = columns / 2;
    const int halfRows = rows / 2;
    if (flicker && halfColumns > 0) {
        const int n = (Rand() % (halfColumns * 10)) / 10 - 1;
        for (int k = 0; k < n; ++k) {
            const int column = Rand() % columns;
            const int row = Rand() % rows;
            uint32_t& cell = Cell(column, row);
            if (GlyphOf(cell) != 0 && CounterOf(cell) == 0) {
                SetCounter(cell, Rand() % FlickerSpan);
                cell |= DirtyBit;
            }
        }
    }

    const int rarity = MatrixCodeSpawnRarity(density);
    for (MatrixCodeStream& stream : streams) {
        // A running stream is never replaced.
        if (stream.remaining > 0)
            continue;
        if (Rand() % rarity != 0)
            continue;
        stream.remaining = Rand() % rows + ShortestStream;
        const int first = Rand() % DelaySpan;
        stream.delay = first + Rand() % DelaySpan;
        // Three streams in four erase.
        if ((Rand() & 3) != 0)
            stream.remaining = 0;
        const bool writes = mayWrite && mayScroll ? (Rand() & 1) != 0 : mayWrite;
        if (writes)
            stream.head = halfRows > 0 ? Rand() % halfRows : 0;
        else
            stream.head = -1;
    }

    if (Rand() % RefreezeChance == 0)
        PickFrozenCells();
}

bool MatrixCodeGrid::NextGlyph(MatrixCodeIterator& iterator, float left, float top, float hw, float hh,
                               MatrixCodeGlyph& glyph)
{
    MatrixCodeGrid* grid = iterator.grid.get();
    while (grid && iterator.row < grid->rows && iterator.column < grid->columns) {
        const int column = iterator.column;
        const int row = iterator.row;
        if (++iterator.column >= grid->columns) {
            iterator.column = 0;
            ++iterator.row;
        }

        uint32_t& cell = grid->Cell(column, row);
        const int shown = GlyphOf(cell);
        const int counter = CounterOf(cell);
        if (shown != 0) {
            ++iterator.count;
            const float count = static_cast<float>(grid->glyphCount);
            glyph.x = left + hw + 2.0f * hw * static_cast<float>(column);
            glyph.y = top + hh + 2.0f * hh * static_cast<float>(row);
            glyph.z = 0.0f;
            glyph.ua = 0.0f;
            glyph.ub = 1.0f;
            glyph.va = static_cast<float>(shown - 1) / count;
            glyph.vb = static_cast<float>(shown) / count;
            glyph.colourMask = 0xFFFFFFFF;
            if (counter > 0 || (cell & FrozenBit))
                glyph.kind = MatrixCodeGlyph::Lit;
            else
                glyph.kind = counter == 0 ? MatrixCodeGlyph::Settled : MatrixCodeGlyph::Fading;
            glyph.column = column;
            glyph.row = row;
        }

        if (cell & DirtyBit) {
            cell &= ~DirtyBit;
            if (counter > 0) {
                SetCounter(cell, counter - 1);
                cell |= DirtyBit;
            } else if (counter < 0) {
                SetCounter(cell, counter + 1);
                if (counter == -1)
                    SetGlyph(cell, 0);
                cell |= DirtyBit;
            }
            if ((cell & FrozenBit) && GlyphOf(cell) != 0) {
                SetGlyph(cell, Rand() % grid->glyphCount);
                cell |= DirtyBit;
            }
        }

        if (shown != 0)
            return true;
    }
    glyph.colourMask = 0x00FFFFFF;
    return false;
}

int MatrixCodeSpawnRarity(uint32_t density)
{
    const struct {
        uint32_t below;
        int rarity;
    } steps[] = {
        {10, 85}, {15, 60}, {20, 45}, {25, 25}, {30, 20}, {35, 15},
        {45, 10}, {50, 8},  {55, 7},  {65, 5},  {80, 3},  {90, 2},
    };
    for (const auto& step : steps)
        if (density < step.below)
            return step.rarity;
    return 1;
}
