#include "richtext/layout_break.h"
#include "richtext/table_layout.h"

#include <gtest/gtest.h>

#include <string>

using namespace richtext;

namespace {

// Every character 10 pixels wide.
int Fixed(std::wstring_view text) {
    return static_cast<int>(text.size()) * 10;
}

std::wstring Piece(std::wstring_view text, const RunBreak& cut) {
    return std::wstring(text.substr(0, cut.pieceLength));
}

} // namespace

TEST(BreakRun, NeverBreaksBeforeOpeningParenthesis) {
    for (int available = 20; available < 50; available += 5) {
        const RunBreak cut = BreakRun(L"a (b)", true, available, Fixed);
        EXPECT_EQ(Piece(L"a (b)", cut), L"a") << available;
        EXPECT_EQ(cut.skipLength, 1u) << "the blank goes";
    }
    EXPECT_EQ(Piece(L"a (b) c", BreakRun(L"a (b) c", true, 60, Fixed)), L"a (b)");
}

TEST(BreakRun, EveryBreakCharacterEndsAPiece) {
    for (wchar_t c : std::wstring(L" -.,!:;)}]?")) {
        std::wstring text = L"ab";
        text += c;
        text += L"cdef";
        const RunBreak cut = BreakRun(text, true, 40, Fixed);
        EXPECT_EQ(cut.pieceLength, c == L' ' ? 2u : 3u) << static_cast<int>(c);
    }
    EXPECT_EQ(BreakRun(L"ab(cdef", true, 40, Fixed).pieceLength, 4u) << "no break: cut in the word";
}

TEST(BreakRun, LongWordIsCutWithAtLeastOneCharacter) {
    EXPECT_EQ(BreakRun(L"abcdefgh", true, 35, Fixed).pieceLength, 3u);
    EXPECT_EQ(BreakRun(L"abcdefgh", true, 5, Fixed).pieceLength, 1u);
    EXPECT_EQ(BreakRun(L"abcdefgh", true, -20, Fixed).pieceLength, 1u);
    // On a line that holds something already, nothing fits.
    const RunBreak none = BreakRun(L"abcdefgh", false, 35, Fixed);
    EXPECT_EQ(none.pieceLength, 0u);
    EXPECT_EQ(none.skipLength, 0u);
    // A break far behind a start wider than the line is not taken: the word is cut.
    std::wstring text(2000, L'x');
    text += L" y";
    EXPECT_EQ(BreakRun(text, true, 100, Fixed).pieceLength, 10u);
    EXPECT_EQ(BreakRun(text, false, 100, Fixed).pieceLength, 0u);
}

TEST(BreakRun, BlanksAroundTheBreakAreDropped) {
    const RunBreak cut = BreakRun(L"ab   cd", true, 45, Fixed);
    EXPECT_EQ(cut.pieceLength, 2u);
    EXPECT_EQ(cut.skipLength, 3u);
    EXPECT_EQ(cut.pieceWidth, 20);
}

TEST(TableGrid, ColspanInFirstRowSpreadsTheSecondRowOverTwoColumns) {
    int columns = 0;
    const auto cells = PlaceCells({{{2, 1}}, {{1, 1}, {1, 1}}}, columns);
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(columns, 2);
    EXPECT_EQ(cells[0].column, 0);
    EXPECT_EQ(cells[0].colspan, 2);
    EXPECT_EQ(cells[1].column, 0);
    EXPECT_EQ(cells[2].column, 1);
}

TEST(TableGrid, RowspanPushesTheNextRowToTheRight) {
    int columns = 0;
    const auto cells = PlaceCells({{{1, 2}, {1, 1}}, {{1, 1}, {1, 1}}}, columns);
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[2].row, 1);
    EXPECT_EQ(cells[2].column, 1);
    EXPECT_EQ(cells[3].column, 2);
    EXPECT_EQ(columns, 3);
}

TEST(TableGrid, SpansStayInsideTheGrid) {
    int columns = 0;
    const auto cells = PlaceCells({{{1, 50}}, {{1, 1}}}, columns);
    EXPECT_EQ(cells[0].rowspan, 2);
    const auto wide = PlaceCells({{{1000000, 1}, {1, 1}}}, columns);
    EXPECT_EQ(wide[0].colspan, kMaxTableColumns);
    EXPECT_EQ(wide[1].column, -1) << "no column is left for the second cell";
    EXPECT_EQ(columns, kMaxTableColumns);
}

TEST(TableGrid, SingleCellsSetMinimumsAndSpansShareTheShortfall) {
    const Tracks tracks = SizeTracks(3, {{0, 3, 100, false}, {0, 1, 20, true}, {1, 1, 10, false}});
    ASSERT_EQ(tracks.sizes.size(), 3u);
    // Span 1 first: 20, 10, 0 (sum 30); the shortfall 70 is shared 23 each, 1 more for the last.
    EXPECT_EQ(tracks.sizes[0], 43);
    EXPECT_EQ(tracks.sizes[1], 33);
    EXPECT_EQ(tracks.sizes[2], 24);
    EXPECT_TRUE(tracks.fixed[0]);
    EXPECT_FALSE(tracks.fixed[1]);
}

TEST(TableGrid, SpanThatFitsAddsNothing) {
    const Tracks tracks = SizeTracks(2, {{0, 1, 50, false}, {1, 1, 50, false}, {0, 2, 80, false}});
    EXPECT_EQ(tracks.sizes[0], 50);
    EXPECT_EQ(tracks.sizes[1], 50);
}

TEST(TableGrid, SurplusGoesToColumnsWithoutWidthOfTheirOwn) {
    Tracks tracks{{10, 10, 10}, {false, true, false}};
    EXPECT_TRUE(ShareSurplus(tracks, 7));
    EXPECT_EQ(tracks.sizes[0], 13);
    EXPECT_EQ(tracks.sizes[1], 10);
    EXPECT_EQ(tracks.sizes[2], 14);
    Tracks fixed{{10}, {true}};
    EXPECT_FALSE(ShareSurplus(fixed, 7));
    EXPECT_EQ(fixed.sizes[0], 10);
}

TEST(TableGrid, ExtentCountsSpacingSeparatorsAndBorder) {
    EXPECT_EQ(TableExtent({10, 20}, 3, 2), 30 + 3 * 3 + 1 + 4);
    const std::vector<int> offsets = TrackOffsets({10, 20, 5}, 3, 2);
    EXPECT_EQ(offsets, (std::vector<int>{5, 19, 43}));
    EXPECT_EQ(SpanExtent({10, 20, 5}, 0, 2, 3), 34);
}
