#include "tests/richtext/layout_fixture.h"

#include <string>

using layout_test::LayoutTest;

namespace {

const wchar_t kParagraph[] =
    L"The quick brown fox jumps over the lazy dog and keeps running through the field "
    L"until the evening comes and the sun sets behind the hills far away";

} // namespace

class FlowTest : public LayoutTest {};

TEST_F(FlowTest, EmptyTextHasNoSize) {
    const SIZE size = Measure(L"");
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 0);
    EXPECT_TRUE(drawer_.Lines().empty());
}

TEST_F(FlowTest, UnlimitedWidthNeverWraps) {
    std::wstring text;
    for (int i = 0; i < 200; ++i)
        text += L"word, and more- ";
    const SIZE size = Measure(text, 0);
    ASSERT_EQ(drawer_.Lines().size(), 1u);
    EXPECT_GT(size.cx, 3000);
    EXPECT_EQ(size.cy, drawer_.Lines()[0].height + 1);
}

TEST_F(FlowTest, SizeIsOnePixelLargerUnlessCutToTheMaximum) {
    const int width = WidthOf(L"abc");
    const SIZE size = Measure(L"abc", 500);
    EXPECT_EQ(size.cx, width + 1);
    const SIZE wrapped = Measure(kParagraph, 120);
    EXPECT_LE(wrapped.cx, 120);
    EXPECT_GT(drawer_.Lines().size(), 3u);
}

TEST_F(FlowTest, WordWiderThanTheLineIsCutInsideTheWord) {
    const std::wstring word(40, L'W');
    const int maxWidth = 3 * WidthOf(L"W") + 2;
    Measure(word, maxWidth);
    const auto& lines = drawer_.Lines();
    ASSERT_GE(lines.size(), 10u);
    for (const LineRecord& line : lines) {
        EXPECT_LE(line.width, maxWidth);
        EXPECT_GT(line.width, 0) << "every line takes a character";
        EXPECT_TRUE(&line == &lines.back() || line.wrapped);
    }
}

TEST_F(FlowTest, HyphenatedWordBreaksAfterTheHyphen) {
    const int first = WidthOf(L"one-");
    const int whole = WidthOf(L"one-two");
    ASSERT_LT(first, whole);
    Measure(L"one-two", (first + whole) / 2);
    ASSERT_EQ(drawer_.Lines().size(), 2u);
    EXPECT_EQ(drawer_.Lines()[0].width, first);
    EXPECT_EQ(drawer_.Lines()[1].width, WidthOf(L"two"));
}

TEST_F(FlowTest, OpeningParenthesisStaysWithItsWord) {
    const int upToParen = WidthOf(L"a (");
    const int whole = WidthOf(L"a (b)");
    Measure(L"a (b)", (upToParen + whole) / 2);
    ASSERT_EQ(drawer_.Lines().size(), 2u);
    EXPECT_EQ(drawer_.Lines()[0].width, WidthOf(L"a")) << "the blank is dropped";
    EXPECT_EQ(drawer_.Lines()[1].width, WidthOf(L"(b)"));
}

TEST_F(FlowTest, WrappingBetweenRunsDropsTheTrailingBlank) {
    const int second = WidthOf(L"<b>betagammadelta</b>");
    Measure(L"alpha <b>betagammadelta</b>", second + 2);
    ASSERT_EQ(drawer_.Lines().size(), 2u);
    EXPECT_EQ(drawer_.Lines()[0].width, WidthOf(L"alpha"));
    EXPECT_TRUE(drawer_.Lines()[0].wrapped);
}

TEST_F(FlowTest, JustifiedParagraphSpreadsAllLinesButTheLast) {
    const int width = 300;
    const SIZE size =
        MeasureAndDraw(std::wstring(L"<justify>") + kParagraph + L"</justify>", width);
    const auto& lines = drawer_.Lines();
    ASSERT_GE(lines.size(), 3u);
    int top = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int ink = RightmostInk(top, top + lines[i].height);
        if (i + 1 < lines.size()) {
            EXPECT_TRUE(lines[i].wrapped);
            EXPECT_GE(ink, width - 3) << "line " << i;
        } else {
            EXPECT_FALSE(lines[i].wrapped);
            EXPECT_LT(ink, width - 10) << "last line";
        }
        top += lines[i].height;
    }
    EXPECT_LE(size.cx, width);
}

TEST_F(FlowTest, LineEndingAtBreakTagIsNotSpread) {
    MeasureAndDraw(L"<justify>short line here<br>and the next one</justify>", 300);
    const auto& lines = drawer_.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_FALSE(lines[0].wrapped);
    EXPECT_LT(RightmostInk(0, lines[0].height), lines[0].width + 2);
}

TEST_F(FlowTest, CenterAndRightPlaceTheLine) {
    MeasureAndDraw(L"<right>abc</right>", 0, 300);
    EXPECT_GE(RightmostInk(0, 20), 296);
    const int width = WidthOf(L"abc");
    MeasureAndDraw(L"<center>abc</center>", 0, 300);
    const int ink = RightmostInk(0, 20);
    EXPECT_NEAR(ink, (300 - width) / 2 + width, 3);
}

TEST_F(FlowTest, BreakWithCountAdvancesThatManyLines) {
    const SIZE one = Measure(L"a<br>b");
    const SIZE three = Measure(L"a<br=3>b");
    const int height = drawer_.Lines()[0].height;
    ASSERT_EQ(drawer_.Lines().size(), 2u);
    EXPECT_EQ(three.cy - one.cy, 2 * height);
    EXPECT_EQ(three.cy, 4 * height + 1);
}

