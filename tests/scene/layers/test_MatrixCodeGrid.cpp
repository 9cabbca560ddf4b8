// The glyph-rain engine: grid sizes, streams, scrolling, the walk over the
// cells and the spawn rules, checked against the exact draws of the
// program's generator from a known state.
#include "scene/layers/MatrixCodeGrid.h"

#include "foundation/core/Random.h"
#include "foundation/core/RandomForTesting.h"
#include "tests/support/ReferenceRandom.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const int Glyphs = 34;

// A grid of the given size in cells (cell size 16), nothing frozen.
std::unique_ptr<MatrixCodeGrid> GridOf(int columns, int rows, int streamMode = 1, uint32_t density = 20)
{
    MatrixCodeParams params;
    params.cellSize = 16;
    params.frozenCount = 0;
    params.glyphCount = Glyphs;
    params.streamMode = streamMode;
    params.density = density;
    return MatrixCodeGrid::Create(params, (columns - 1) * 16, (rows - 1) * 16);
}

uint32_t CellWord(int glyph, int counter, bool dirty, bool frozen = false)
{
    uint32_t cell = 0;
    MatrixCodeGrid::SetGlyph(cell, glyph);
    MatrixCodeGrid::SetCounter(cell, counter);
    if (dirty)
        cell |= MatrixCodeGrid::DirtyBit;
    if (frozen)
        cell |= MatrixCodeGrid::FrozenBit;
    return cell;
}

// The kinds of one cell's glyph over successive walks (-1: not shown).
std::vector<int> KindsOverFrames(MatrixCodeIterator& it, int frames)
{
    std::vector<int> kinds;
    for (int f = 0; f < frames; ++f) {
        it.column = 0;
        it.row = 0;
        MatrixCodeGlyph glyph;
        kinds.push_back(MatrixCodeGrid::NextGlyph(it, 0, 0, 8, 8, glyph) ? glyph.kind : -1);
    }
    return kinds;
}

} // namespace

TEST(MatrixCodeGrid, GridSizeFollowsThePictureAndCell)
{
    const struct {
        uint32_t cell;
        int width, height;
        int columns, rows;
    } cases[] = {
        {16, 800, 600, 51, 38},
        {0, 3, 2, 4, 3}, // a cell of 0 counts as 1
        {16, 0, 0, 1, 1},
        {16, 15, 31, 1, 2},
    };
    for (const auto& c : cases) {
        MatrixCodeParams params;
        params.cellSize = c.cell;
        params.frozenCount = 0;
        const auto grid = MatrixCodeGrid::Create(params, c.width, c.height);
        EXPECT_EQ(c.columns, grid->columns) << c.width;
        EXPECT_EQ(c.rows, grid->rows) << c.height;
        EXPECT_EQ(static_cast<std::size_t>(c.columns * c.rows), grid->cells.size());
        EXPECT_EQ(static_cast<std::size_t>(c.columns), grid->streams.size());
    }
}

TEST(MatrixCodeGrid, StreamModeDecidesWhetherHeadsWriteOrColumnsScroll)
{
    const struct {
        int mode;
        bool mayWrite, mayScroll;
    } cases[] = {{0, false, true}, {1, true, false}, {2, true, true}, {7, true, true}};
    for (const auto& c : cases) {
        const auto grid = GridOf(2, 2, c.mode);
        EXPECT_EQ(c.mayWrite, grid->mayWrite) << c.mode;
        EXPECT_EQ(c.mayScroll, grid->mayScroll) << c.mode;
    }
}

