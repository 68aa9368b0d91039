#include "richtext/layout_break.h"

namespace richtext {
namespace {

bool IsBreakCharacter(wchar_t c) {
    return kBreakCharacters.find(c) != std::wstring_view::npos;
}

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Whether a prefix of `length` characters would end between the halves of a surrogate pair.
bool CutsPair(std::wstring_view text, size_t length) {
    return length > 0 && length < text.size() && IsHighSurrogate(text[length - 1]) &&
           IsLowSurrogate(text[length]);
}

size_t TrailingBlanks(std::wstring_view text) {
    size_t count = 0;
    while (count < text.size() && text[text.size() - 1 - count] == L' ')
        ++count;
    return count;
}

size_t LeadingBlanks(std::wstring_view text) {
    size_t count = 0;
    while (count < text.size() && text[count] == L' ')
        ++count;
    return count;
}

constexpr size_t kFirstProbe = 64;

// The longest prefix that fits. A prefix is never narrower than a shorter one, so this finds the
// same prefix as measuring one prefix after the other until one is too wide, but with a number
// of measurements that grows with the logarithm of the line's length: prefixes of doubling
// length first find a bound, then a binary search finds the length within it.
size_t FittingLength(std::wstring_view text, int available, const TextMeasure& measure) {
    size_t fits = 0;
    size_t tooWide = text.size() + 1; // unknown beyond the text
    for (size_t probe = kFirstProbe; probe < text.size(); probe *= 2) {
        if (measure(text.substr(0, probe)) > available) {
            tooWide = probe;
            break;
        }
        fits = probe;
    }
    while (tooWide - fits > 1) {
        const size_t middle = fits + (tooWide - fits) / 2;
        if (measure(text.substr(0, middle)) <= available)
            fits = middle;
        else
            tooWide = middle;
    }
    return fits;
}

// The end of the longest prefix within `length` that ends at a break character; 0 for none.
size_t LastBreakWithin(std::wstring_view text, size_t length) {
    for (size_t end = length; end > 0; --end)
        if (IsBreakCharacter(text[end - 1]))
            return end;
    return 0;
}

// At least one character, and a surrogate pair is never cut in two.
size_t WholeCharacters(std::wstring_view text, size_t length) {
    if (CutsPair(text, length))
        --length;
    if (length == 0)
        length = CutsPair(text, 1) ? 2 : 1;
    return length;
}

} // namespace

RunBreak BreakRun(std::wstring_view text, bool lineIsEmpty, int available,
                  const TextMeasure& measure) {
    RunBreak result;
    if (text.empty())
        return result;
    const size_t fitting = FittingLength(text, available, measure);
    const size_t candidate = LastBreakWithin(text, fitting);
    if (candidate > 0) {
        const std::wstring_view prefix = text.substr(0, candidate);
        result.pieceLength = candidate - TrailingBlanks(prefix);
        result.skipLength =
            (candidate - result.pieceLength) + LeadingBlanks(text.substr(candidate));
    } else if (lineIsEmpty) {
        result.pieceLength = WholeCharacters(text, fitting);
        result.skipLength = LeadingBlanks(text.substr(result.pieceLength));
    } else {
        return result;
    }
    result.pieceWidth = result.pieceLength ? measure(text.substr(0, result.pieceLength)) : 0;
    return result;
}

} // namespace richtext
