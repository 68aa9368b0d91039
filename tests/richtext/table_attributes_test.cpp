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

TEST_F(TableAttributesTest, BackgroundEffectsByNameOrNumberWithinTheirRange) {
    Apply(TableElement::Cell, L"bgcolor=red bgmidcolor=#00ff00 bgendcolor=blue");
    EXPECT_EQ(style_.backgroundMiddleColor, RGB(0, 255, 0));
    EXPECT_EQ(style_.backgroundEffect, kEffectSolid) << "a colour makes the background solid";
    const struct {
        const wchar_t* effect;
        int expected;
    } cases[] = {{L"vgradient", 2},
                 {L"transparent", kEffectTransparent},
                 {L"13", 13},
                 {L"sparkle", 13},
                 {L"99", 15}};
    for (const auto& c : cases) {
        Apply(TableElement::Cell, std::wstring(L"bgeffect=") + c.effect);
        EXPECT_EQ(style_.backgroundEffect, c.expected) << c.expected;
    }
}

TEST_F(TableAttributesTest, SizesSpansAndAlignment) {
    const TableAttributes cell =
        Apply(TableElement::Cell, L"width=40% height=30 colspan=2 rowspan=99999999 align=right "
                                  L"valign=middle border=2");
    EXPECT_EQ(style_.cellWidth, 40);
    EXPECT_TRUE(style_.cellWidthPercent);
    EXPECT_EQ(style_.cellHeight, 30);
    EXPECT_EQ(cell.colspan, 2);
    EXPECT_EQ(cell.rowspan, 1000);
    EXPECT_EQ(style_.horizontalAlign, kAlignRight);
    EXPECT_EQ(style_.verticalAlign, kAlignMiddle);
    EXPECT_EQ(style_.borderStyle, kBorderSolid);
    EXPECT_EQ(Apply(TableElement::Cell, L"colspan=0").colspan, 1);
}

TEST_F(TableAttributesTest, PaddingSpacingAndBackgroundOnlyOnTablesAndNoneWhileDisabled) {
    Apply(TableElement::Cell, L"cellpadding=9 cellspacing=9 background='idres:5;'");
    EXPECT_EQ(style_.cellPadding, 2);
    EXPECT_TRUE(style_.backgroundImage.empty());
    Apply(TableElement::Table, L"cellpadding=9 cellspacing=3 background='idres:5;'");
    EXPECT_EQ(style_.cellSpacing, 3);
    EXPECT_EQ(style_.backgroundImage, L"idres:5;");
    const COLORREF grey = RGB(50, 50, 50);
    disabled_ = &grey;
    Apply(TableElement::Table, L"bgcolor=red bgeffect=2 bordercolorlight=white");
    EXPECT_EQ(style_.backgroundEffect, kEffectTransparent) << "backgrounds are ignored";
    EXPECT_EQ(style_.borderColorLight, grey);
}

TEST(TextTransform, CasesAndCapitals) {
    std::wstring run = L"hello World \u00e9t\u00e9";
    ApplyTextTransform(run, kTransformUppercase);
    EXPECT_EQ(run, L"HELLO WORLD \u00c9T\u00c9");
    run = L"oNE two-three  four";
    ApplyTextTransform(run, kTransformCapitalize);
    EXPECT_EQ(run, L"One Two-three  Four");
}