// (frozen count - 1) picks, each a column then a row; 0 and 1 pick nothing
// and draw nothing.
TEST(MatrixCodeGrid, FrozenCellsArePickedByColumnThenRow)
{
    ResetRandForTesting(11);
    ReferenceRandom d(11);
    MatrixCodeParams params;
    params.frozenCount = 4;
    const auto grid = MatrixCodeGrid::Create(params, 5 * 16, 3 * 16); // 6 × 4 cells
    std::vector<uint32_t> expected(grid->cells.size(), 0u);
    for (int k = 0; k < 3; ++k) {
        const int column = d.Next() % 6;
        const int row = d.Next() % 4;
        expected[static_cast<std::size_t>(row) * 6 + column] = MatrixCodeGrid::FrozenBit;
    }
    EXPECT_EQ(expected, grid->cells);

    for (uint32_t frozen : {0u, 1u}) {
        ResetRandForTesting(11);
        params.frozenCount = frozen;
        const auto none = MatrixCodeGrid::Create(params, 5 * 16, 3 * 16);
        EXPECT_EQ(std::vector<uint32_t>(none->cells.size(), 0u), none->cells) << frozen;
        EXPECT_EQ(ReferenceRandom(11).Next(), Rand()) << "no draw for frozen count " << frozen;
    }
}

// A writing stream puts a lit glyph at its head and moves down a row each
// step; once its glyphs are spent it erases. Every column draws once more
// per step for a new wait (none in this sequence).
TEST(MatrixCodeGrid, FallingHeadWritesLitGlyphsThenErases)
{
    const auto grid = GridOf(1, 6);
    grid->streams[0] = {2, 0, 0};
    ResetRandForTesting(3);
    ReferenceRandom d(3);

    int glyph[2];
    int counter[2];
    for (int frame = 0; frame < 2; ++frame) {
        glyph[frame] = d.Next() % Glyphs + 1;
        counter[frame] = 1 + (d.Next() & 1);
        ASSERT_NE(0, d.Next() % 10) << "this sequence keeps the stream running";
        grid->Step(false);
    }
    EXPECT_EQ(CellWord(glyph[0], counter[0], true), grid->Cell(0, 0));
    EXPECT_EQ(CellWord(glyph[1], counter[1], true), grid->Cell(0, 1));
    EXPECT_EQ(0, grid->streams[0].remaining);
    EXPECT_EQ(2, grid->streams[0].head);
    EXPECT_EQ(0, grid->streams[0].delay);

    // Spent: the head now writes empty cells.
    grid->Cell(0, 2) = CellWord(9, 0, false);
    grid->Step(false);
    EXPECT_EQ(CellWord(0, 0, true), grid->Cell(0, 2));
    EXPECT_EQ(3, grid->streams[0].head);
}

// With every quad taken, a step writes empty cells and draws no glyph.
TEST(MatrixCodeGrid, SuppressedStepWritesEmptyCells)
{
    const auto grid = GridOf(1, 4);
    grid->streams[0] = {3, 0, 1};
    ResetRandForTesting(3);
    ReferenceRandom d(3);
    ASSERT_NE(0, d.Next() % 10) << "this sequence draws no new wait";
    grid->Step(true);
    EXPECT_EQ(CellWord(0, 0, true), grid->Cell(0, 1));
    EXPECT_EQ(2, grid->streams[0].remaining);
    EXPECT_EQ(d.Next(), Rand()) << "no glyph is drawn";
}

TEST(MatrixCodeGrid, WaitingStreamOnlyCountsDown)
{
    const auto grid = GridOf(1, 4);
    grid->streams[0] = {3, 2, 0};
    ResetRandForTesting(3);
    grid->Step(false);
    EXPECT_EQ(CellWord(0, 0, false), grid->Cell(0, 0));
    EXPECT_EQ(3, grid->streams[0].remaining);
    EXPECT_EQ(1, grid->streams[0].delay);
}

// Scrolling moves the column down a row; a glyph whose cell above is empty
// is the tail and starts fading instead; the new top glyph enters settled.
TEST(MatrixCodeGrid, ScrollMovesTheColumnDownAndFadesItsTail)
{
    const auto grid = GridOf(1, 5, 0);
    const uint32_t before[5] = {CellWord(5, 0, false), 0, CellWord(7, 2, false), CellWord(9, 0, false), 0};
    for (int r = 0; r < 5; ++r)
        grid->Cell(0, r) = before[r];
    ResetRandForTesting(5);
    grid->SetCell(-1, 3, 0);
    const uint32_t after[5] = {CellWord(3, 0, true), CellWord(5, 0, true), CellWord(7, -1, true),
                               CellWord(7, 2, true), CellWord(9, 0, true)};
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(after[r], grid->Cell(0, r)) << "row " << r;
    EXPECT_EQ(ReferenceRandom(5).Next(), Rand()) << "a scrolled-in glyph draws nothing";

    // Rows below the grid are left alone.
    grid->SetCell(5, 1, 0);
    EXPECT_EQ(after[4], grid->Cell(0, 4));
}

