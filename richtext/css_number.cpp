#include "richtext/css_number.h"

#include <limits>

namespace richtext {
namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

size_t SkipBlanks(std::wstring_view text, size_t i) {
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t'))
        ++i;
    return i;
}

// Reads a sign at `i`; returns whether it was a minus.
bool ReadSign(std::wstring_view text, size_t& i) {
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        return text[i++] == L'-';
    return false;
}

int DigitIn(wchar_t c, int base) {
    const int value = HexDigitValue(c);
    return value >= 0 && value < base ? value : -1;
}

int64_t ReadDigits(std::wstring_view text, size_t i, int base) {
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitIn(text[i], base);
        if (digit < 0)
            break;
        value = value > (kMax - digit) / base ? kMax : value * base + digit;
    }
    return value;
}

} // namespace

int ClampToInt(int64_t value) {
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

int LeadingNumber(std::wstring_view text) {
    size_t i = SkipBlanks(text, 0);
    const bool negative = ReadSign(text, i);
    const int64_t value = ReadDigits(text, i, 10);
    return ClampToInt(negative ? -value : value);
}

int64_t WholeNumber(std::wstring_view text) {
    size_t i = SkipBlanks(text, 0);
    const bool negative = ReadSign(text, i);
    int base = 10;
    if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X') &&
        i + 2 < text.size() && HexDigitValue(text[i + 2]) >= 0) {
        base = 16;
        i += 2;
    } else if (i < text.size() && text[i] == L'0') {
        base = 8;
    }
    const int64_t value = ReadDigits(text, i, base);
    return negative ? -value : value;
}

} // namespace richtext
