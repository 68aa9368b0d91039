#include "richtext/css_declarations.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace richtext;

namespace {

const FixedMetrics kMetrics(96, 16, 8);

using Pairs = std::vector<std::pair<std::wstring, std::wstring>>;

Pairs Read(std::wstring_view text) {
    Pairs pairs;
    DeclarationReader reader(text);
    std::wstring_view name;
    std::wstring_view value;
    while (reader.Next(name, value))
        pairs.emplace_back(name, value);
    return pairs;
}

} // namespace

class DeclarationTest : public ::testing::Test {
protected:
    HtmlStyle Apply(std::wstring_view declarations) { return Apply(style_, declarations); }
    HtmlStyle Apply(HtmlStyle style, std::wstring_view declarations) {
        ApplyDeclarations(declarations, style, StyleContext{colours_, kMetrics, disabled_});
        return style;
    }

    ColourTable colours_;
    HtmlStyle style_;
    const COLORREF* disabled_ = nullptr;
};

TEST(DeclarationReader, ValuesKeepTrailingBlanksAndLoseOnlyDoubleQuotes) {
    EXPECT_EQ(Read(L"color:red ; font-size:  3pt;x:"),
              (Pairs{{L"color", L"red "}, {L"font-size", L"3pt"}, {L"x", L""}}));
    EXPECT_EQ(Read(L"font-family:\"Courier New\"; a:'b c'"),
              (Pairs{{L"font-family", L"Courier New"}, {L"a", L"'b c'"}}));
    EXPECT_EQ(Read(L"font-family:\"Courier"), (Pairs{{L"font-family", L""}}));
    EXPECT_EQ(Read(L"color red; size : 2"), (Pairs{{L"size", L"2"}}));
}

TEST_F(DeclarationTest, FontPropertiesAndAFaceCutToWhatAFontHolds) {
    const HtmlStyle s = Apply(L"font-size:3; font-family:\"Courier New\"; font-weight:bold; "
                              L"font-style:oblique; lfcharset:204");
    EXPECT_EQ(s.height, 12);
    EXPECT_EQ(s.face, L"Courier New");
    EXPECT_EQ(s.weight, 700);
    EXPECT_EQ(s.italic, 1);
    EXPECT_EQ(FontDescription(s).lfCharSet, 204);
    EXPECT_EQ(Apply(L"font-family:" + std::wstring(100, L'F')).face,
              std::wstring(LF_FACESIZE - 1, L'F'));
    style_.color = RGB(1, 2, 3);
    EXPECT_EQ(Apply(L"color:red ;").color, RGB(1, 2, 3)) << "the blank is part of the value";
    EXPECT_EQ(Apply(L"Color:red; colour:red; font-size"), style_) << "unknown names";
}

// Each keyword sets its value, an unknown one keeps the value before it, and an empty value
// resets it.
TEST_F(DeclarationTest, KeywordProperties) {
    const struct {
        const wchar_t* declaration;
        int HtmlStyle::*field;
        int before;
        int expected;
    } cases[] = {{L"font-weight:bolder", &HtmlStyle::weight, 400, 900},
                 {L"font-weight:600", &HtmlStyle::weight, 400, 600},
                 {L"font-weight:", &HtmlStyle::weight, 700, 400},
                 {L"text-align:justify", &HtmlStyle::horizontalAlign, kAlignRight, kAlignRight},
                 {L"text-align:", &HtmlStyle::horizontalAlign, kAlignRight, kAlignLeft},
                 {L"vertical-align:sideways", &HtmlStyle::verticalAlign, kAlignTop, kAlignTop},
                 {L"vertical-align:", &HtmlStyle::verticalAlign, kAlignTop, kAlignBaseline},
                 {L"text-transform:shout", &HtmlStyle::textTransform, 2, 2},
                 {L"margin:5", &HtmlStyle::cellPadding, 2, 5},
                 {L"padding:1in", &HtmlStyle::cellSpacing, 0, 96}};
    for (const auto& c : cases) {
        HtmlStyle style;
        style.*c.field = c.before;
        EXPECT_EQ(Apply(style, c.declaration).*c.field, c.expected) << c.declaration;
    }
}

TEST_F(DeclarationTest, TextDecorationWordsAndBackgroundColour) {
    HtmlStyle s = Apply(L"text-decoration:underline,overline line-through");
    EXPECT_EQ(s.underline + s.overline + s.strikeout, 3);
    s = Apply(s, L"text-decoration:none underline");
    EXPECT_EQ(s.underline + s.overline + s.strikeout, 1);
    s = Apply(s, L"text-decoration:");
    EXPECT_EQ(s.underline, 0);
    s = Apply(L"background-color:#fbedbb");
    EXPECT_EQ(s.backgroundMode, kBackgroundOpaque);
    s = Apply(s, L"background-color:transparent");
    EXPECT_EQ(s.backgroundMode, kBackgroundTransparent);
    EXPECT_EQ(s.backgroundColor, RGB(0xFB, 0xED, 0xBB));
}

TEST_F(DeclarationTest, BorderWidthAndStyleKeepEachOtherConsistent) {
    HtmlStyle s = Apply(L"border-width:4; border-color:navy");
    EXPECT_EQ(s.borderStyle, kBorderSolid);
    EXPECT_EQ(s.borderColorDark, RGB(0, 0, 0x80));
    s = Apply(s, L"border-style:dashed; size:thick");
    EXPECT_EQ(s.borderStyle, kBorderDashed);
    EXPECT_EQ(s.borderWidth, 5);
    s = Apply(s, L"border-width:thin");
    EXPECT_EQ(s.borderWidth, 4); // 3.75 rounded
    s = Apply(s, L"border-style:wavy; border-width:0");
    EXPECT_EQ(s.borderStyle, kBorderNone);
    s = Apply(L"border-style:dotted");
    EXPECT_EQ(s.borderWidth, 1);
}
