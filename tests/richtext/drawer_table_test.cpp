#include "richtext/dib.h"
#include "tests/richtext/layout_fixture.h"

#include <string>

using layout_test::LayoutTest;

class TableTest : public LayoutTest {
protected:
    // The hot area of the link whose target is `target`.
    RECT AreaOf(const wchar_t* target) {
        for (const HotArea& area : drawer_.HotAreas())
            if (area.target == target)
                return area.rect;
        ADD_FAILURE() << "no hot area for " << std::string(target, target + wcslen(target));
        return RECT{};
    }
};

TEST_F(TableTest, ColspanCellSpansBothColumnsOfTheNextRow) {
    MeasureAndDraw(L"<table><tr><td colspan=2><a href=a>AAAAAAAAAAAA</a></td></tr>"
                   L"<tr><td><a href=b>b</a></td><td><a href=c>c</a></td></tr></table>");
    const RECT a = AreaOf(L"a"), b = AreaOf(L"b"), c = AreaOf(L"c");
    EXPECT_EQ(b.left, a.left) << "second row starts in the first column";
    EXPECT_GT(c.left, b.right) << "and goes on in the second";
    EXPECT_LT(c.left, a.right);
    EXPECT_GT(b.top, a.bottom);
}

TEST_F(TableTest, RowspanCellPushesTheNextRowRight) {
    MeasureAndDraw(L"<table><tr><td rowspan=2><a href=a>XXXX</a></td><td><a href=b>b</a></td></tr>"
                   L"<tr><td><a href=c>c</a></td><td><a href=d>d</a></td></tr></table>");
    const RECT a = AreaOf(L"a"), b = AreaOf(L"b"), c = AreaOf(L"c"), d = AreaOf(L"d");
    EXPECT_EQ(c.left, b.left) << "the first cell of row 2 takes column 1";
    EXPECT_GT(c.left, a.right);
    EXPECT_GT(d.left, c.right) << "the next takes column 2";
    EXPECT_GT(c.top, b.top);
}

TEST_F(TableTest, SizeAddsPaddingSpacingAndBorders) {
    const int a = WidthOf(L"a");
    const int b = WidthOf(L"bb");
    const SIZE size = Measure(L"<table border=2 cellpadding=3 cellspacing=4><tr><td>a</td>"
                              L"<td>bb</td></tr></table>");
    // Cells: content + 2 * (1-pixel cell border + padding 3); spacing 3 times; 1 between.
    EXPECT_EQ(size.cx, (a + 8) + (b + 8) + 3 * 4 + 1 + 2 * 2 + 1);
}

TEST_F(TableTest, SurplusWidensColumnsWithoutWidthOfTheirOwn) {
    const SIZE size = Measure(L"<table border=1><tr><td width=40>a</td><td>b</td></tr></table>");
    canvas_.Fill(RGB(255, 255, 255));
    drawer_.DrawMarkup(canvas_.Dc(), RECT{0, 0, 300, size.cy});
    EXPECT_EQ(RightmostInk(0, size.cy), 299) << "the table reaches the rectangle's edge";
}

TEST_F(TableTest, FixedTableIsPlacedByItsAlign) {
    const wchar_t* text = L"<table border=1 align=right><tr><td width=40>a</td></tr></table>";
    const SIZE size = Measure(text);
    canvas_.Fill(RGB(255, 255, 255));
    drawer_.DrawMarkup(canvas_.Dc(), RECT{0, 0, 300, size.cy});
    EXPECT_EQ(RightmostInk(0, size.cy), 299);
    const int width = size.cx - 1;
    int leftmost = -1;
    for (int x = 0; x < 300 && leftmost < 0; ++x)
        if (canvas_.Pixel(x, size.cy / 2) != RGB(255, 255, 255))
            leftmost = x;
    EXPECT_EQ(leftmost, 300 - width);
}

TEST_F(TableTest, CellBackgroundAndVerticalMiddle) {
    const SIZE size =
        MeasureAndDraw(L"<table><tr><td bgcolor=#00ff00 bgeffect=solid height=60 valign=middle>"
                       L"<a href=m>m</a></td><td>x</td></tr></table>");
    EXPECT_GE(size.cy, 60);
    EXPECT_GT(CountColour(RECT{0, 0, 10, 10}, RGB(0, 255, 0)), 50);
    const RECT m = AreaOf(L"m");
    EXPECT_NEAR((m.top + m.bottom) / 2, size.cy / 2, 3);
}

TEST_F(TableTest, TextAroundATableStacksAsBlocks) {
    const SIZE before = Measure(L"above");
    const SIZE table = Measure(L"<table><tr><td>cell</td></tr></table>");
    const SIZE all = Measure(L"above<table><tr><td>cell</td></tr></table>below");
    EXPECT_EQ(all.cy, (before.cy - 1) + (table.cy - 1) + (before.cy - 1) + 1);
    EXPECT_EQ(drawer_.Lines().size(), 3u);
}

TEST_F(TableTest, NestedTableInsideACell) {
    MeasureAndDraw(L"<table border=1><tr><td><table border=1><tr><td><a href=in>in</a></td>"
                   L"</tr></table></td><td><a href=out>out</a></td></tr></table>");
    const RECT in = AreaOf(L"in"), out = AreaOf(L"out");
    EXPECT_LT(in.right, out.left);
}

TEST_F(TableTest, CellStylesDoNotLeakOutOfTheCell) {
    const int plain = WidthOf(L"after ");
    MeasureAndDraw(L"<table><tr><td><b><i>open</td></tr></table>after <a href=z>z</a>");
    const RECT z = AreaOf(L"z");
    EXPECT_EQ(z.left, plain) << "bold and italic ended with the cell";
}

