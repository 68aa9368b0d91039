#include "richtext/html_entities.h"

#include <gtest/gtest.h>

#include <utility>

using richtext::PrepareMarkupText;

TEST(Entities, ReplacedInKeyOrderUnknownOnesStayAndCarriageReturnsGo) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"&bull;&copy;&euro;&gt;&iquest;&nbsp;&para;&pound;&quot;&reg;&trade;",
         L"\u2022\u00A9\u20AC>\u00BF \u00B6\u00A3\"\u00AE\u2122"},
        {L"x&amp;amp;amp;y", L"x&y"},
        {L"&amp;lt;", L"<<"},
        {L"&amp;copy; &", L"\u00A9 &"},
        {L"&hellip; &amp &LT; &", L"&hellip; &amp &LT; &"},
        {L"a\r\nb\tc\r", L"a\nb\tc"}};
    for (const auto& [text, prepared] : cases)
        EXPECT_EQ(PrepareMarkupText(text), prepared);
}
