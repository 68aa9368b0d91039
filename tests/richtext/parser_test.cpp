#include "richtext/html_parser.h"

#include "tests/richtext/markup_driver.h"

#include <gtest/gtest.h>

#include <string>

using namespace richtext;
using markup_test::PassRecord;
using markup_test::RunPass;
using markup_test::VisibleText;
using Kind = MarkupAction::Kind;

class ParserTest : public ::testing::Test {
protected:
    PassRecord Pass(std::wstring_view text) { return RunPass(parser_, text); }
    // The style of the last run of `text`.
    HtmlStyle StyleOf(std::wstring_view text) {
        const PassRecord pass = Pass(text);
        EXPECT_FALSE(pass.runs.empty()) << std::wstring(text).size();
        return pass.runs.empty() ? HtmlStyle{} : pass.runs.back().style;
    }
    // A style as it draws: without the closing key of the level it came from.
    static HtmlStyle Look(HtmlStyle style) {
        style.name.clear();
        return style;
    }
    HtmlStyle Body() {
        parser_.BeginPass(markup_test::TestMetrics());
        HtmlStyle body = parser_.Current();
        parser_.EndPass();
        return body;
    }

    MarkupParser parser_;
};

TEST_F(ParserTest, TheBodyRuleStartsEveryPassAndElementsLeftOpenEndWithIt) {
    EXPECT_EQ(Body().height, 10 * 96 / 72);
    parser_.Sheet().SetStyleRule(L"body", L"font-size:-11lf; color:0x123456; font-weight:700");
    EXPECT_EQ(Body().height, -11);
    Pass(L"<b><i><a href=x><font color=red>x");
    EXPECT_EQ(parser_.Depth(), 0u);
    EXPECT_EQ(StyleOf(L"y"), Body());
    EXPECT_EQ(parser_.LinkNumber(), -1) << "link numbers start again";
}

TEST_F(ParserTest, LiteralLessThanAndUnknownTags) {
    for (const wchar_t* text : {L"a<<b", L"a&lt;b", L"a&amp;lt;b"})
        EXPECT_EQ(VisibleText(Pass(text)), L"a<b");
    EXPECT_EQ(VisibleText(Pass(L"x <")), L"x <");
    const PassRecord pass = Pass(L"<B>x</B><p style=\"color:red\">y</p><table>z</table>");
    EXPECT_EQ(VisibleText(pass), L"xyz");
    for (const auto& run : pass.runs)
        EXPECT_EQ(run.style, Body());
}

TEST_F(ParserTest, ClosingTagsCloseOnlyTheInnermostElementOfTheirKey) {
    struct Case {
        const wchar_t* text;
        int weights[4];
        int italics[4];
    };
    for (const Case c : {
             Case{L"<b>a<b>x</b>c</b>d", {800, 900, 800, 400}, {0, 0, 0, 0}},
             Case{L"<i>x</b>y</i>z", {400, 400, 400, -1}, {1, 1, 0, -1}},
             Case{L"<b><i>x</b>y</i>z</b>w", {800, 800, 800, 400}, {1, 1, 0, 0}},
         }) {
        const PassRecord pass = Pass(c.text);
        for (size_t i = 0; i < pass.runs.size(); ++i) {
            EXPECT_EQ(pass.runs[i].style.weight, c.weights[i]) << i;
            EXPECT_EQ(pass.runs[i].style.italic, c.italics[i]) << i;
        }
    }
    const PassRecord shared = Pass(L"<top><bottom>x</middle>y</top>z");
    EXPECT_EQ(shared.runs[0].style.verticalAlign, kAlignBottom);
    EXPECT_EQ(shared.runs[1].style.verticalAlign, kAlignTop) << "</middle> closed <bottom>";
    EXPECT_EQ(shared.runs[2].style.verticalAlign, kAlignBaseline);
}

