#include "richtext/html_entities.h"

#include <gtest/gtest.h>

using richtext::PrepareMarkupText;

TEST(Entities, EveryEntityIsReplaced) {
    EXPECT_EQ(PrepareMarkupText(L"&bull;&copy;&euro;&gt;&iquest;&nbsp;&para;&pound;&quot;&reg;"
                                L"&trade;"),
              L"\u2022\u00A9\u20AC>\u00BF \u00B6\u00A3\"\u00AE\u2122");
}

TEST(Entities, AmpersandIsReplacedUntilNoneIsLeft) {
    EXPECT_EQ(PrepareMarkupText(L"&amp;amp;"), L"&");
    EXPECT_EQ(PrepareMarkupText(L"x&amp;amp;amp;y"), L"x&y");
    EXPECT_EQ(PrepareMarkupText(L"&amp;lt;"), L"<<");
    EXPECT_EQ(PrepareMarkupText(L"&amp;copy; &"), L"\u00A9 &");
}

TEST(Entities, UnknownAndUnfinishedEntitiesStay) {
    EXPECT_EQ(PrepareMarkupText(L"&hellip; &amp &LT; &"), L"&hellip; &amp &LT; &");
}

TEST(Entities, CarriageReturnsGoLineFeedsAndTabsStay) {
    EXPECT_EQ(PrepareMarkupText(L"a\r\nb\tc\r"), L"a\nb\tc");
}
