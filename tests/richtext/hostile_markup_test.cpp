// Hostile and random markup: nothing may crash, hang or leave the parser in a state that
// carries into the next pass.

#include "richtext/html_entities.h"
#include "richtext/html_parser.h"
#include "richtext/style_sheet.h"

#include "tests/richtext/markup_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace richtext;
using markup_test::PassRecord;
using markup_test::RunPass;
using markup_test::VisibleText;

namespace {

constexpr size_t kMegabyte = 1 << 20;

class HostileGenerator {
public:
    explicit HostileGenerator(unsigned seed) : random_(seed) {}

    std::wstring Text(size_t length) {
        std::wstring text;
        while (text.size() < length)
            AppendPiece(text);
        return text;
    }

private:
    size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }

    template <size_t N>
    const wchar_t* Pick(const wchar_t* const (&choices)[N]) {
        return choices[Below(N)];
    }

    void AppendPiece(std::wstring& text) {
        static const wchar_t* const kTags[] = {
            L"b",        L"i",      L"em",      L"u",      L"s",      L"strike", L"font",
            L"hr",       L"br",     L"t",       L"left",   L"center", L"right",  L"justify",
            L"baseline", L"top",    L"vcenter", L"middle", L"bottom", L"bmp",    L"icon",
            L"ilst",     L"string", L"body",    L"h1",     L"h6",     L"pre",    L"code",
            L"big",      L"small",  L"sub",     L"sup",    L"span",   L"a",      L"p",
            L"B",        L"table",  L"",        L"\n",     L"\t",     L"/"};
        static const wchar_t* const kAttributes[] = {
            L"face",     L"size",  L"color",  L"style",  L"weight", L"bkgnd", L"href",
            L"msg",      L"class", L"width",  L"height", L"mask",   L"idres", L"iddll",
            L"handle",   L"file",  L"srcdll", L"index",  L"cx",     L"cy",    L"speed",
            L"hotstyle", L"=",     L"\"",     L"'"};
        static const wchar_t* const kValues[] = {L"red",
                                                 L"#ff0000",
                                                 L"#f00",
                                                 L"0x0000ff",
                                                 L"3",
                                                 L"3px",
                                                 L"-11lf",
                                                 L"-11pt",
                                                 L"65%",
                                                 L"2em",
                                                 L"1ex",
                                                 L"3cm",
                                                 L"7mm",
                                                 L"1in",
                                                 L"2pc",
                                                 L"bu-i",
                                                 L"+-+-bsoiu",
                                                 L"gdls",
                                                 L"transparent",
                                                 L"bolder",
                                                 L"cpp-comment",
                                                 L"99999999999999999999",
                                                 L"-",
                                                 L"%",
                                                 L"0x",
                                                 L"#",
                                                 L"\"",
                                                 L"'",
                                                 L"\"unclosed",
                                                 L"'unclosed",
                                                 L"",
                                                 L"buttonface"};
        static const wchar_t* const kText[] = {
            L"plain text ", L"<",         L"<<",       L">",          L"&",      L";",
            L"&amp;",       L"&amp;amp;", L"&lt;",     L"&amp;lt;",   L"&bull;", L"&copy;",
            L"&euro;",      L"&gt;",      L"&iquest;", L"&nbsp;",     L"&para;", L"&pound;",
            L"&quot;",      L"&reg;",     L"&trade;",  L"&unknown;",  L"\r\n",   L"\t",
            L"\"",          L"'",         L"=",        L"\U0001F600", L"\uFFFF", L"\u0000"};
        switch (Below(8)) {
        case 0:
        case 1:
        case 2:
            text += Pick(kText);
            break;
        case 3: { // a tag, perhaps closing, perhaps unclosed
            text += Below(3) == 0 ? L"</" : L"<";
            text += Pick(kTags);
            for (size_t n = Below(4); n > 0; --n) {
                text += L' ';
                text += Pick(kAttributes);
                text += Below(2) ? L"=" : L" = ";
                text += Pick(kValues);
            }
            if (Below(10) != 0)
                text += L'>';
            break;
        }
        case 4: { // deep nesting
            const wchar_t* tag = Pick(kTags);
            for (size_t n = Below(200); n > 0; --n)
                text += std::wstring(L"<") + tag + L">";
            break;
        }
        case 5: // a huge attribute value
            text += L"<font face=\"";
            text.append(1000 + Below(20000), L'F');
            text += Below(2) ? L"\">" : L">";
            break;
        case 6: // random characters, biased toward the markup's own
            for (size_t n = Below(40); n > 0; --n) {
                static constexpr wchar_t kChars[] = L"<>&;=\"' /\r\n\tabc#%-+0x9";
                text += Below(4) ? kChars[Below(sizeof(kChars) / sizeof(wchar_t) - 1)]
                                 : static_cast<wchar_t>(Below(0x10000));
            }
            break;
        default: // a style-sheet-ish fragment inside a tag
            text += L"<span class=\"";
            text += Pick(kValues);
            text += L"\">";
            break;
        }
    }