class HostileLayoutTest : public LayoutTest {};

TEST_F(HostileLayoutTest, DeepNestingOfTagsAndTables) {
    std::wstring tags;
    for (int i = 0; i < 20000; ++i)
        tags += L"<b><i><font color=red size=+1>";
    tags += L"deep";
    MeasureAndDraw(tags, 200);
    std::wstring tables;
    for (int i = 0; i < 3000; ++i)
        tables += L"<table border=1><tr><td>";
    tables += L"core";
    const SIZE size = MeasureAndDraw(tables, 300);
    EXPECT_GT(size.cy, 0);
}

TEST_F(HostileLayoutTest, HugeTablesFinish) {
    std::wstring text = L"<table border=1 cellspacing=1000000 cellpadding=1000000>";
    for (int r = 0; r < 300; ++r) {
        text += L"<tr>";
        for (int c = 0; c < 40; ++c)
            text += L"<td colspan=100000 rowspan=100000 width=2000000000>x</td>";
        text += L"</tr>";
    }
    text += L"</table><table>";
    for (int c = 0; c < 5000; ++c)
        text += L"<td>y";
    const SIZE size = MeasureAndDraw(text, 300);
    EXPECT_GT(size.cy, 0);
    EXPECT_TRUE(canvas_.GuardsIntact());
}

TEST_F(HostileLayoutTest, MegabyteOfTextFinishes) {
    std::wstring words;
    while (words.size() < 1024 * 1024)
        words += L"lorem ipsum, dolor-sit amet ";
    const SIZE wrapped = MeasureAndDraw(words, 300);
    EXPECT_GT(drawer_.Lines().size(), 1000u);
    EXPECT_LE(wrapped.cx, 300);
    const std::wstring solid(1024 * 1024, L'w');
    MeasureAndDraw(solid, 300);
    EXPECT_GT(drawer_.Lines().size(), 1000u);
    MeasureAndDraw(solid, 0);
    EXPECT_EQ(drawer_.Lines().size(), 1u);
    std::wstring markup;
    while (markup.size() < 1024 * 1024)
        markup += L"<b>x</b><t><br><hr width=10%><a href=q>q</a><<&amp;<";
    MeasureAndDraw(markup, 300);
    EXPECT_TRUE(canvas_.GuardsIntact());
}

TEST_F(TableTest, DisabledFramesTakeTheDisabledColour) {
    const COLORREF disabled = RGB(10, 120, 30);
    drawer_.SetDisabledColour(disabled);
    drawer_.SetEnabled(false);
    const SIZE size = MeasureAndDraw(
        L"<table border=1 bordercolorlight=#ff0000 bordercolordark=#0000ff><tr><td>a</td></tr>"
        L"</table>");
    EXPECT_EQ(canvas_.Pixel(0, size.cy / 2), disabled);
    EXPECT_EQ(canvas_.Pixel(size.cx - 2, size.cy / 2), disabled);
    drawer_.SetEnabled(true);
    const SIZE enabled = MeasureAndDraw(
        L"<table border=1 bordercolorlight=#ff0000 bordercolordark=#0000ff><tr><td>a</td></tr>"
        L"</table>");
    EXPECT_EQ(canvas_.Pixel(0, enabled.cy / 2), RGB(255, 0, 0));
    EXPECT_EQ(canvas_.Pixel(enabled.cx - 2, enabled.cy / 2), RGB(0, 0, 255));
}

TEST_F(HostileLayoutTest, LongTextOnAOnePixelLine) {
    const std::wstring text(200000, L'w');
    Measure(text, 1);
    EXPECT_EQ(drawer_.Lines().size(), text.size());
}

TEST_F(TableTest, OwnWidthIsAMinimumAndTheTableKeepsIt) {
    const SIZE size = Measure(L"<table width=200 border=1><tr><td>a</td><td>b</td></tr></table>");
    EXPECT_EQ(size.cx, 201);
    canvas_.Fill(RGB(255, 255, 255));
    drawer_.DrawMarkup(canvas_.Dc(), RECT{0, 0, 380, size.cy});
    EXPECT_EQ(RightmostInk(0, size.cy), 199) << "not stretched to the rectangle";
}

TEST_F(TableTest, BackgroundBitmapFillsTheInside) {
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
    const int inside = (size.cx - 3) * (size.cy - 3);
    EXPECT_GE(CountColour(RECT{1, 1, size.cx - 2, size.cy - 2}, RGB(0x80, 0x80, 0x80)),
              inside * 3 / 4);
    EXPECT_EQ(canvas_.Pixel(0, size.cy / 2), RGB(0, 0, 0)) << "the frame is drawn over it";
}

TEST_F(HostileLayoutTest, HugeSizesOfRulesImagesAndFonts) {
    const platform::UniqueBitmap bitmap = testing_canvas::MakeSolidBitmap(4, 4, RGB(1, 2, 3));
    const std::wstring handle =
        std::to_wstring(static_cast<unsigned>(reinterpret_cast<UINT_PTR>(bitmap.Get())));
    const std::wstring text = L"<hr size=2147483647 width=2147483647>x<hr size=99999999>"
                              L"<bmp handle=" +
                              handle + L" width=100000000 height=100000000 style=gs>" +
                              L"<bmp handle=" + handle + L" width=900000% height=900000%>" +
                              L"<font size=100000px>W</font><t=1000><t=1000>y<br=1000><br=1000>";
    for (int maxWidth : {0, 100}) {
        const SIZE size = MeasureAndDraw(text, maxWidth, 300);
        EXPECT_GT(size.cy, 0);
        EXPECT_TRUE(canvas_.GuardsIntact());
    }
}
