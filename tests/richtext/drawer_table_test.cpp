#include "richtext/dib.h"
#include "tests/richtext/layout_fixture.h"

#include <string>

using layout_test::LayoutTest;

class TableTest : public LayoutTest {};

TEST_F(TableTest, SpanningCellsPlaceTheCellsAroundThem) {
    MeasureAndDraw(L"<table><tr><td colspan=2><a href=a>AAAAAAAAAAAA</a></td></tr>"
                   L"<tr><td><a href=b>b</a></td><td><a href=c>c</a></td></tr></table>");
    EXPECT_EQ(AreaOf(L"b").left, AreaOf(L"a").left) << "second row starts in the first column";
    EXPECT_GT(AreaOf(L"c").left, AreaOf(L"b").right);
    EXPECT_LT(AreaOf(L"c").left, AreaOf(L"a").right);
    MeasureAndDraw(L"<table><tr><td rowspan=2><a href=a>XXXX</a></td><td><a href=b>b</a></td>"
                   L"</tr><tr><td><a href=c>c</a></td><td><a href=d>d</a></td></tr></table>");
    EXPECT_EQ(AreaOf(L"c").left, AreaOf(L"b").left) << "the first cell of row 2 takes column 1";
    EXPECT_GT(AreaOf(L"d").left, AreaOf(L"c").right);
}

TEST_F(TableTest, SizeAddsPaddingSpacingAndBordersAndTextAroundStacksAsBlocks) {
    const SIZE size = Measure(L"<table border=2 cellpadding=3 cellspacing=4><tr><td>a</td>"
                              L"<td>bb</td></tr></table>");
    // Cells: content + 2 * (1-pixel cell border + padding 3); spacing 3 times; 1 between.
    EXPECT_EQ(size.cx, (WidthOf(L"a") + 8) + (WidthOf(L"bb") + 8) + 3 * 4 + 1 + 2 * 2 + 1);
    const SIZE line = Measure(L"above");
    const SIZE table = Measure(L"<table><tr><td>cell</td></tr></table>");
    const SIZE all = Measure(L"above<table><tr><td>cell</td></tr></table>below");
    EXPECT_EQ(all.cy, 2 * (line.cy - 1) + (table.cy - 1) + 1);
    // A block's last line, even without a break after it, is drawn above the next block.
    MeasureAndDraw(L"a<br><a href=s>b</a><table><tr><td><a href=c>c</a></td></tr></table>");
    EXPECT_GE(AreaOf(L"c").top, AreaOf(L"s").bottom);
}

// The sum of block heights is clamped like every other coordinate, so a text taller than an
// int can count still has a size and is drawn from its top.
TEST_F(TableTest, StackedTablesTallerThanAnIntStillHaveASizeAndDraw) {
    std::wstring text;
    for (int i = 0; i < 5; ++i)
        text += L"<table><tr><td height=2000000000><a href=t" + std::to_wstring(i) +
                L">x</a></td></tr></table>";
    const SIZE size = MeasureAndDraw(text, 300);
    EXPECT_GE(size.cy, 2000000000 / 4);
    EXPECT_EQ(AreaOf(L"t0").top, 2) << "the first cell, inside its padding";
    EXPECT_GE(AreaOf(L"t1").top, AreaOf(L"t0").top);
}