// The walk hands out the glyph cells row by row with their centres and strip
// slots, counts them, and at the end clears the mask's alpha.
TEST(MatrixCodeGrid, WalkHandsOutGlyphCellsInRowOrder)
{
    MatrixCodeIterator it;
    it.grid = GridOf(3, 2);
    it.grid->Cell(2, 0) = CellWord(1, 0, false);
    it.grid->Cell(1, 1) = CellWord(34, 0, false);

    MatrixCodeGlyph glyph;
    ASSERT_TRUE(MatrixCodeGrid::NextGlyph(it, 10.0f, 20.0f, 4.0f, 3.0f, glyph));
    EXPECT_FLOAT_EQ(10.0f + 4.0f + 2.0f * 4.0f * 2.0f, glyph.x);
    EXPECT_FLOAT_EQ(20.0f + 3.0f, glyph.y);
    EXPECT_FLOAT_EQ(0.0f, glyph.va);
    EXPECT_FLOAT_EQ(1.0f / 34.0f, glyph.vb);
    EXPECT_EQ(0xFFFFFFFFu, glyph.colourMask);
    EXPECT_EQ(2, glyph.column);

    ASSERT_TRUE(MatrixCodeGrid::NextGlyph(it, 10.0f, 20.0f, 4.0f, 3.0f, glyph));
    EXPECT_FLOAT_EQ(10.0f + 4.0f + 8.0f, glyph.x);
    EXPECT_FLOAT_EQ(20.0f + 3.0f + 6.0f, glyph.y);
    EXPECT_FLOAT_EQ(33.0f / 34.0f, glyph.va);
    EXPECT_FLOAT_EQ(1.0f, glyph.vb);

    EXPECT_FALSE(MatrixCodeGrid::NextGlyph(it, 10.0f, 20.0f, 4.0f, 3.0f, glyph));
    EXPECT_EQ(0x00FFFFFFu, glyph.colourMask);
    EXPECT_EQ(2, it.count);
}

// A lit glyph (counter 2) shows as a head for two frames, then settles; a
// fading one (counter -1) shows once and is erased; a frozen one shows as a
// head with a new random glyph every frame.
TEST(MatrixCodeGrid, CountersLightFadeAndFreezeGlyphs)
{
    MatrixCodeIterator it;
    it.grid = GridOf(1, 1);
    MatrixCodeGrid& grid = *it.grid;

    grid.Cell(0, 0) = CellWord(4, 2, true);
    EXPECT_EQ((std::vector<int>{2, 2, 1, 1}), KindsOverFrames(it, 4));
    EXPECT_EQ(CellWord(4, 0, false), grid.Cell(0, 0));

    grid.Cell(0, 0) = CellWord(4, -1, true);
    EXPECT_EQ((std::vector<int>{0, -1}), KindsOverFrames(it, 2));

    grid.Cell(0, 0) = CellWord(4, 0, true, true);
    ResetRandForTesting(21);
    ReferenceRandom d(21);
    const int changed = d.Next() % Glyphs;
    EXPECT_EQ((std::vector<int>{2}), KindsOverFrames(it, 1));
    EXPECT_EQ(CellWord(changed, 0, true, true), grid.Cell(0, 0));
}

