#include "richtext/html_table_attributes.h"
#include "richtext/html_text_transform.h"

#include <gtest/gtest.h>

using namespace richtext;

class TableAttributesTest : public ::testing::Test {
protected:
    TableAttributes Apply(TableElement element, std::wstring_view attributes) {
        return ApplyTableAttributes(element, attributes, style_,
                                    StyleContext{colours_, metrics_, disabled_});
    }

    ColourTable colours_;
    FixedMetrics metrics_{96, 16, 8};
    HtmlStyle style_;
    const COLORREF* disabled_ = nullptr;
};

TEST_F(TableAttributesTest, BackgroundColoursAndEffect) {
    Apply(TableElement::Cell, L"bgcolor=red bgmidcolor=#00ff00 bgendcolor=blue");
    EXPECT_EQ(style_.backgroundColor, RGB(255, 0, 0));
    EXPECT_EQ(style_.backgroundMiddleColor, RGB(0, 255, 0));
    EXPECT_EQ(style_.backgroundEndColor, RGB(0, 0, 255));
    EXPECT_EQ(style_.backgroundEffect, kEffectSolid);
    Apply(TableElement::Cell, L"bgeffect=vgradient");
    EXPECT_EQ(style_.backgroundEffect, 2);
    Apply(TableElement::Cell, L"bgeffect=transparent");
    EXPECT_EQ(style_.backgroundEffect, kEffectTransparent);
    Apply(TableElement::Cell, L"bgeffect=13 bgcolor=red");
    EXPECT_EQ(style_.backgroundEffect, 13);
    Apply(TableElement::Cell, L"bgeffect=sparkle");
    EXPECT_EQ(style_.backgroundEffect, 13);
    Apply(TableElement::Cell, L"bgeffect=99");
    EXPECT_EQ(style_.backgroundEffect, 15);
}

TEST_F(TableAttributesTest, DisabledIgnoresBackgroundsAndGreysBorders) {
    const COLORREF grey = RGB(50, 50, 50);
    disabled_ = &grey;
    Apply(TableElement::Table,
          L"bgcolor=red bgeffect=2 bordercolorlight=white bordercolordark=navy");
    EXPECT_EQ(style_.backgroundColor, HtmlStyle{}.backgroundColor);
    EXPECT_EQ(style_.backgroundEffect, kEffectTransparent);
    EXPECT_EQ(style_.borderColorLight, grey);
    EXPECT_EQ(style_.borderColorDark, grey);
}

TEST_F(TableAttributesTest, SizesSpansAndAlignment) {
    const TableAttributes cell =
        Apply(TableElement::Cell, L"width=40% height=30 colspan=2 rowspan=99999999 align=right "
                                  L"valign=middle border=2");
    EXPECT_EQ(style_.cellWidth, 40);
    EXPECT_TRUE(style_.cellWidthPercent);
    EXPECT_EQ(style_.cellHeight, 30);
    EXPECT_FALSE(style_.cellHeightPercent);
    EXPECT_EQ(cell.colspan, 2);
    EXPECT_EQ(cell.rowspan, 1000);
    EXPECT_EQ(style_.horizontalAlign, kAlignRight);
    EXPECT_EQ(style_.verticalAlign, kAlignMiddle);
    EXPECT_EQ(style_.borderWidth, 2);
    EXPECT_EQ(style_.borderStyle, kBorderSolid);
    EXPECT_EQ(Apply(TableElement::Cell, L"colspan=0").colspan, 1);
}

TEST_F(TableAttributesTest, PaddingSpacingAndBackgroundOnlyOnTables) {
    Apply(TableElement::Cell, L"cellpadding=9 cellspacing=9 background='idres:5;'");
    EXPECT_EQ(style_.cellPadding, 2);
    EXPECT_EQ(style_.cellSpacing, 0);
    EXPECT_TRUE(style_.backgroundImage.empty());
    Apply(TableElement::Table, L"cellpadding=9 cellspacing=3 background='idres:5;'");
    EXPECT_EQ(style_.cellPadding, 9);
    EXPECT_EQ(style_.cellSpacing, 3);
    EXPECT_EQ(style_.backgroundImage, L"idres:5;");
}

TEST(TableBackground, NamesABitmap) {
    const TableBackground background =
        ParseTableBackground(L"idres:101; iddll: 7;file:\"c:\\art\\tile one.bmp\"; x:1");
    EXPECT_EQ(background.idres, 101);
    EXPECT_EQ(background.iddll, 7);
    EXPECT_EQ(background.file, L"c:\\art\\tile one.bmp");
    EXPECT_EQ(ParseTableBackground(L"").idres, 0);
}

TEST(TextTransform, CasesAndCapitals) {
    std::wstring run = L"hello World \u00e9t\u00e9";
    ApplyTextTransform(run, kTransformUppercase);
    EXPECT_EQ(run, L"HELLO WORLD \u00c9T\u00c9");
    ApplyTextTransform(run, kTransformLowercase);
    EXPECT_EQ(run, L"hello world \u00e9t\u00e9");
    run = L"oNE two-three  four";
    ApplyTextTransform(run, kTransformCapitalize);
    EXPECT_EQ(run, L"One Two-three  Four");
    run = L"Keep";
    ApplyTextTransform(run, kTransformNone);
    EXPECT_EQ(run, L"Keep");
}