TEST_F(FlowTest, BreakOnEmptyLineTakesTheFontHeight) {
    Measure(L"x");
    const int height = drawer_.Lines()[0].height;
    Measure(L"<br>x");
    ASSERT_EQ(drawer_.Lines().size(), 2u);
    EXPECT_EQ(drawer_.Lines()[0].height, height);
    EXPECT_EQ(drawer_.Lines()[0].width, 0);
}

TEST_F(FlowTest, TabsMoveToTheNextStop) {
    const int b = WidthOf(L"b");
    EXPECT_EQ(Measure(L"a<t>b").cx, 32 + b + 1);
    EXPECT_EQ(Measure(L"<t>b").cx, 32 + b + 1) << "standing on a stop moves a full tab";
    EXPECT_EQ(Measure(L"a<t=3>b").cx, 96 + b + 1);
}

TEST_F(FlowTest, RuleTakesItsThicknessPlusEightAndPercentOfTheRectangle) {
    Measure(L"<hr size=6>");
    ASSERT_EQ(drawer_.Lines().size(), 1u);
    EXPECT_GE(drawer_.Lines()[0].ascent, 14);
    EXPECT_EQ(drawer_.Lines()[0].percentWidth, 100);
    MeasureAndDraw(L"<hr width=50% size=2 color=#ff0000>", 0, 200);
    EXPECT_GT(CountColour(RECT{0, 0, 100, 30}, RGB(255, 0, 0)), 150);
    EXPECT_EQ(CountColour(RECT{102, 0, 400, 30}, RGB(255, 0, 0)), 0);
}

TEST_F(FlowTest, TextTransformChangesTheRun) {
    EXPECT_EQ(Measure(L"<font style=''>x</font>").cx, WidthOf(L"x") + 1);
    drawer_.SetStyleRule(L".up", L"text-transform:uppercase");
    EXPECT_EQ(Measure(L"<span class=up>abc</span>").cx, WidthOf(L"ABC") + 1);
}

TEST_F(FlowTest, PassesLeaveTheDeviceContextAsFound) {
    const HGDIOBJ font = ::GetCurrentObject(canvas_.Dc(), OBJ_FONT);
    ::SetTextColor(canvas_.Dc(), RGB(1, 2, 3));
    ::SetBkMode(canvas_.Dc(), OPAQUE);
    MeasureAndDraw(L"<b>bold <font color=red>red</font></b> <i>x", 100);
    EXPECT_EQ(::GetCurrentObject(canvas_.Dc(), OBJ_FONT), font);
    EXPECT_EQ(::GetTextColor(canvas_.Dc()), RGB(1, 2, 3));
    EXPECT_EQ(::GetBkMode(canvas_.Dc()), OPAQUE);
}

TEST_F(FlowTest, DrawingPaintsTheTextInItsColour) {
    MeasureAndDraw(L"<font color=#ff0000>MMMM</font>");
    EXPECT_GT(CountColour(RECT{0, 0, 400, 40}, RGB(255, 0, 0)), 10);
}

TEST_F(FlowTest, StringResourceIsOnePieceAndCanBeALink) {
    // No module of the test holds string 9999: the cache's text for a missing number shows.
    const int width = WidthOf(L"Unknown resource");
    EXPECT_EQ(Measure(L"<string idres=9999>").cx, width + 1);
    Measure(L"ab <string idres=9999>", width + 5);
    ASSERT_EQ(drawer_.Lines().size(), 2u) << "not broken inside: moved to a line of its own";
    EXPECT_EQ(drawer_.Lines()[1].width, width);
    MeasureAndDraw(L"<a href=s><string idres=9999></a>");
    ASSERT_EQ(drawer_.HotAreas().size(), 1u);
    EXPECT_EQ(drawer_.HotAreas()[0].rect.right - drawer_.HotAreas()[0].rect.left, width);
}

TEST_F(FlowTest, VerticalAlignPlacesPiecesInTheLine) {
    drawer_.SetStyleRule(L"a:link", L"color:black");
    MeasureAndDraw(L"<font size=40px>B</font><top><a href=t>x</a></top>"
                   L"<bottom><a href=b>x</a></bottom><a href=l>x</a>");
    ASSERT_EQ(drawer_.Lines().size(), 1u);
    const LineRecord line = drawer_.Lines()[0];
    RECT top{}, bottom{}, base{};
    for (const HotArea& area : drawer_.HotAreas()) {
        (area.target == L"t" ? top : area.target == L"b" ? bottom : base) = area.rect;
    }
    EXPECT_EQ(top.top, 0);
    EXPECT_GT(base.top, top.top);
    EXPECT_GT(bottom.top, base.top) << "bottom: the piece's ascent ends at the line's bottom";
    EXPECT_LE(base.bottom, line.height);
}

TEST_F(FlowTest, OverlineRunsAlongTheTopOfThePiece) {
    const int width = WidthOf(L"MMMM");
    MeasureAndDraw(L"<font style=o color=#ff0000>MMMM</font>");
    EXPECT_GE(CountColour(RECT{0, 0, width, 1}, RGB(255, 0, 0)), width - 1);
    MeasureAndDraw(L"<font style=bo color=#ff0000>MMMM</font>");
    EXPECT_GE(CountColour(RECT{0, 1, width, 2}, RGB(255, 0, 0)), width / 2) << "two pixels bold";
}

TEST_F(FlowTest, DrawingAtAPointMovesEverything) {
    const SIZE size = drawer_.DrawMarkupAt(canvas_.Dc(), L"<a href=x>link</a>", POINT{50, 40});
    ASSERT_EQ(drawer_.HotAreas().size(), 1u);
    EXPECT_EQ(drawer_.HotAreas()[0].rect.left, 50);
    EXPECT_EQ(drawer_.HotAreas()[0].rect.top, 40);
    EXPECT_EQ(size.cx, WidthOf(L"link") + 1);
}
