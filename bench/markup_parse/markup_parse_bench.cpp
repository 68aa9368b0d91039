// Parse time of marked-up texts of 100 KB and 1 MB (and 4 MB), each as a ratio against a plain
// copy of the same characters in the same run. Equal ratios for both sizes mean the cost is linear.

#include "richtext/css_length.h"
#include "richtext/html_entities.h"
#include "richtext/html_parser.h"
#include "richtext/html_tokenizer.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr size_t kKilobyte = 1024;

double Seconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

// Best of a few runs, so that a busy machine disturbs the figures less.
template <typename Work>
double BestTime(Work work) {
    double best = 1e30;
    for (int i = 0; i < 5; ++i) {
        const double start = Seconds();
        work();
        best = std::min(best, Seconds() - start);
    }
    return best;
}

std::wstring Repeat(std::wstring_view piece, size_t size) {
    std::wstring text;
    text.reserve(size + piece.size());
    while (text.size() < size)
        text += piece;
    text.resize(size);
    return text;
}

// The reference: one pass over the characters that copies each of them into a new string, so
// that it meets the same memory costs as the parser (which copies the text while preparing it)
// and only the parser's own work shows in the ratio.
volatile size_t g_sink;
void PlainScan(const std::wstring& text) {
    std::wstring copy;
    for (const wchar_t c : text) {
        if (c != L'\r')
            copy.push_back(c);
    }
    g_sink = copy.size();
}

void Parse(richtext::MarkupParser& parser, const std::wstring& text) {
    static const richtext::FixedMetrics metrics(96, 16, 8);
    const std::wstring prepared = richtext::PrepareMarkupText(text);
    parser.BeginPass(metrics);
    richtext::MarkupTokenizer tokenizer(prepared);
    richtext::MarkupToken token;
    size_t runs = 0;
    while (tokenizer.Next(token)) {
        if (token.kind == richtext::MarkupToken::Kind::Text)
            runs += token.text.size();
        else
            parser.HandleTag(token.tag, metrics);
    }
    parser.EndPass();
    g_sink = runs;
}

void Report(const wchar_t* name, std::wstring_view piece) {
    richtext::MarkupParser parser;
    for (const size_t size : {100 * kKilobyte, 1024 * kKilobyte, 4096 * kKilobyte}) {
        const std::wstring text = Repeat(piece, size);
        const double scan = BestTime([&] { PlainScan(text); });
        const double parse = BestTime([&] { Parse(parser, text); });
        std::printf("parse %ls %u KB: %.1f x plain copy\n", name,
                    static_cast<unsigned>(size / kKilobyte), parse / std::max(scan, 1e-9));
    }
}

} // namespace

int wmain() {
    Report(L"markup", L"<p>Some <b>bold</b> and <i>italic</i> text, <font color=red size=3 "
                      L"face=\"Verdana\">coloured</font> &amp; a <a href=\"http://x/\">link</a>"
                      L"<br><h2>Head</h2>&copy; 2026 &lt;tag&gt; <span class=cpp-comment>x</span>"
                      L"\r\n");
    Report(L"unclosed-tags", L"a<b c ");
    Report(L"less-than", L"<<<");
    Report(L"ampersand-chain", L"&amp;amp;amp;amp;amp;lt;");
    Report(L"deep-nesting", L"<b><i><u>x");
    return 0;
}