TEST_F(ParserTest, FontAttributesAndStyleLetters) {
    const HtmlStyle s = StyleOf(L"<font face=\"Courier New\" size=3 color=red weight=bolder "
                                L"bkgnd=#00ff00>x");
    EXPECT_EQ(s.face, L"Courier New");
    EXPECT_EQ(s.height, 12);
    EXPECT_EQ(s.color, RGB(255, 0, 0));
    EXPECT_EQ(s.weight, 900);
    EXPECT_EQ(s.backgroundColor, RGB(0, 255, 0));
    EXPECT_EQ(StyleOf(L"<font size=200% size=50%>x").height, Body().height) << "given twice";
    const struct {
        const wchar_t* text;
        int weight, underline, italic, strikeout;
    } letters[] = {{L"<font style=bu-i>x", 700, 1, 0, 0},
                   {L"<b><i><font style=\"-b-i s\">x", 400, 0, 0, 1},
                   {L"<u><font style=-xu>x", 400, 0, 0, 0},
                   {L"<font style=-+u>x", 400, 1, 0, 0}};
    for (const auto& c : letters) {
        const HtmlStyle l = StyleOf(c.text);
        EXPECT_EQ(l.weight, c.weight) << c.weight;
        EXPECT_EQ(l.underline, c.underline);
        EXPECT_EQ(l.italic, c.italic);
        EXPECT_EQ(l.strikeout, c.strikeout);
    }
}

TEST_F(ParserTest, EmptyElementsActAtOnce) {
    parser_.Sheet().SetStyleRule(L"hr", L"color:blue; border-width:3");
    const PassRecord pass = Pass(L"a<br>b<br=3>c<\n>d<t=2><\t></br><br=99999><b><hr><bmp "
                                 L"idres=0x66 width=50% mask=magenta style=gs hotstyle=l></b>e");
    ASSERT_EQ(pass.actions.size(), 8u);
    EXPECT_EQ(pass.actions[1].count, 3);
    EXPECT_EQ(pass.actions[2].kind, Kind::LineBreak);
    EXPECT_EQ(pass.actions[3].count, 2);
    EXPECT_EQ(pass.actions[4].kind, Kind::Tab);
    EXPECT_EQ(pass.actions[5].count, MarkupParser::kMaxRepeat);
    EXPECT_EQ(pass.actions[6].rule.thickness, 3) << "from the hr rule";
    EXPECT_EQ(pass.actions[6].rule.colour, RGB(0, 0, 255));
    const ImageAttributes& bmp = pass.actions[7].image;
    EXPECT_EQ(bmp.idres, 0x66);
    EXPECT_TRUE(bmp.widthPercent);
    EXPECT_EQ(bmp.maskColour, RGB(255, 0, 255));
    EXPECT_EQ(bmp.style, kImageGrey | kImageGradientShadow);
    EXPECT_EQ(bmp.hotStyle, unsigned{kImageLighter});
    EXPECT_EQ(pass.runs.back().style.weight, 400) << "no style of their own";
}

TEST_F(ParserTest, WhileDisabledColoursAreTheDisabledOneButMasksStay) {
    parser_.SetEnabled(false);
    parser_.SetDisabledColour(RGB(7, 7, 7));
    const HtmlStyle s = StyleOf(L"<font color=red bkgnd=yellow><h2>x");
    EXPECT_EQ(s.color, RGB(7, 7, 7));
    EXPECT_EQ(s.backgroundMode, kBackgroundTransparent);
    const PassRecord pass = Pass(L"<hr color=red><bmp mask=red>");
    EXPECT_EQ(pass.actions[0].rule.colour, RGB(7, 7, 7));
    EXPECT_EQ(pass.actions[1].image.maskColour, RGB(255, 0, 0));
}

TEST_F(ParserTest, NestingDeeperThanTheLimitIsIgnoredEvenInsideAHugeLink) {
    std::wstring text = L"<a href='" + std::wstring(1 << 20, L'h') + L"'>";
    for (size_t i = 0; i < StyleStack::kMaxDepth + 10; ++i)
        text += L"<u>";
    text += L"x";
    for (size_t i = 0; i < StyleStack::kMaxDepth + 10; ++i)
        text += L"</u>";
    text += L"</a>y";
    const PassRecord pass = Pass(text);
    ASSERT_EQ(pass.runs.size(), 2u);
    EXPECT_EQ(pass.runs[0].style.underline, (StyleStack::kMaxDepth - 1) % 2);
    EXPECT_EQ(Look(pass.runs[1].style), Body());
}