    std::mt19937 random_;
};

} // namespace

class HostileMarkupTest : public ::testing::Test {
protected:
    PassRecord Pass(std::wstring_view text) { return RunPass(parser_, text); }
    MarkupParser parser_;
};

TEST_F(HostileMarkupTest, RandomMarkupKeepsThePassesApart) {
    HostileGenerator generator(20261206);
    parser_.BeginPass(markup_test::TestMetrics());
    const HtmlStyle body = parser_.Current();
    parser_.EndPass();
    for (int round = 0; round < 200; ++round) {
        const std::wstring text = generator.Text(2000 + round * 50);
        const std::wstring prepared = PrepareMarkupText(text);
        const PassRecord pass = Pass(text);
        EXPECT_EQ(parser_.Depth(), 0u);
        EXPECT_LE(VisibleText(pass).size(), prepared.size());
        EXPECT_EQ(VisibleText(pass).find(L'\r'), std::wstring::npos);
        parser_.BeginPass(markup_test::TestMetrics());
        EXPECT_EQ(parser_.Current(), body) << "round " << round;
        parser_.EndPass();
    }
}

TEST_F(HostileMarkupTest, RandomStyleSheetsAndDeclarations) {
    HostileGenerator generator(7);
    for (int round = 0; round < 100; ++round) {
        const std::wstring text = generator.Text(3000);
        parser_.Sheet().LoadStyleSheet(text);
        parser_.Sheet().SetStyleRule(L"body", text);
        parser_.Sheet().SetStyleRule(L"a:link", text.substr(0, 500));
        const PassRecord pass = Pass(text);
        EXPECT_EQ(parser_.Depth(), 0u);
    }
}

TEST_F(HostileMarkupTest, MegabyteOfPlainTextIsOneRun) {
    std::wstring text;
    while (text.size() < kMegabyte)
        text += L"The quick brown fox jumps over the lazy dog. ";
    const PassRecord pass = Pass(text);
    ASSERT_EQ(pass.runs.size(), 1u);
    EXPECT_EQ(pass.runs[0].text, text);
}

TEST_F(HostileMarkupTest, MegabyteOfLessThanSigns) {
    const std::wstring text(kMegabyte + 1, L'<');
    const PassRecord pass = Pass(text);
    EXPECT_EQ(VisibleText(pass), std::wstring(kMegabyte / 2 + 1, L'<'));
}

TEST_F(HostileMarkupTest, MegabyteOfUnclosedTags) {
    std::wstring text;
    while (text.size() < kMegabyte)
        text += L"<b x";
    const PassRecord pass = Pass(text);
    EXPECT_EQ(pass.tags, 0u);
    EXPECT_EQ(pass.runs.size(), kMegabyte / 4);
}

TEST_F(HostileMarkupTest, MegabyteOfOpeningTags) {
    std::wstring text;
    while (text.size() < kMegabyte)
        text += L"<a href=x><b>x";
    const PassRecord pass = Pass(text);
    EXPECT_EQ(parser_.Depth(), 0u);
    EXPECT_EQ(pass.runs.back().style.weight, 900);
}

