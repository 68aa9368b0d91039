#include "richtext/style_sheet.h"

#include <gtest/gtest.h>

using richtext::StyleSheet;

TEST(StyleSheet, LoadingReplacesEveryRuleAndLaterRulesWin) {
    StyleSheet sheet;
    sheet.LoadStyleSheet(L"p{color:red}  .note {font-weight:bold}\nh1 {} p {b:2} q r");
    EXPECT_EQ(sheet.Size(), 3u);
    EXPECT_EQ(*sheet.Find(L"p"), L"b:2");
    EXPECT_EQ(*sheet.Find(L"h1"), L"");
    EXPECT_EQ(sheet.Find(L"body"), nullptr);
    sheet.LoadStyleSheet(L"p {a:1} q {b:2");
    EXPECT_EQ(*sheet.Find(L"q"), L"b:2") << "a missing brace ends the sheet";
    sheet.SetStyleRule(L"a:link", L"color:0xFF0000");
    EXPECT_EQ(*sheet.Find(L"a:link"), L"color:0xFF0000");
    sheet.LoadStyleSheet(L"");
    EXPECT_EQ(sheet.Size(), 17u) << "an empty text loads the default";
    EXPECT_EQ(*sheet.Find(L".cpp-comment"), L"color:green; font-style:italic");
}
