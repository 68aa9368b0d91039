#pragma once
// The number readers of the markup's values. They never overflow: values beyond the range of
// the result saturate, so hostile markup cannot turn a huge number into a small one.

#include <cstdint>
#include <string_view>

namespace richtext {

// The decimal integer at the start of `text` (leading blanks and a sign allowed), 0 when there is
// none; reading stops at the first non-digit.
int LeadingNumber(std::wstring_view text);

// `text` read as a whole number as the C library's strtol with base 0 reads it: decimal,
// hexadecimal after "0x", octal after a leading zero; stops at the first character that does not
// fit. Saturates at the limits of 64 bits.
int64_t WholeNumber(std::wstring_view text);

int ClampToInt(int64_t value);

inline bool IsAsciiDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

inline int HexDigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

} // namespace richtext
