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

TEST(DeclarationReader, ValuesKeepTrailingBlanks) {
    EXPECT_EQ(Read(L"color:red ; font-size:  3pt;x:"),
              (Pairs{{L"color", L"red "}, {L"font-size", L"3pt"}, {L"x", L""}}));
}

TEST(DeclarationReader, DoubleQuotesAreRemovedSingleQuotesStay) {
    EXPECT_EQ(Read(L"font-family:\"Courier New\"; a:'b c'"),
              (Pairs{{L"font-family", L"Courier New"}, {L"a", L"'b c'"}}));
    EXPECT_EQ(Read(L"font-family:\"Courier"), (Pairs{{L"font-family", L""}}));
}

TEST(DeclarationReader, NameWithoutColonIsPassedOver) {
    EXPECT_EQ(Read(L"color red; size : 2"), (Pairs{{L"size", L"2"}}));
}

TEST_F(DeclarationTest, ColourWithTrailingBlankMatchesNothing) {
    style_.color = RGB(1, 2, 3);
    EXPECT_EQ(Apply(L"color:red ;").color, RGB(1, 2, 3));
    EXPECT_EQ(Apply(L"color:red;").color, RGB(255, 0, 0));
}

TEST_F(DeclarationTest, FontProperties) {
    const HtmlStyle s = Apply(L"font-size:3; font-family:\"Courier New\"; font-weight:bold; "
                              L"font-style:oblique");
    EXPECT_EQ(s.height, 12);
    EXPECT_EQ(s.face, L"Courier New");
    EXPECT_EQ(s.weight, 700);
    EXPECT_EQ(s.italic, 1);
    EXPECT_EQ(Apply(L"font-size:50%").height, 8);
}

// Each keyword sets its value, an unknown one keeps the value before it, and an empty value
// resets it.
TEST_F(DeclarationTest, KeywordProperties) {
    const struct {
        const wchar_t* declaration;
        int HtmlStyle::*field;
        int before;
        int expected;
    } cases[] = {
        {L"font-weight:bolder", &HtmlStyle::weight, 400, 900},
        {L"font-weight:lighter", &HtmlStyle::weight, 400, 100},
        {L"font-weight:600", &HtmlStyle::weight, 400, 600},
        {L"font-weight:", &HtmlStyle::weight, 700, 400},
        {L"text-align:center", &HtmlStyle::horizontalAlign, kAlignLeft, kAlignCenter},
        {L"text-align:justify", &HtmlStyle::horizontalAlign, kAlignRight, kAlignRight},
        {L"text-align:", &HtmlStyle::horizontalAlign, kAlignRight, kAlignLeft},
        {L"vertical-align:vcenter", &HtmlStyle::verticalAlign, kAlignBaseline, kAlignMiddle},
        {L"vertical-align:bottom", &HtmlStyle::verticalAlign, kAlignBaseline, kAlignBottom},
        {L"vertical-align:sideways", &HtmlStyle::verticalAlign, kAlignTop, kAlignTop},
        {L"vertical-align:", &HtmlStyle::verticalAlign, kAlignTop, kAlignBaseline},
        {L"text-transform:capitalize", &HtmlStyle::textTransform, kTransformNone,
         kTransformCapitalize},
        {L"text-transform:shout", &HtmlStyle::textTransform, kTransformLowercase,
         kTransformLowercase},
        {L"text-transform:none", &HtmlStyle::textTransform, kTransformLowercase, kTransformNone},
    };
    for (const auto& c : cases) {
        HtmlStyle style;
        style.*c.field = c.before;
        EXPECT_EQ(Apply(style, c.declaration).*c.field, c.expected) << c.declaration;
    }
    style_.italic = 1;
    EXPECT_EQ(Apply(L"font-style:normal").italic, 0);
    EXPECT_EQ(Apply(L"font-style:7").italic, 7);
}

TEST_F(DeclarationTest, TextDecorationWords) {
    HtmlStyle s = Apply(L"text-decoration:underline,overline line-through");
    EXPECT_EQ(s.underline, 1);
    EXPECT_EQ(s.overline, 1);
    EXPECT_EQ(s.strikeout, 1);
    s = Apply(s, L"text-decoration:none");
    EXPECT_EQ(s.underline + s.overline + s.strikeout, 0);
    s = Apply(s, L"text-decoration:none underline");
    EXPECT_EQ(s.underline, 1);
    s = Apply(s, L"text-decoration:");
    EXPECT_EQ(s.underline, 0);
}

