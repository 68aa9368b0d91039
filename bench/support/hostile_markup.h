#pragma once
// Markup written to exhaust the rich-text label: the cases that once did, and a generator of
// random hostile markup from a fixed seed (deep nesting, long attributes, huge sizes, effects,
// tables inside tables, long links, surrogates). Shared by the hostile-markup benchmark and the
// test that draws the generator's output, so both try the same markup.

#include <cstddef>
#include <random>
#include <string>
#include <vector>

namespace hostile {

struct Case {
    const char* name;
    std::wstring markup;
};

// The cases that once exhausted memory or time, each of at most about a megabyte.
std::vector<Case> KnownCases();

// Ordinary text of `size` characters without a tag, the reference a hostile text is compared
// with.
std::wstring PlainText(size_t size);

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    // Random hostile markup of about `size` characters.
    std::wstring Next(size_t size);

private:
    size_t Below(size_t n);
    void AppendPiece(std::wstring& text);
    void AppendNesting(std::wstring& text);
    void AppendTable(std::wstring& text, int depth);
    void AppendImage(std::wstring& text);
    void AppendSurrogates(std::wstring& text);

    std::mt19937 random_;
};

} // namespace hostile
