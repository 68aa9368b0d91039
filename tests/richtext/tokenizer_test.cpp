#include "richtext/html_tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using richtext::AttributeReader;
using richtext::MarkupToken;
using richtext::MarkupTokenizer;
using richtext::SplitTagText;

namespace {

// "T:run" for runs, "<name|attributes>" or "</name|attributes>" for tags.
std::vector<std::wstring> Tokens(std::wstring_view text) {
    std::vector<std::wstring> tokens;
    MarkupTokenizer tokenizer(text);
    MarkupToken token;
    while (tokenizer.Next(token)) {
        if (token.kind == MarkupToken::Kind::Text) {
            EXPECT_FALSE(token.text.empty());
            tokens.push_back(L"T:" + token.text);
        } else {
            tokens.push_back(std::wstring(token.tag.closing ? L"</" : L"<") +
                             std::wstring(token.tag.name) + L"|" +
                             std::wstring(token.tag.attributes) + L">");
        }
    }
    return tokens;
}

using Attributes = std::vector<std::pair<std::wstring, std::wstring>>;

Attributes ReadAll(std::wstring_view text) {
    Attributes all;
    AttributeReader reader(text);
    std::wstring_view name;
    std::wstring_view value;
    while (reader.Next(name, value))
        all.emplace_back(name, value);
    return all;
}

using V = std::vector<std::wstring>;

} // namespace

TEST(Tokenizer, DoubledLessThanIsALiteralInsideTheRun) {
    EXPECT_EQ(Tokens(L"a<<b"), V{L"T:a<b"});
    EXPECT_EQ(Tokens(L"<<<b>x"), (V{L"T:<", L"<b|>", L"T:x"}));
}

TEST(Tokenizer, LessThanAtTheEndIsShown) {
    EXPECT_EQ(Tokens(L"a<"), V{L"T:a<"});
    EXPECT_EQ(Tokens(L"<"), V{L"T:<"});
    EXPECT_EQ(Tokens(L"<b><"), (V{L"<b|>", L"T:<"}));
}

TEST(Tokenizer, LessThanWithoutGreaterThanIsDropped) {
    EXPECT_EQ(Tokens(L"a<b c"), (V{L"T:a", L"T:b c"}));
    EXPECT_EQ(Tokens(L"<b>x<y<z"), (V{L"<b|>", L"T:x", L"T:y", L"T:z"}));
}

TEST(Tokenizer, TagsBetweenRuns) {
    EXPECT_EQ(Tokens(L"one <font color=red>two</font>"),
              (V{L"T:one ", L"<font|color=red>", L"T:two", L"</font|>"}));
    EXPECT_EQ(Tokens(L"<>x"), (V{L"<|>", L"T:x"}));
}

TEST(Tokenizer, TagEndsAtTheFirstGreaterThan) {
    EXPECT_EQ(Tokens(L"<a href='x>y'>z"), (V{L"<a|href='x>", L"T:y'>z"}));
}

TEST(TagText, NameEndsAtBlankOrEqualsAndASlashMarksAClosingTag) {
    auto tag = SplitTagText(L"br=3");
    EXPECT_EQ(tag.name, L"br");
    EXPECT_EQ(tag.attributes, L"=3");
    tag = SplitTagText(L"font    face=Arial size=2");
    EXPECT_EQ(tag.name, L"font");
    EXPECT_EQ(tag.attributes, L"face=Arial size=2");
    EXPECT_FALSE(tag.closing);
    tag = SplitTagText(L"/font junk");
    EXPECT_TRUE(tag.closing);
    EXPECT_EQ(tag.name, L"font");
    EXPECT_EQ(tag.attributes, L"junk");
    // Line feed and tab are tag names of their own.
    EXPECT_EQ(SplitTagText(L"\n").name, L"\n");
    EXPECT_EQ(SplitTagText(L"\t").name, L"\t");
}

TEST(Attributes, QuotedUnquotedAndEmptyValues) {
    EXPECT_EQ(
        ReadAll(L"a=1 b='x y' c=\"p 'q'\" d e = f"),
        (Attributes{{L"a", L"1"}, {L"b", L"x y"}, {L"c", L"p 'q'"}, {L"d", L""}, {L"e", L"f"}}));
}

TEST(Attributes, UnclosedQuotesStrayPunctuationAndRepeats) {
    EXPECT_EQ(ReadAll(L"href=\"http://x y"), (Attributes{{L"href", L"http://x y"}}));
    EXPECT_EQ(ReadAll(L"  ,;\"a=1 =,=  .b=2"), (Attributes{{L"a", L"1"}, {L".b", L"2"}}));
    EXPECT_EQ(ReadAll(L"class=a class=b"), (Attributes{{L"class", L"a"}, {L"class", L"b"}}));
}
