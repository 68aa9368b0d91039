#include "tests/richtext/layout_fixture.h"

#include <string>

using layout_test::LayoutTest;

namespace {

const wchar_t kParagraph[] =
    L"The quick brown fox jumps over the lazy dog and keeps running through the field "
    L"until the evening comes and the sun sets behind the hills far away";

} // namespace

class FlowTest : public LayoutTest {};

TEST_F(FlowTest, SizeIsOnePixelLargerUnlessCutToTheMaximumAndNothingWrapsWithoutOne) {
    EXPECT_EQ(Measure(L"").cx, 0);
    EXPECT_EQ(Measure(L"abc", 500).cx, WidthOf(L"abc") + 1);
    EXPECT_LE(Measure(kParagraph, 120).cx, 120);
    EXPECT_GT(drawer_.Lines().size(), 3u);
    std::wstring text;
    for (int i = 0; i < 200; ++i)
        text += L"word, and more- ";
    const SIZE size = Measure(text, 0);
    ASSERT_EQ(drawer_.Lines().size(), 1u);
    EXPECT_GT(size.cx, 3000);
    EXPECT_EQ(size.cy, drawer_.Lines()[0].height + 1);
}

TEST_F(FlowTest, AWordWiderThanTheLineIsCutAndABlankBeforeAWrapIsDropped) {
    const int maxWidth = 3 * WidthOf(L"W") + 2;
    Measure(std::wstring(40, L'W'), maxWidth);
    ASSERT_GE(drawer_.Lines().size(), 10u);
    for (const LineRecord& line : drawer_.Lines()) {
        EXPECT_LE(line.width, maxWidth);
        EXPECT_GT(line.width, 0) << "every line takes a character";
    }
    Measure(L"alpha <b>betagammadelta</b>", WidthOf(L"<b>betagammadelta</b>") + 2);
    ASSERT_EQ(drawer_.Lines().size(), 2u);
    EXPECT_EQ(drawer_.Lines()[0].width, WidthOf(L"alpha"));
    EXPECT_TRUE(drawer_.Lines()[0].wrapped);
}

TEST_F(FlowTest, AJustifiedParagraphSpreadsWrappedLinesButNotTheLastOrOneEndingAtABreak) {
    const int width = 300;
    MeasureAndDraw(std::wstring(L"<justify>") + kParagraph + L"<br>short line</justify>", width);
    const auto& lines = drawer_.Lines();
    ASSERT_GE(lines.size(), 4u);
    int top = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int ink = RightmostInk(top, top + lines[i].height);
        if (lines[i].wrapped)
            EXPECT_GE(ink, width - 3) << "line " << i;
        else
            EXPECT_LT(ink, width - 10) << "line " << i;
        top += lines[i].height;
    }
    EXPECT_FALSE(lines[lines.size() - 2].wrapped) << "ended by the break";
}

TEST_F(FlowTest, CenterAndRightPlaceTheLine) {
    MeasureAndDraw(L"<right>abc</right>", 0, 300);
    EXPECT_GE(RightmostInk(0, 20), 296);
    MeasureAndDraw(L"<center>abc</center>", 0, 300);
    EXPECT_NEAR(RightmostInk(0, 20), (300 - WidthOf(L"abc")) / 2 + WidthOf(L"abc"), 3);
}

TEST_F(FlowTest, BreaksTabsAndRules) {
    const int height = Measure(L"x").cy - 1;
    EXPECT_EQ(Measure(L"a<br=3>b").cy, 4 * height + 1);
    Measure(L"<br>x");
    EXPECT_EQ(drawer_.Lines()[0].height, height) << "an empty line takes the font height";
    const int b = WidthOf(L"b");
    EXPECT_EQ(Measure(L"a<t>b").cx, 32 + b + 1);
    EXPECT_EQ(Measure(L"<t>b").cx, 32 + b + 1) << "standing on a stop moves a full tab";
    EXPECT_EQ(Measure(L"a<t=3>b").cx, 96 + b + 1);
    Measure(L"<hr size=6>");
    EXPECT_GE(drawer_.Lines()[0].ascent, 14);
    EXPECT_EQ(drawer_.Lines()[0].percentWidth, 100);
    MeasureAndDraw(L"<hr width=50% size=2 color=#ff0000>", 0, 200);
    const RECT left{0, 0, 100, 30}, right{102, 0, 400, 30};
    EXPECT_GT(canvas_.CountOf(RGB(255, 0, 0), &left), 150);
    EXPECT_EQ(canvas_.CountOf(RGB(255, 0, 0), &right), 0);
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

TEST_F(FlowTest, AStringResourceIsOnePieceAndCanBeALink) {
    // No module of the test holds string 9999: the cache's text for a missing number shows.
    const int width = WidthOf(L"Unknown resource");
    Measure(L"ab <string idres=9999>", width + 5);
    ASSERT_EQ(drawer_.Lines().size(), 2u) << "not broken inside: moved to a line of its own";
    EXPECT_EQ(drawer_.Lines()[1].width, width);
    MeasureAndDraw(L"<a href=s><string idres=9999></a>");
    EXPECT_EQ(AreaOf(L"s").right - AreaOf(L"s").left, width);
}

TEST_F(FlowTest, VerticalAlignPlacesPiecesInTheLine) {
    MeasureAndDraw(L"<font size=40px>B</font><top><a href=t>x</a></top>"
                   L"<bottom><a href=b>x</a></bottom><a href=l>x</a>");
    ASSERT_EQ(drawer_.Lines().size(), 1u);
    EXPECT_EQ(AreaOf(L"t").top, 0);
    EXPECT_GT(AreaOf(L"l").top, 0);
    EXPECT_GT(AreaOf(L"b").top, AreaOf(L"l").top) << "the ascent ends at the line's bottom";
    EXPECT_LE(AreaOf(L"l").bottom, drawer_.Lines()[0].height);
}

TEST_F(FlowTest, TextAndItsOverlineAreDrawnInTheTextColour) {
    const int width = WidthOf(L"MMMM");
    MeasureAndDraw(L"<font style=o color=#ff0000>MMMM</font>");
    const RECT top{0, 0, width, 1}, second{0, 1, width, 2}, all{0, 0, 400, 40};
    EXPECT_GE(canvas_.CountOf(RGB(255, 0, 0), &top), width - 1);
    EXPECT_GT(canvas_.CountOf(RGB(255, 0, 0), &all), 10 + width);
    MeasureAndDraw(L"<font style=bo color=#ff0000>MMMM</font>");
    EXPECT_GE(canvas_.CountOf(RGB(255, 0, 0), &second), width / 2) << "two pixels when bold";
}
