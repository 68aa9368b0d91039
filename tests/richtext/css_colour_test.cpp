#include "richtext/css_colour.h"

#include <gtest/gtest.h>

#include <string>

using richtext::ColourTable;
using richtext::ParseColour;

namespace {

const COLORREF kKeep = RGB(1, 2, 3);

} // namespace

TEST(Colours, ValuesInEverySpellingAndWhatIsKept) {
    const ColourTable table;
    const struct {
        const wchar_t* value;
        COLORREF expected;
    } cases[] = {
        {L"#ff0000", RGB(255, 0, 0)},
        {L"0x0000ff", RGB(255, 0, 0)},
        {L"red", RGB(255, 0, 0)},
        {L"#12AbEf", RGB(0x12, 0xAB, 0xEF)},
        {L"0177", RGB(127, 0, 0)},
        {L"0xFFFFFFFFFF", COLORREF{0xFFFFFFFF}},
        {L"gray", RGB(0x80, 0x80, 0x80)},
        {L"lightgrey", RGB(0xD3, 0xD3, 0xD3)},
        {L"darkseagreen", RGB(0x8F, 0xBC, 0x8B)},
        // Kept: empty, a "#" of another length, other case, a trailing blank, the missing greys.
        {L"", kKeep},
        {L"#f00", kKeep},
        {L"#ff00000", kKeep},
        {L"#gg0000", kKeep},
        {L"Red", kKeep},
        {L"red ", kKeep},
        {L"grey", kKeep},
        {L"lightgray", kKeep},
        {L"darkslategrey", kKeep},
        {L"-1", kKeep}};
    for (const auto& c : cases)
        EXPECT_EQ(ParseColour(c.value, kKeep, table), c.expected)
            << std::string(c.value, c.value + wcslen(c.value));
    EXPECT_EQ(ParseColour(L"buttonface", kKeep, table), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ParseColour(L"threedlightshadow", kKeep, table), ::GetSysColor(COLOR_3DLIGHT));
}
