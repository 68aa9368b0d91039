#include "crash/report_text.h"

#include <cstdint>

namespace crash {
namespace {

struct FormatField {
    bool zeroPad = false;
    int width = 0;
    int precision = -1;
    int longs = 0;     // count of 'l'
    bool size = false; // 'z'
    char conversion = 0;
};

const char* ParseField(const char* p, FormatField& field) {
    if (*p == '0') {
        field.zeroPad = true;
        ++p;
    }
    while (*p >= '0' && *p <= '9')
        field.width = field.width * 10 + (*p++ - '0');
    if (*p == '.') {
        ++p;
        field.precision = 0;
        while (*p >= '0' && *p <= '9')
            field.precision = field.precision * 10 + (*p++ - '0');
    }
    while (*p == 'l') {
        ++field.longs;
        ++p;
    }
    if (*p == 'z') {
        field.size = true;
        ++p;
    }
    field.conversion = *p;
    return *p ? p + 1 : p;
}

std::uint64_t UnsignedArgument(const FormatField& field, va_list& args) {
    if (field.size)
        return va_arg(args, std::size_t);
    if (field.longs >= 2)
        return va_arg(args, unsigned long long);
    if (field.longs == 1)
        return va_arg(args, unsigned long);
    return va_arg(args, unsigned int);
}

std::int64_t SignedArgument(const FormatField& field, va_list& args) {
    if (field.size)
        return static_cast<std::int64_t>(va_arg(args, std::size_t));
    if (field.longs >= 2)
        return va_arg(args, long long);
    if (field.longs == 1)
        return va_arg(args, long);
    return va_arg(args, int);
}

// Digits of `value` in `base`, written backwards into the end of `digits`; returns the count.
int ToDigits(std::uint64_t value, unsigned base, bool upper, char (&digits)[24]) {
    const char* alphabet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    int count = 0;
    do {
        digits[sizeof(digits) - 1 - count++] = alphabet[value % base];
        value /= base;
    } while (value != 0);
    return count;
}

} // namespace

ReportText::ReportText(char* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) {
    if (capacity_ > 0)
        buffer_[0] = 0;
}

void ReportText::Clear() {
    length_ = 0;
    if (capacity_ > 0)
        buffer_[0] = 0;
}

bool ReportText::AppendChar(char c) {
    if (capacity_ == 0 || Remaining() == 0)
        return false;
    buffer_[length_++] = c;
    buffer_[length_] = 0;
    return true;
}

bool ReportText::AppendBytes(const char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (!AppendChar(bytes[i]))
            return false;
    }
    return true;
}

bool ReportText::Append(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const bool fitted = AppendV(format, args);
    va_end(args);
    return fitted;
}

bool ReportText::AppendV(const char* format, va_list args) {
    va_list local;
    va_copy(local, args);
    bool fitted = true;
    for (const char* p = format; *p && fitted;) {
        if (*p != '%') {
            fitted = AppendChar(*p++);
            continue;
        }
        FormatField field;
        p = ParseField(p + 1, field);
        char digits[24];
        int count = 0;
        bool negative = false;
        switch (field.conversion) {
        case '%':
            fitted = AppendChar('%');
            continue;
        case 'c':
            fitted = AppendChar(static_cast<char>(va_arg(local, int)));
            continue;
        case 's': {
            const char* text = va_arg(local, const char*);
            if (!text)
                text = "(null)";
            std::size_t n = 0;
            while (text[n] &&
                   (field.precision < 0 || n < static_cast<std::size_t>(field.precision)))
                ++n;
            for (std::size_t pad = n; fitted && pad < static_cast<std::size_t>(field.width); ++pad)
                fitted = AppendChar(' ');
            if (fitted)
                fitted = AppendBytes(text, n);
            continue;
        }
        case 'd':
        case 'i': {
            const std::int64_t value = SignedArgument(field, local);
            negative = value < 0;
            const std::uint64_t magnitude = negative ? ~static_cast<std::uint64_t>(value) + 1
                                                     : static_cast<std::uint64_t>(value);
            count = ToDigits(magnitude, 10, false, digits);
            break;
        }
        case 'u':
            count = ToDigits(UnsignedArgument(field, local), 10, false, digits);
            break;
        case 'x':
        case 'X':
            count = ToDigits(UnsignedArgument(field, local), 16, field.conversion == 'X', digits);
            break;
        default:
            continue; // an unknown conversion prints nothing
        }
        const int zeros = field.precision > count ? field.precision - count : 0;
        const int body = count + zeros + (negative ? 1 : 0);
        const char padChar = field.zeroPad && field.precision < 0 ? '0' : ' ';
        if (padChar == ' ')
            for (int pad = body; fitted && pad < field.width; ++pad)
                fitted = AppendChar(' ');
        if (fitted && negative)
            fitted = AppendChar('-');
        if (padChar == '0')
            for (int pad = body; fitted && pad < field.width; ++pad)
                fitted = AppendChar('0');
        for (int z = 0; fitted && z < zeros; ++z)
            fitted = AppendChar('0');
        if (fitted)
            fitted = AppendBytes(digits + sizeof(digits) - count, static_cast<std::size_t>(count));
    }
    va_end(local);
    return fitted;
}

} // namespace crash