TEST_F(HostileMarkupTest, MegabyteOfEntities) {
    std::wstring text = L"&";
    while (text.size() < kMegabyte)
        text += L"amp;";
    EXPECT_EQ(PrepareMarkupText(text), L"&");
    text.clear();
    for (const auto& entity : Entities())
        text += entity.first;
    const std::wstring one = text;
    while (text.size() < kMegabyte)
        text += one;
    const std::wstring prepared = PrepareMarkupText(text);
    const size_t copies = text.size() / one.size();
    EXPECT_EQ(prepared.size(), copies * 14);
    EXPECT_EQ(static_cast<size_t>(std::count(prepared.begin(), prepared.end(), L'&')), copies);
    EXPECT_EQ(static_cast<size_t>(std::count(prepared.begin(), prepared.end(), L'<')), 2 * copies);
}

TEST_F(HostileMarkupTest, HugeAttributeValues) {
    const std::wstring huge(kMegabyte, L'9');
    const PassRecord pass = Pass(L"<font size=" + huge + L" color=" + huge + L" face='" + huge +
                                 L"'>x<hr width=" + huge + L"%><br=" + huge + L">");
    ASSERT_EQ(pass.runs.size(), 1u);
    EXPECT_EQ(pass.runs[0].style.face.size(), kMegabyte);
    ASSERT_EQ(pass.actions.size(), 2u);
    EXPECT_EQ(pass.actions[1].count, MarkupParser::kMaxRepeat);
}

TEST_F(HostileMarkupTest, HugeTextsInDeeplyNestedLevelsStayBounded) {
    std::wstring text = L"<font face='" + std::wstring(kMegabyte, L'F') + L"'><a href='" +
                        std::wstring(kMegabyte, L'h') + L"'>";
    for (size_t i = 0; i < StyleStack::kMaxDepth; ++i)
        text += L"<b>";
    text += L"x";
    for (size_t i = 0; i < StyleStack::kMaxDepth; ++i)
        text += L"</b>";
    text += L"</a></font>y";
    parser_.BeginPass(markup_test::TestMetrics());
    MarkupTokenizer tokenizer(text);
    MarkupToken token;
    size_t deepest = 0;
    std::wstring visible;
    while (tokenizer.Next(token)) {
        if (token.kind == MarkupToken::Kind::Text) {
            visible += token.text;
            EXPECT_EQ(parser_.Current().weight, token.text == L"x" ? 900 : 400);
        } else {
            parser_.HandleTag(token.tag, markup_test::TestMetrics());
            deepest = std::max(deepest, parser_.Depth());
        }
    }
    EXPECT_EQ(visible, L"xy");
    EXPECT_LT(deepest, StyleStack::kMaxDepth);
    EXPECT_EQ(parser_.Depth(), 0u);
    parser_.EndPass();
}

TEST_F(HostileMarkupTest, StrayQuotesAndEqualsSigns) {
    const PassRecord pass = Pass(L"<font color=\"red>x</font>y<font ' \" = == '' color='blue'>z");
    EXPECT_EQ(VisibleText(pass), L"xyz");
    // The tag ends at the first ">", so the unclosed quote runs to the end of "color=\"red".
    EXPECT_EQ(pass.runs[0].style.color, RGB(255, 0, 0));
    EXPECT_EQ(pass.runs[1].style.color, RGB(0, 0, 0));
    EXPECT_EQ(pass.runs[2].style.color, RGB(0, 0, 255));
}

TEST_F(HostileMarkupTest, MegabyteStyleSheet) {
    std::wstring sheet;
    while (sheet.size() < kMegabyte)
        sheet += L"h1 {color:red; font-size:1px} {{}}}} .x";
    parser_.Sheet().LoadStyleSheet(sheet);
    EXPECT_EQ(*parser_.Sheet().Find(L"h1"), L"color:red; font-size:1px");
}
