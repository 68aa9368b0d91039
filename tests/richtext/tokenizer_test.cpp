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
std::wstring Tokens(std::wstring_view text) {
    std::wstring tokens;
    MarkupTokenizer tokenizer(text);
    MarkupToken token;
    while (tokenizer.Next(token)) {
        if (token.kind == MarkupToken::Kind::Text)
            tokens += L"T:" + token.text + L" ";
        else
            tokens += std::wstring(token.tag.closing ? L"</" : L"<") +
                      std::wstring(token.tag.name) + L"|" + std::wstring(token.tag.attributes) +
                      L"> ";
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

} // namespace

TEST(Tokenizer, RunsTagsAndEveryKindOfLessThan) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"a<<b", L"T:a<b "},
        {L"<<<b>x", L"T:< <b|> T:x "},
        {L"a<", L"T:a< "},
        {L"<b><", L"<b|> T:< "},
        {L"a<b c", L"T:a T:b c "},
        {L"one <font color=red>two</font junk>", L"T:one  <font|color=red> T:two </font|junk> "},
        {L"<>x", L"<|> T:x "},
        {L"<a href='x>y'>z", L"<a|href='x> T:y'>z "},
        {L"<br=3><\n><\t>", L"<br|=3> <\n|> <\t|> "}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Tokens(text), expected) << std::wstring(text).size();
}

TEST(Attributes, QuotedUnquotedEmptyUnclosedAndRepeatedValues) {
    EXPECT_EQ(
        ReadAll(L"a=1 b='x y' c=\"p 'q'\" d e = f"),
        (Attributes{{L"a", L"1"}, {L"b", L"x y"}, {L"c", L"p 'q'"}, {L"d", L""}, {L"e", L"f"}}));
    EXPECT_EQ(ReadAll(L"href=\"http://x y"), (Attributes{{L"href", L"http://x y"}}));
    EXPECT_EQ(ReadAll(L"  ,;\"a=1 =,=  .b=2"), (Attributes{{L"a", L"1"}, {L".b", L"2"}}));
    EXPECT_EQ(ReadAll(L"class=a class=b"), (Attributes{{L"class", L"a"}, {L"class", L"b"}}));
    EXPECT_TRUE(SplitTagText(L"/font junk").closing);
    EXPECT_EQ(SplitTagText(L"font    face=Arial").attributes, L"face=Arial");
}
