#include "richtext/layout_break.h"

namespace richtext {
namespace {

bool IsBreakCharacter(wchar_t c) {
    return kBreakCharacters.find(c) != std::wstring_view::npos;
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

// Characters scanned without a break before the prefix so far is measured: once that alone is
// too wide no later break can fit, and a long text need not be scanned to its end.
constexpr size_t kScanStep = 256;

// The end of the longest prefix that ends at a break character and fits; 0 for none.
size_t FittingBreakPrefix(std::wstring_view text, int available, const TextMeasure& measure) {
    size_t candidate = 0;
    size_t measuredUpTo = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!IsBreakCharacter(text[i])) {
            if (i - measuredUpTo >= kScanStep) {
                if (measure(text.substr(0, i)) > available)
                    break;
                measuredUpTo = i;
            }
            continue;
        }
        if (measure(text.substr(0, i + 1)) > available)
            break;
        candidate = i + 1;
        measuredUpTo = i + 1;
    }
    return candidate;
}

// The longest prefix that fits, at least one character.
size_t FittingCharacters(std::wstring_view text, int available, const TextMeasure& measure) {
    size_t length = 1;
    while (length < text.size() && measure(text.substr(0, length + 1)) <= available)
        ++length;
    return length;
}

} // namespace

RunBreak BreakRun(std::wstring_view text, bool lineIsEmpty, int available,
                  const TextMeasure& measure) {
    RunBreak result;
    if (text.empty())
        return result;
    const size_t candidate = FittingBreakPrefix(text, available, measure);
    if (candidate > 0) {
        const std::wstring_view prefix = text.substr(0, candidate);
        result.pieceLength = candidate - TrailingBlanks(prefix);
        result.skipLength =
            (candidate - result.pieceLength) + LeadingBlanks(text.substr(candidate));
    } else if (lineIsEmpty) {
        result.pieceLength = FittingCharacters(text, available, measure);
        result.skipLength = LeadingBlanks(text.substr(result.pieceLength));
    } else {
        return result;
    }
    result.pieceWidth = result.pieceLength ? measure(text.substr(0, result.pieceLength)) : 0;
    return result;
}

} // namespace richtext