// An idle column starts a stream in this order of draws: the spawn chance,
// its length, its wait, whether it erases, whether it writes, its head.
TEST(MatrixCodeGrid, SpawnStartsStreamsInIdleColumnsInDrawOrder)
{
    const auto grid = GridOf(1, 10, 2, 100);
    ResetRandForTesting(7);
    ReferenceRandom d(7);
    d.Next(); // the spawn chance: 1 in 1 at density 100
    int remaining = d.Next() % 10 + 3;
    const int first = d.Next() % 5;
    const int delay = first + d.Next() % 5;
    if ((d.Next() & 3) != 0)
        remaining = 0;
    const bool writes = (d.Next() & 1) != 0;
    const int head = writes ? d.Next() % 5 : -1;
    grid->Spawn();
    EXPECT_EQ(remaining, grid->streams[0].remaining);
    EXPECT_EQ(delay, grid->streams[0].delay);
    EXPECT_EQ(head, grid->streams[0].head);
    d.Next(); // the refreeze chance
    EXPECT_EQ(d.Next(), Rand());

    // A running stream is never replaced.
    const auto running = GridOf(1, 10, 2, 100);
    running->streams[0] = {4, 1, 6};
    running->Spawn();
    EXPECT_EQ(4, running->streams[0].remaining);
    EXPECT_EQ(6, running->streams[0].head);
}

// Stream mode 0 always scrolls; mode 1 always writes from the top half.
TEST(MatrixCodeGrid, NewHeadsFollowTheStreamMode)
{
    ResetRandForTesting(1);
    for (int mode : {0, 1}) {
        const auto grid = GridOf(40, 12, mode, 100);
        grid->Spawn();
        for (const MatrixCodeStream& s : grid->streams) {
            if (mode == 0)
                EXPECT_EQ(-1, s.head);
            else
                EXPECT_TRUE(s.head >= 0 && s.head < 6) << s.head;
        }
    }
}

// A grid less than two cells wide or high has no half to draw from: no
// flicker, heads at the top row, and no division by zero.
TEST(MatrixCodeGrid, TinyGridsSpawnWithoutFlickerAndWithTopHeads)
{
    MatrixCodeParams params;
    params.frozenCount = 0;
    params.flicker = 1;
    params.streamMode = 1;
    params.density = 100;
    params.glyphCount = Glyphs;
    const auto grid = MatrixCodeGrid::Create(params, 0, 0);
    ASSERT_EQ(1, grid->columns);
    ASSERT_EQ(1, grid->rows);
    grid->Cell(0, 0) = CellWord(3, 0, false);
    ResetRandForTesting(9);
    ReferenceRandom d(9);
    for (int k = 0; k < 4; ++k) // chance, length, two for the wait
        d.Next();
    d.Next(); // eraser or not
    d.Next(); // refreeze
    grid->Spawn();
    EXPECT_EQ(0, grid->streams[0].head);
    EXPECT_EQ(d.Next(), Rand());

    // The stream waits out its delay, writes the one cell (a glyph, or
    // nothing for an eraser) and leaves the grid; later steps write nowhere.
    const MatrixCodeStream spawned = grid->streams[0];
    int frames = 0;
    while (grid->streams[0].head == 0 && frames < 200) {
        grid->Step(false);
        ++frames;
    }
    ASSERT_EQ(1, grid->streams[0].head);
    EXPECT_GT(frames, spawned.delay);
    // The cell started clean: only the stream's write marks it for redrawing.
    EXPECT_NE(0u, grid->Cell(0, 0) & MatrixCodeGrid::DirtyBit);
    const int written = MatrixCodeGrid::GlyphOf(grid->Cell(0, 0));
    if (spawned.remaining > 0)
        EXPECT_TRUE(written >= 1 && written <= Glyphs) << written;
    else
        EXPECT_EQ(0, written);
    for (int k = 0; k < 10; ++k)
        grid->Step(false);
    EXPECT_EQ(written, MatrixCodeGrid::GlyphOf(grid->Cell(0, 0)));
    EXPECT_GE(grid->streams[0].head, 1);
}

TEST(MatrixCodeGrid, SpawnRarityFollowsTheDensity)
{
    const struct {
        uint32_t density;
        int rarity;
    } cases[] = {{0, 85}, {1, 85}, {9, 85}, {10, 60}, {14, 60}, {19, 45}, {20, 25}, {29, 20}, {34, 15},
                 {44, 10}, {49, 8}, {54, 7}, {64, 5}, {65, 3}, {79, 3}, {89, 2}, {90, 1}, {100, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(c.rarity, MatrixCodeSpawnRarity(c.density)) << c.density;
}
