#include "richtext/style_sheet.h"

#include <gtest/gtest.h>

using richtext::StyleSheet;

TEST(StyleSheet, DefaultSheetIsReadAtStart) {
    const StyleSheet sheet;
    EXPECT_EQ(sheet.Size(), 17u);
    ASSERT_NE(sheet.Find(L"body"), nullptr);
    EXPECT_EQ(*sheet.Find(L"body"), L"font-size: 10pt; color:black; font-family:Verdana");
    EXPECT_EQ(*sheet.Find(L"pre"),
              L"font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb");
    EXPECT_EQ(*sheet.Find(L"a:hover"), L"text-decoration:underline; color:blue");
    EXPECT_EQ(*sheet.Find(L".cpp-comment"), L"color:green; font-style:italic");
    EXPECT_EQ(sheet.Find(L"BODY"), nullptr);
}

TEST(StyleSheet, DefaultTextLinesEndWithCrLf) {
    const std::wstring_view text = StyleSheet::DefaultText();
    EXPECT_EQ(text.substr(0, 6), L"body {");
    EXPECT_EQ(text.substr(text.size() - 3), L"}\r\n");
    size_t lines = 0;
    for (size_t i = text.find(L"\r\n"); i != std::wstring_view::npos; i = text.find(L"\r\n", i + 2))
        ++lines;
    EXPECT_EQ(lines, 17u);
    EXPECT_EQ(text.find(L'\n', 0), text.find(L"\r\n") + 1);
}

TEST(StyleSheet, LoadReplacesEverything) {
    StyleSheet sheet;
    sheet.LoadStyleSheet(L"p{color:red}  .note {font-weight:bold}\nh1 {}");
    EXPECT_EQ(sheet.Size(), 3u);
    EXPECT_EQ(*sheet.Find(L"p"), L"color:red");
    EXPECT_EQ(*sheet.Find(L".note"), L"font-weight:bold");
    EXPECT_EQ(*sheet.Find(L"h1"), L"");
    EXPECT_EQ(sheet.Find(L"body"), nullptr);
}

TEST(StyleSheet, LaterRulesReplaceEarlierAndMissingBracesEndTheSheet) {
    StyleSheet sheet;
    sheet.LoadStyleSheet(L"p {a:1} p {b:2}");
    EXPECT_EQ(*sheet.Find(L"p"), L"b:2");
    sheet.LoadStyleSheet(L"p {a:1} q r");
    EXPECT_EQ(sheet.Size(), 1u);
    sheet.LoadStyleSheet(L"p {a:1} q {b:2");
    EXPECT_EQ(*sheet.Find(L"q"), L"b:2");
    sheet.LoadStyleSheet(L"");
    EXPECT_EQ(sheet.Size(), 17u) << "an empty text loads the default";
}

TEST(StyleSheet, SetStyleRuleInsertsOrReplaces) {
    StyleSheet sheet;
    sheet.SetStyleRule(L"a:link", L"color:0xFF0000; text-decoration:none");
    sheet.SetStyleRule(L"td", L"margin:4");
    EXPECT_EQ(*sheet.Find(L"a:link"), L"color:0xFF0000; text-decoration:none");
    EXPECT_EQ(*sheet.Find(L"td"), L"margin:4");
    EXPECT_EQ(sheet.Size(), 18u);
}
