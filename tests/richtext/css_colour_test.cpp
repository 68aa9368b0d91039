#include "richtext/css_colour.h"

#include <gtest/gtest.h>

using richtext::ColourTable;
using richtext::ParseColour;

namespace {

const COLORREF kKeep = RGB(1, 2, 3);

COLORREF Colour(const ColourTable& table, std::wstring_view value) {
    return ParseColour(value, kKeep, table);
}

} // namespace

class ColourTest : public ::testing::Test {
protected:
    ColourTable table_;
};

TEST_F(ColourTest, ThreeSpellingsOfRed) {
    EXPECT_EQ(Colour(table_, L"#ff0000"), RGB(255, 0, 0));
    EXPECT_EQ(Colour(table_, L"0x0000ff"), RGB(255, 0, 0));
    EXPECT_EQ(Colour(table_, L"red"), RGB(255, 0, 0));
}

TEST_F(ColourTest, HashNeedsExactlySixHexDigits) {
    EXPECT_EQ(Colour(table_, L"#f00"), kKeep);
    EXPECT_EQ(Colour(table_, L"#ff00000"), kKeep);
    EXPECT_EQ(Colour(table_, L"#gg0000"), kKeep);
    EXPECT_EQ(Colour(table_, L"#"), kKeep);
    EXPECT_EQ(Colour(table_, L"#12AbEf"), RGB(0x12, 0xAB, 0xEF));
}

TEST_F(ColourTest, NumbersAreColourValues) {
    EXPECT_EQ(Colour(table_, L"255"), RGB(255, 0, 0));
    EXPECT_EQ(Colour(table_, L"0"), RGB(0, 0, 0));
    EXPECT_EQ(Colour(table_, L"0xFF0000"), RGB(0, 0, 255));
    EXPECT_EQ(Colour(table_, L"0177"), RGB(127, 0, 0));
    EXPECT_EQ(Colour(table_, L"0xFFFFFFFFFF"), COLORREF{0xFFFFFFFF});
}

TEST_F(ColourTest, EmptyAndUnknownKeepTheCurrentColour) {
    EXPECT_EQ(Colour(table_, L""), kKeep);
    EXPECT_EQ(Colour(table_, L"red "), kKeep);
    EXPECT_EQ(Colour(table_, L"Red"), kKeep);
    EXPECT_EQ(Colour(table_, L"-1"), kKeep);
}

TEST_F(ColourTest, GreySpellingsOnlyWhereTheTableHasThemAndSystemColoursAreLive) {
    for (const wchar_t* missing : {L"grey", L"darkgrey", L"dimgrey", L"slategrey", L"darkslategrey",
                                   L"lightslategrey", L"lightgray"})
        EXPECT_EQ(Colour(table_, missing), kKeep) << missing;
    EXPECT_EQ(Colour(table_, L"gray"), RGB(0x80, 0x80, 0x80));
    EXPECT_EQ(Colour(table_, L"lightgrey"), RGB(0xD3, 0xD3, 0xD3));
    // System colours are read from the system, not fixed in the table.
    EXPECT_EQ(Colour(table_, L"buttonface"), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(Colour(table_, L"threedlightshadow"), ::GetSysColor(COLOR_3DLIGHT));
}

TEST_F(ColourTest, DisabledNamesGiveTheDisabledColour) {
    const COLORREF disabled = RGB(9, 9, 9);
    EXPECT_EQ(ParseColour(L"red", kKeep, table_, &disabled), disabled);
    EXPECT_EQ(ParseColour(L"#00ff00", kKeep, table_, &disabled), RGB(0, 255, 0));
    EXPECT_EQ(ParseColour(L"nosuchcolour", kKeep, table_, &disabled), kKeep);
}
