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
    // The style of the only run of `text`.
    HtmlStyle StyleOf(std::wstring_view text) {
        const PassRecord pass = Pass(text);
        EXPECT_EQ(pass.runs.size(), 1u) << std::wstring(text);
        return pass.runs.empty() ? HtmlStyle{} : pass.runs.front().style;
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

TEST_F(ParserTest, BodyRuleStartsEveryPass) {
    EXPECT_EQ(Body().height, 10 * 96 / 72);
    parser_.Sheet().SetStyleRule(L"body", L"font-size:-11lf; color:0x123456; font-weight:700");
    const HtmlStyle window = Body();
    EXPECT_EQ(window.height, -11);
    EXPECT_EQ(window.color, COLORREF{0x123456});
    EXPECT_EQ(window.weight, 700);
}

TEST_F(ParserTest, LiteralLessThan) {
    EXPECT_EQ(VisibleText(Pass(L"a<<b")), L"a<b");
    EXPECT_EQ(VisibleText(Pass(L"a&lt;b")), L"a<b");
    EXPECT_EQ(VisibleText(Pass(L"a&amp;lt;b")), L"a<b");
    EXPECT_EQ(VisibleText(Pass(L"x <")), L"x <");
}

TEST_F(ParserTest, UnknownTagsAreIgnoredWithTheirAttributes) {
    const HtmlStyle body = Body();
    PassRecord pass = Pass(L"<B>x</B>");
    ASSERT_EQ(pass.runs.size(), 1u);
    EXPECT_EQ(pass.runs[0].text, L"x");
    EXPECT_EQ(pass.runs[0].style, body);
    pass = Pass(L"<p style=\"color:red\">x</p><table>y</table>");
    EXPECT_EQ(VisibleText(pass), L"xy");
    for (const auto& run : pass.runs)
        EXPECT_EQ(run.style, body);
}

TEST_F(ParserTest, DoubledBoldIsCappedAndRestored) {
    const PassRecord pass = Pass(L"<b>a<b>x</b>c</b>d");
    ASSERT_EQ(pass.runs.size(), 4u);
    EXPECT_EQ(pass.runs[0].style.weight, 800);
    EXPECT_EQ(pass.runs[1].style.weight, 900);
    EXPECT_EQ(pass.runs[2].style.weight, 800);
    EXPECT_EQ(pass.runs[3].style.weight, 400);
}

TEST_F(ParserTest, MismatchedClosingTagIsIgnored) {
    const PassRecord pass = Pass(L"<i>x</b>y</i>z");
    ASSERT_EQ(pass.runs.size(), 3u);
    EXPECT_EQ(pass.runs[0].style.italic, 1);
    EXPECT_EQ(pass.runs[1].style.italic, 1);
    EXPECT_EQ(pass.runs[1].style.weight, 400);
    EXPECT_EQ(pass.runs[2].style.italic, 0);
}

TEST_F(ParserTest, ClosingOnlyTheInnermostElement) {
    const PassRecord pass = Pass(L"<b><i>x</b>y</i>z</b>w");
    ASSERT_EQ(pass.runs.size(), 4u);
    EXPECT_EQ(pass.runs[1].style.weight, 800); // "</b>" could not close past "<i>"
    EXPECT_EQ(pass.runs[1].style.italic, 1);
    EXPECT_EQ(pass.runs[2].style.italic, 0);
    EXPECT_EQ(pass.runs[2].style.weight, 800);
    EXPECT_EQ(pass.runs[3].style.weight, 400);
}

TEST_F(ParserTest, TogglingAndAlignmentTags) {
    EXPECT_EQ(StyleOf(L"<i><i>x</i></i>").italic, 0);
    EXPECT_EQ(StyleOf(L"<u><u><u>x").underline, 1);
    const HtmlStyle struck = StyleOf(L"<em><s><strike>x");
    EXPECT_EQ(struck.italic, 1);
    EXPECT_EQ(struck.strikeout, 0);
    EXPECT_EQ(StyleOf(L"<right><left>x").horizontalAlign, kAlignLeft);
    EXPECT_EQ(StyleOf(L"<vcenter>x").verticalAlign, kAlignMiddle);
}

TEST_F(ParserTest, TagsSharingAClosingKeyCloseEachOther) {
    PassRecord pass = Pass(L"<s>x</strike>y");
    EXPECT_EQ(pass.runs[1].style.strikeout, 0);
    pass = Pass(L"<top><bottom>x</middle>y</top>z");
    ASSERT_EQ(pass.runs.size(), 3u);
    EXPECT_EQ(pass.runs[0].style.verticalAlign, kAlignBottom);
    EXPECT_EQ(pass.runs[1].style.verticalAlign, kAlignTop);
    EXPECT_EQ(pass.runs[2].style.verticalAlign, kAlignBaseline);
}

TEST_F(ParserTest, FontTagAttributes) {
    const HtmlStyle s = StyleOf(L"<font face=\"Courier New\" size=3 color=red weight=bolder "
                                L"bkgnd=#00ff00>x");
    EXPECT_EQ(s.face, L"Courier New");
    EXPECT_EQ(s.height, 12);
    EXPECT_EQ(s.color, RGB(255, 0, 0));
    EXPECT_EQ(s.weight, 900);
    EXPECT_EQ(s.backgroundMode, kBackgroundOpaque);
    EXPECT_EQ(s.backgroundColor, RGB(0, 255, 0));
    EXPECT_EQ(StyleOf(L"<font bkgnd=#00ff00><font bkgnd=transparent>x").backgroundMode,
              kBackgroundTransparent);
    EXPECT_EQ(StyleOf(L"<font size=3px>x").height, 3);
    EXPECT_EQ(StyleOf(L"<font size=0x0000ff color=0x0000ff>x").color, RGB(255, 0, 0));
}

TEST_F(ParserTest, AttributeGivenTwiceActsTwice) {
    EXPECT_EQ(StyleOf(L"<font size=200% size=50%>x").height, Body().height);
}

TEST_F(ParserTest, StyleLetters) {
    HtmlStyle s = StyleOf(L"<font style=bu-i>x");
    EXPECT_EQ(s.weight, 700);
    EXPECT_EQ(s.underline, 1);
    EXPECT_EQ(s.italic, 0);
    s = StyleOf(L"<b><i><font style=\"-b-i so\">x");
    EXPECT_EQ(s.weight, 400);
    EXPECT_EQ(s.italic, 0);
    EXPECT_EQ(s.strikeout, 1);
    EXPECT_EQ(s.overline, 1);
    s = StyleOf(L"<u><font style=-xu>x"); // the switch stays off over other characters
    EXPECT_EQ(s.underline, 0);
    s = StyleOf(L"<font style=-+u>x");
    EXPECT_EQ(s.underline, 1);
}

TEST_F(ParserTest, StyleRuleTags) {
    EXPECT_EQ(StyleOf(L"<pre>x").backgroundMode, kBackgroundOpaque);
    const PassRecord pass = Pass(L"<h1><sub>x</sub>y</h1>z");
    ASSERT_EQ(pass.runs.size(), 3u);
    EXPECT_EQ(pass.runs[0].style.height, PercentOf(14 * 96 / 72, 65));
    EXPECT_EQ(pass.runs[0].style.verticalAlign, kAlignBottom);
    EXPECT_EQ(pass.runs[0].style.weight, 700); // inherited from h1
    EXPECT_EQ(pass.runs[1].style.height, 14 * 96 / 72);
    EXPECT_EQ(Look(pass.runs[2].style), Body()); // the closing key stays as the name
}

TEST_F(ParserTest, SpanAppliesEveryClass) {
    parser_.Sheet().SetStyleRule(L".big", L"font-size:30px");
    const HtmlStyle s = StyleOf(L"<span class=cpp-comment class=big class=none>x");
    EXPECT_EQ(s.color, RGB(0, 0x80, 0));
    EXPECT_EQ(s.italic, 1);
    EXPECT_EQ(s.height, 30);
}

TEST_F(ParserTest, LinksTakeTheirTargetAndRule) {
    parser_.Sheet().SetStyleRule(L"a:link", L"color:0xFF0000; text-decoration:none");
    parser_.Sheet().SetStyleRule(L"a:hover", L"color:0x00FF00; text-decoration:underline");
    parser_.SetHoverLink(1);
    const PassRecord pass =
        Pass(L"<a href=\"http://x/\">one</a> <a href=a msg='hello there'>two</a>three");
    ASSERT_EQ(pass.runs.size(), 4u);
    EXPECT_EQ(pass.runs[0].style.linkKind, kLinkHref);
    EXPECT_EQ(pass.runs[0].style.linkTarget, L"http://x/");
    EXPECT_EQ(pass.runs[0].style.color, COLORREF{0xFF0000});
    EXPECT_EQ(pass.runs[0].style.underline, 0);
    EXPECT_EQ(pass.runs[2].style.linkKind, kLinkMessage);
    EXPECT_EQ(pass.runs[2].style.linkTarget, L"hello there");
    EXPECT_EQ(pass.runs[2].style.color, COLORREF{0x00FF00});
    EXPECT_EQ(pass.runs[2].style.underline, 1);
    EXPECT_EQ(pass.runs[3].style.linkKind, kLinkNone);
    EXPECT_EQ(parser_.LinkNumber(), 1);
}

TEST_F(ParserTest, LinkNumbersRestartEachPass) {
    Pass(L"<a href=x>a</a><a href=y>b</a>");
    EXPECT_EQ(parser_.LinkNumber(), 1);
    parser_.BeginPass(markup_test::TestMetrics());
    EXPECT_EQ(parser_.LinkNumber(), -1);
    parser_.EndPass();
}

TEST_F(ParserTest, ElementsLeftOpenEndWithThePass) {
    Pass(L"<b><i><font color=red>x");
    EXPECT_EQ(parser_.Depth(), 0u);
    EXPECT_EQ(StyleOf(L"y"), Body());
}

TEST_F(ParserTest, LineBreaksAndTabs) {
    const PassRecord pass = Pass(L"a<br>b<br=3>c<\n>d<t>e<t=2><\t></br></t>f<br=0><br=99999>");
    ASSERT_EQ(pass.actions.size(), 8u);
    EXPECT_EQ(pass.actions[0].kind, Kind::LineBreak);
    EXPECT_EQ(pass.actions[0].count, 1);
    EXPECT_EQ(pass.actions[1].count, 3);
    EXPECT_EQ(pass.actions[2].kind, Kind::LineBreak);
    EXPECT_EQ(pass.actions[3].kind, Kind::Tab);
    EXPECT_EQ(pass.actions[4].kind, Kind::Tab);
    EXPECT_EQ(pass.actions[4].count, 2);
    EXPECT_EQ(pass.actions[5].kind, Kind::Tab);
    EXPECT_EQ(pass.actions[6].count, 1);
    EXPECT_EQ(pass.actions[7].count, MarkupParser::kMaxRepeat);
    EXPECT_EQ(VisibleText(pass), L"abcdef");
}

TEST_F(ParserTest, EmptyElementsChangeNoStyle) {
    const PassRecord pass = Pass(L"<b>x<hr><br></b>y");
    ASSERT_EQ(pass.runs.size(), 2u);
    EXPECT_EQ(pass.runs[1].style.weight, 400);
}

TEST_F(ParserTest, RuleDefaultsComeFromTheHrRule) {
    PassRecord pass = Pass(L"<font color=red><hr>");
    ASSERT_EQ(pass.actions.size(), 1u);
    EXPECT_EQ(pass.actions[0].kind, Kind::Rule);
    EXPECT_EQ(pass.actions[0].rule.width, 100);
    EXPECT_TRUE(pass.actions[0].rule.widthPercent);
    EXPECT_EQ(pass.actions[0].rule.thickness, 1);
    EXPECT_EQ(pass.actions[0].rule.colour, RGB(255, 0, 0));
    parser_.Sheet().SetStyleRule(L"hr", L"color:blue; border-width:3");
    pass = Pass(L"<hr>");
    EXPECT_EQ(pass.actions[0].rule.thickness, 3);
    EXPECT_EQ(pass.actions[0].rule.colour, RGB(0, 0, 255));
    pass = Pass(L"<hr width=120 size=5 color=#00ff00><hr width=40%>");
    EXPECT_EQ(pass.actions[0].rule.width, 120);
    EXPECT_FALSE(pass.actions[0].rule.widthPercent);
    EXPECT_EQ(pass.actions[0].rule.thickness, 5);
    EXPECT_EQ(pass.actions[0].rule.colour, RGB(0, 255, 0));
    EXPECT_EQ(pass.actions[1].rule.width, 40);
    EXPECT_TRUE(pass.actions[1].rule.widthPercent);
}

TEST_F(ParserTest, ImageAttributes) {
    const PassRecord pass =
        Pass(L"<bmp idres=0x66 width=50% height=20 mask=magenta style=gs hotstyle=l>"
             L"<icon file=\"c:\\a b.ico\"><ilst srcdll=x.dll iddll=5 cx=16 cy=0x10 index=3 "
             L"speed=4 handle=77>");
    ASSERT_EQ(pass.actions.size(), 3u);
    const ImageAttributes& bmp = pass.actions[0].image;
    EXPECT_EQ(pass.actions[0].kind, Kind::Bitmap);
    EXPECT_EQ(bmp.idres, 0x66);
    EXPECT_EQ(bmp.width, 50);
    EXPECT_TRUE(bmp.widthPercent);
    EXPECT_EQ(bmp.height, 20);
    EXPECT_FALSE(bmp.heightPercent);
    EXPECT_TRUE(bmp.maskGiven);
    EXPECT_EQ(bmp.maskColour, RGB(255, 0, 255));
    EXPECT_EQ(bmp.style, kImageGrey | kImageGradientShadow);
    EXPECT_EQ(bmp.hotStyle, unsigned{kImageLighter});
    const ImageAttributes& icon = pass.actions[1].image;
    EXPECT_EQ(pass.actions[1].kind, Kind::Icon);
    EXPECT_EQ(icon.file, L"c:\\a b.ico");
    EXPECT_EQ(icon.width, 100);
    EXPECT_TRUE(icon.widthPercent);
    EXPECT_FALSE(icon.maskGiven);
    const ImageAttributes& list = pass.actions[2].image;
    EXPECT_EQ(pass.actions[2].kind, Kind::ImageList);
    EXPECT_EQ(list.srcdll, L"x.dll");
    EXPECT_EQ(list.iddll, 5);
    EXPECT_EQ(list.cx, 16);
    EXPECT_EQ(list.cy, 16);
    EXPECT_EQ(list.index, 3);
    EXPECT_EQ(list.speed, 4);
    EXPECT_EQ(list.handle, 77);
}

TEST_F(ParserTest, ShadowLetterFollowsTheShadowSettings) {
    ImageShadowSettings shadow;
    EXPECT_EQ(ParseImageStyle(L"dxs", shadow), kImageDarker | kImageGradientShadow);
    shadow.gradient = false;
    EXPECT_EQ(ParseImageStyle(L"s", shadow), unsigned{kImageShadow});
    shadow.offsetX = shadow.offsetY = 0;
    EXPECT_EQ(ParseImageStyle(L"s", shadow), 0u);
}

TEST_F(ParserTest, StringResource) {
    const PassRecord pass = Pass(L"<string idres=42 iddll=1 srcdll=x.dll>");
    ASSERT_EQ(pass.actions.size(), 1u);
    EXPECT_EQ(pass.actions[0].kind, Kind::String);
    EXPECT_EQ(pass.actions[0].stringId, 42);
}

TEST_F(ParserTest, DisabledColours) {
    parser_.SetEnabled(false);
    parser_.SetDisabledColour(RGB(7, 7, 7));
    const HtmlStyle s = StyleOf(L"<font color=red bkgnd=yellow><h2>x");
    EXPECT_EQ(s.color, RGB(7, 7, 7));
    EXPECT_EQ(s.backgroundMode, kBackgroundTransparent);
    const PassRecord pass = Pass(L"<hr color=red><bmp mask=red>");
    EXPECT_EQ(pass.actions[0].rule.colour, RGB(7, 7, 7));
    EXPECT_EQ(pass.actions[1].image.maskColour, RGB(255, 0, 0));
    parser_.SetEnabled(true);
    EXPECT_EQ(StyleOf(L"<font color=red>x").color, RGB(255, 0, 0));
}

TEST_F(ParserTest, TableLayerOpensAndClosesItsOwnLevels) {
    parser_.Sheet().SetStyleRule(L"td", L"margin:6; color:red");
    parser_.BeginPass(markup_test::TestMetrics());
    ASSERT_TRUE(parser_.OpenElement(L"td", markup_test::TestMetrics()));
    EXPECT_EQ(parser_.Current().cellPadding, 6);
    EXPECT_FALSE(parser_.CloseElement(L"tr"));
    EXPECT_TRUE(parser_.CloseElement(L"td"));
    EXPECT_EQ(parser_.Current().cellPadding, 2);
    parser_.EndPass();
}

TEST_F(ParserTest, NestingDeeperThanTheLimitIsIgnored) {
    std::wstring text;
    for (size_t i = 0; i < StyleStack::kMaxDepth + 10; ++i)
        text += L"<u>";
    text += L"x";
    for (size_t i = 0; i < StyleStack::kMaxDepth + 10; ++i)
        text += L"</u>";
    text += L"y";
    const PassRecord pass = Pass(text);
    ASSERT_EQ(pass.runs.size(), 2u);
    EXPECT_EQ(pass.runs[0].style.underline, StyleStack::kMaxDepth % 2);
    EXPECT_EQ(Look(pass.runs[1].style), Body());
}
