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
    EXPECT_EQ(Apply(L"font-size:3px").height, 3);
    EXPECT_EQ(Apply(L"font-size:-11lf").height, -11);
    EXPECT_EQ(Apply(L"font-size:-11pt").height, Apply(L"font-size:11pt").height);
    EXPECT_EQ(Apply(L"font-size:50%").height, 8);
}

TEST_F(DeclarationTest, FontWeightKeywordsAndNumbers) {
    EXPECT_EQ(Apply(L"font-weight:bolder").weight, 900);
    EXPECT_EQ(Apply(L"font-weight:lighter").weight, 100);
    EXPECT_EQ(Apply(L"font-weight:600").weight, 600);
    style_.weight = 700;
    EXPECT_EQ(Apply(L"font-weight:").weight, 400);
    EXPECT_EQ(Apply(L"font-weight:normal").weight, 400);
}

TEST_F(DeclarationTest, FontStyleKeywordsAndNumbers) {
    style_.italic = 1;
    EXPECT_EQ(Apply(L"font-style:normal").italic, 0);
    EXPECT_EQ(Apply(L"font-style:").italic, 0);
    EXPECT_EQ(Apply(L"font-style:7").italic, 7);
}

TEST_F(DeclarationTest, AlignmentKeywords) {
    EXPECT_EQ(Apply(L"text-align:center").horizontalAlign, kAlignCenter);
    EXPECT_EQ(Apply(L"text-align:right").horizontalAlign, kAlignRight);
    style_.horizontalAlign = kAlignRight;
    EXPECT_EQ(Apply(L"text-align:justify").horizontalAlign, kAlignRight);
    EXPECT_EQ(Apply(L"text-align:").horizontalAlign, kAlignLeft);
    EXPECT_EQ(Apply(L"vertical-align:vcenter").verticalAlign, kAlignMiddle);
    EXPECT_EQ(Apply(L"vertical-align:middle").verticalAlign, kAlignMiddle);
    EXPECT_EQ(Apply(L"vertical-align:top").verticalAlign, kAlignTop);
    EXPECT_EQ(Apply(L"vertical-align:bottom").verticalAlign, kAlignBottom);
    style_.verticalAlign = kAlignTop;
    EXPECT_EQ(Apply(L"vertical-align:sideways").verticalAlign, kAlignTop);
    EXPECT_EQ(Apply(L"vertical-align:").verticalAlign, kAlignBaseline);
}

TEST_F(DeclarationTest, TextTransformKeywords) {
    EXPECT_EQ(Apply(L"text-transform:uppercase").textTransform, kTransformUppercase);
    EXPECT_EQ(Apply(L"text-transform:lowercase").textTransform, kTransformLowercase);
    EXPECT_EQ(Apply(L"text-transform:capitalize").textTransform, kTransformCapitalize);
    style_.textTransform = kTransformLowercase;
    EXPECT_EQ(Apply(L"text-transform:shout").textTransform, kTransformLowercase);
    EXPECT_EQ(Apply(L"text-transform:none").textTransform, kTransformNone);
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
    const HtmlStyle s = Apply(L"lfwidth:7; lfescapement:900; lforientation:450; lfcharset:204; "
                              L"lfoutprecision:3; lfclipprecision:2; lfquality:5; "
                              L"lfpitchandfamily:49; lfitalic:1; lfunderline:1; lfstrikeout:1");
    EXPECT_EQ(s.width, 7);
    EXPECT_EQ(s.escapement, 900);
    EXPECT_EQ(s.orientation, 450);
    EXPECT_EQ(s.charset, 204);
    EXPECT_EQ(s.outPrecision, 3);
    EXPECT_EQ(s.clipPrecision, 2);
    EXPECT_EQ(s.quality, 5);
    EXPECT_EQ(s.pitchAndFamily, 49);
    EXPECT_EQ(s.italic + s.underline + s.strikeout, 3);
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
