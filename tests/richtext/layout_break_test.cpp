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

size_t PieceOf(std::wstring_view text, int available, bool lineIsEmpty = true) {
    return BreakRun(text, lineIsEmpty, available, Fixed).pieceLength;
}

} // namespace

TEST(BreakRun, AfterTheLastBreakCharacterThatFitsAndNeverBeforeAnOpeningParenthesis) {
    for (wchar_t c : std::wstring(L" -.,!:;)}]?"))
        EXPECT_EQ(PieceOf(std::wstring(L"ab") + c + L"cdef", 40), c == L' ' ? 2u : 3u) << int{c};
    EXPECT_EQ(PieceOf(L"a (b)", 45), 1u);
    EXPECT_EQ(PieceOf(L"a (b) c", 60), 5u);
    const RunBreak cut = BreakRun(L"ab   cd", true, 45, Fixed);
    EXPECT_EQ(cut.pieceLength, 2u);
    EXPECT_EQ(cut.skipLength, 3u) << "the blanks around the break go";
    EXPECT_EQ(cut.pieceWidth, 20);
}

TEST(BreakRun, AWordLongerThanTheLineIsCutBetweenWholeCharacters) {
    EXPECT_EQ(PieceOf(L"abcdefgh", 35), 3u);
    EXPECT_EQ(PieceOf(L"abcdefgh", -20), 1u) << "one character even when none fits";
    EXPECT_EQ(PieceOf(L"abcdefgh", 35, false), 0u) << "a line with something ends first";
    std::wstring farBreak(2000, L'x');
    EXPECT_EQ(PieceOf(farBreak + L" y", 100), 10u);
    // A surrogate pair is one character: 30 pixels take the first pair, not three halves.
    const std::wstring pairs = L"\U0001F600\U0001F600\U0001F600";
    EXPECT_EQ(PieceOf(pairs, 30), 2u);
    EXPECT_EQ(PieceOf(pairs, 5), 2u);
    EXPECT_EQ(PieceOf(L"a\U0001F600", 15), 1u);
}

// A line of n characters costs O(log n) measurements of about the line, not one per break.
TEST(BreakRun, ALongLineTakesLogarithmicallyManyMeasurements) {
    std::wstring text;
    while (text.size() < 200000)
        text += L"a ";
    for (const int characters : {1000, 20000}) {
        int calls = 0;
        size_t measured = 0;
        const RunBreak cut = BreakRun(text, true, characters * 10, [&](std::wstring_view part) {
            ++calls;
            measured += part.size();
            return Fixed(part);
        });
        EXPECT_EQ(cut.pieceLength, static_cast<size_t>(characters - 1)) << characters;
        EXPECT_LE(calls, 40) << characters;
        EXPECT_LE(measured, 40u * characters) << characters;
    }
}

TEST(TableGrid, SpansStayInsideTheGrid) {
    int columns = 0;
    auto cells = PlaceCells({{{1, 50}}, {{1, 1}}}, columns);
    EXPECT_EQ(cells[0].rowspan, 2);
    cells = PlaceCells({{{1000000, 1}, {1, 1}}}, columns);
    EXPECT_EQ(cells[0].colspan, kMaxTableColumns);
    EXPECT_EQ(cells[1].column, -1) << "no column is left for the second cell";
}

TEST(TableGrid, TracksTakeSingleCellsThenShareSpanningShortfallsAndSurplus) {
    Tracks tracks = SizeTracks(3, {{0, 3, 100, false}, {0, 1, 20, true}, {1, 1, 10, false}});
    // Span 1 first: 20, 10, 0 (sum 30); the shortfall 70 is shared 23 each, 1 more for the last.
    EXPECT_EQ(tracks.sizes, (std::vector<int>{43, 33, 24}));
    EXPECT_TRUE(tracks.fixed[0]);
    EXPECT_TRUE(ShareSurplus(tracks, 7));
    EXPECT_EQ(tracks.sizes, (std::vector<int>{43, 36, 28}));
    Tracks fixed{{10}, {true}};
    EXPECT_FALSE(ShareSurplus(fixed, 7));
    EXPECT_EQ(TableExtent({10, 20}, 3, 2), 30 + 3 * 3 + 1 + 4);
    EXPECT_EQ(TrackOffsets({10, 20, 5}, 3, 2), (std::vector<int>{5, 19, 43}));
    EXPECT_EQ(SpanExtent({10, 20, 5}, 0, 2, 3), 34);
}
