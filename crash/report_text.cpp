#include "crash/report_text.h"

#include <cstdint>

namespace crash {
namespace {

struct Spec {
    bool zeroPad = false;
    int width = 0;
    int precision = -1;
    int longs = 0;     // count of 'l'
    bool size = false; // 'z'
    char conversion = 0;
};

const char* ParseSpec(const char* p, Spec& spec) {
    if (*p == '0') {
        spec.zeroPad = true;
        ++p;
    }
    while (*p >= '0' && *p <= '9')
        spec.width = spec.width * 10 + (*p++ - '0');
    if (*p == '.') {
        ++p;
        spec.precision = 0;
        while (*p >= '0' && *p <= '9')
            spec.precision = spec.precision * 10 + (*p++ - '0');
    }
    while (*p == 'l') {
        ++spec.longs;
        ++p;
    }
    if (*p == 'z') {
        spec.size = true;
        ++p;
    }
    spec.conversion = *p;
    return *p ? p + 1 : p;
}

std::uint64_t UnsignedArgument(const Spec& spec, va_list& args) {
    if (spec.size)
        return va_arg(args, std::size_t);
    if (spec.longs >= 2)
        return va_arg(args, unsigned long long);
    if (spec.longs == 1)
        return va_arg(args, unsigned long);
    return va_arg(args, unsigned int);
}

std::int64_t SignedArgument(const Spec& spec, va_list& args) {
    if (spec.size)
        return static_cast<std::int64_t>(va_arg(args, std::size_t));
    if (spec.longs >= 2)
        return va_arg(args, long long);
    if (spec.longs == 1)
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
        Spec spec;
        p = ParseSpec(p + 1, spec);
        char digits[24];
        int count = 0;
        bool negative = false;
        switch (spec.conversion) {
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
            while (text[n] && (spec.precision < 0 || n < static_cast<std::size_t>(spec.precision)))
                ++n;
            for (std::size_t pad = n; fitted && pad < static_cast<std::size_t>(spec.width); ++pad)
                fitted = AppendChar(' ');
            if (fitted)
                fitted = AppendBytes(text, n);
            continue;
        }
        case 'd':
        case 'i': {
            const std::int64_t value = SignedArgument(spec, local);
            negative = value < 0;
            const std::uint64_t magnitude = negative ? ~static_cast<std::uint64_t>(value) + 1
                                                     : static_cast<std::uint64_t>(value);
            count = ToDigits(magnitude, 10, false, digits);
            break;
        }
        case 'u':
            count = ToDigits(UnsignedArgument(spec, local), 10, false, digits);
            break;
        case 'x':
        case 'X':
            count = ToDigits(UnsignedArgument(spec, local), 16, spec.conversion == 'X', digits);
            break;
        default:
            continue; // an unknown conversion prints nothing
        }
        const int zeros = spec.precision > count ? spec.precision - count : 0;
        const int body = count + zeros + (negative ? 1 : 0);
        const char padChar = spec.zeroPad && spec.precision < 0 ? '0' : ' ';
        if (padChar == ' ')
            for (int pad = body; fitted && pad < spec.width; ++pad)
                fitted = AppendChar(' ');
        if (fitted && negative)
            fitted = AppendChar('-');
        if (padChar == '0')
            for (int pad = body; fitted && pad < spec.width; ++pad)
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