TEST_F(DeclarationTest, BackgroundColour) {
    HtmlStyle s = Apply(L"background-color:#fbedbb");
    EXPECT_EQ(s.backgroundMode, kBackgroundOpaque);
    EXPECT_EQ(s.backgroundColor, RGB(0xFB, 0xED, 0xBB));
    s = Apply(s, L"background-color:transparent");
    EXPECT_EQ(s.backgroundMode, kBackgroundTransparent);
    EXPECT_EQ(s.backgroundColor, RGB(0xFB, 0xED, 0xBB));
}

TEST_F(DeclarationTest, ZeroBorderWidthRemovesTheBorder) {
    style_.borderStyle = kBorderSolid;
    style_.borderWidth = 3;
    const HtmlStyle s = Apply(L"border-width:0");
    EXPECT_EQ(s.borderWidth, 0);
    EXPECT_EQ(s.borderStyle, kBorderNone);
}

TEST_F(DeclarationTest, BorderWidthAndStyleKeepEachOtherConsistent) {
    HtmlStyle s = Apply(L"border-width:4");
    EXPECT_EQ(s.borderStyle, kBorderSolid);
    s = Apply(s, L"border-style:dashed; size:thick");
    EXPECT_EQ(s.borderStyle, kBorderDashed);
    EXPECT_EQ(s.borderWidth, 5);
    s = Apply(s, L"border-width:thin");
    EXPECT_EQ(s.borderWidth, 4); // 3.75 rounded
    s = Apply(s, L"border-width:medium; border-style:double");
    EXPECT_EQ(s.borderWidth, 4);
    EXPECT_EQ(s.borderStyle, kBorderDouble);
    s = Apply(L"border-style:dotted");
    EXPECT_EQ(s.borderWidth, 1);
    EXPECT_EQ(s.borderStyle, kBorderDotted);
    s = Apply(s, L"border-style:wavy");
    EXPECT_EQ(s.borderStyle, kBorderDotted);
    s = Apply(s, L"border-style:none");
    EXPECT_EQ(s.borderStyle, kBorderNone);
}

TEST_F(DeclarationTest, BorderColourSetsBothSides) {
    const HtmlStyle s = Apply(L"border-color:navy");
    EXPECT_EQ(s.borderColorLight, RGB(0, 0, 0x80));
    EXPECT_EQ(s.borderColorDark, RGB(0, 0, 0x80));
}

TEST_F(DeclarationTest, MarginAndPaddingAreCellPaddingAndSpacing) {
    const HtmlStyle s = Apply(L"margin:5; padding:1in");
    EXPECT_EQ(s.cellPadding, 5);
    EXPECT_EQ(s.cellSpacing, 96);
}

TEST_F(DeclarationTest, FontDescriptionFields) {
    const HtmlStyle s = Apply(L"lfescapement:900; lfcharset:204; lfitalic:1; lfunderline:1");
    EXPECT_EQ(s.italic + s.underline, 2);
    const LOGFONTW font = FontDescription(s);
    EXPECT_EQ(font.lfCharSet, 204);
    EXPECT_EQ(font.lfEscapement, 900);
}

TEST_F(DeclarationTest, UnknownPropertiesAndCaseChangeNothing) {
    EXPECT_EQ(Apply(L"Color:red; COLOR:red; colour:red; font-size"), style_);
}

TEST_F(DeclarationTest, DisabledColoursAndBackground) {
    const COLORREF grey = RGB(128, 128, 128);
    disabled_ = &grey;
    const HtmlStyle s = Apply(L"color:#ff0000; border-color:nonsense; background-color:yellow");
    EXPECT_EQ(s.color, grey);
    EXPECT_EQ(s.borderColorLight, grey);
    EXPECT_EQ(s.borderColorDark, grey);
    EXPECT_EQ(s.backgroundMode, kBackgroundTransparent);
    EXPECT_EQ(s.backgroundColor, style_.backgroundColor);
}

TEST(FontDescription, LongFaceIsCut) {
    HtmlStyle style;
    style.face.assign(100, L'F');
    const LOGFONTW font = FontDescription(style);
    EXPECT_EQ(std::wstring(font.lfFaceName), std::wstring(LF_FACESIZE - 1, L'F'));
}