TEST_F(TableTest, ASurplusWidensFreeColumnsOrPlacesAFixedTableByItsAlign) {
    SIZE size = Measure(L"<table border=1><tr><td width=40>a</td><td>b</td></tr></table>");
    drawer_.DrawMarkup(canvas_.Dc(), RECT{0, 0, 300, size.cy});
    EXPECT_EQ(RightmostInk(0, size.cy), 299) << "the table reaches the rectangle's edge";
    size = Measure(L"<table border=1 align=right><tr><td width=40>a</td></tr></table>");
    canvas_.Fill(RGB(255, 255, 255));
    drawer_.DrawMarkup(canvas_.Dc(), RECT{0, 0, 300, size.cy});
    EXPECT_EQ(RightmostInk(0, size.cy), 299);
    EXPECT_EQ(canvas_.Pixel(300 - size.cx, size.cy / 2), RGB(255, 255, 255));
    EXPECT_EQ(canvas_.Pixel(301 - size.cx, size.cy / 2), RGB(0, 0, 0));
    size = Measure(L"<table width=200 border=1><tr><td>a</td><td>b</td></tr></table>");
    EXPECT_EQ(size.cx, 201) << "its own width is a minimum the table keeps";
    canvas_.Fill(RGB(255, 255, 255));
    drawer_.DrawMarkup(canvas_.Dc(), RECT{0, 0, 380, size.cy});
    EXPECT_EQ(RightmostInk(0, size.cy), 199);
}

TEST_F(TableTest, CellBackgroundsMiddleAlignmentAndStylesThatEndWithTheCell) {
    MeasureAndDraw(L"<table><tr><td bgcolor=#00ff00 bgeffect=solid height=60 valign=middle>"
                   L"<b><i><a href=m>m</a></td><td>x</td></tr></table>after <a href=z>z</a>");
    const RECT corner{0, 0, 10, 10};
    EXPECT_GT(canvas_.CountOf(RGB(0, 255, 0), &corner), 50);
    const int tableHeight = AreaOf(L"z").top;
    EXPECT_GE(tableHeight, 60);
    EXPECT_NEAR((AreaOf(L"m").top + AreaOf(L"m").bottom) / 2, tableHeight / 2, 3);
    EXPECT_EQ(AreaOf(L"z").left, WidthOf(L"after ")) << "bold and italic ended with the cell";
    MeasureAndDraw(L"<table border=1><tr><td><table border=1><tr><td><a href=in>in</a></td>"
                   L"</tr></table></td><td><a href=out>out</a></td></tr></table>");
    EXPECT_LT(AreaOf(L"in").right, AreaOf(L"out").left);
}

TEST_F(TableTest, FramesTakeTheirColoursOrTheDisabledColour) {
    const std::wstring text = L"<table border=1 bordercolorlight=#ff0000 bordercolordark=#0000ff>"
                              L"<tr><td>a</td></tr></table>";
    SIZE size = MeasureAndDraw(text);
    EXPECT_EQ(canvas_.Pixel(0, size.cy / 2), RGB(255, 0, 0));
    EXPECT_EQ(canvas_.Pixel(size.cx - 2, size.cy / 2), RGB(0, 0, 255));
    drawer_.SetDisabledColour(RGB(10, 120, 30));
    drawer_.SetEnabled(false);
    size = MeasureAndDraw(text);
    EXPECT_EQ(canvas_.Pixel(0, size.cy / 2), RGB(10, 120, 30));
    EXPECT_EQ(canvas_.Pixel(size.cx - 2, size.cy / 2), RGB(10, 120, 30));
}

TEST_F(TableTest, ABackgroundBitmapTilesTheInside) {
    CDib dib;
    ASSERT_TRUE(dib.Create(4, 4, 24));
    dib.Clear(0x80);
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"layout_test_tile.bmp";
    ASSERT_TRUE(dib.WriteBitmapFile(path));
    const SIZE size = MeasureAndDraw(L"<table border=1 width=60 height=30 background=\"file:" +
                                     path + L";\"><tr><td></td></tr></table>");
    ::DeleteFileW(path.c_str());
    const RECT inside{1, 1, size.cx - 2, size.cy - 2};
    EXPECT_GE(canvas_.CountOf(RGB(0x80, 0x80, 0x80), &inside),
              (size.cx - 3) * (size.cy - 3) * 3 / 4);
    EXPECT_EQ(canvas_.Pixel(0, size.cy / 2), RGB(0, 0, 0)) << "the frame is drawn over it";
}
