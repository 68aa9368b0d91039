#include "platform/text.h"

#include <cstdio>
#include <cwchar>
#include <stdio.h>
#include <vector>

namespace platform {
namespace {

std::wstring ToWide(UINT codePage, std::string_view text) {
    if (text.empty())
        return {};
    const int length =
        ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                          length);
    return wide;
}

std::string FromWide(UINT codePage, std::wstring_view text) {
    if (text.empty())
        return {};
    const int length = ::WideCharToMultiByte(
        codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                          length, nullptr, nullptr);
    return narrow;
}

template <typename Char>
unsigned long ReadDecimalOf(std::basic_string_view<Char> text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    unsigned long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10 + static_cast<unsigned long>(text[i] - '0');
    return static_cast<unsigned long>(static_cast<unsigned int>(negative ? 0u - value : value));
}

} // namespace

std::wstring WideFromAnsi(std::string_view text) {
    return ToWide(CP_ACP, text);
}
std::string AnsiFromWide(std::wstring_view text) {
    return FromWide(CP_ACP, text);
}
std::wstring WideFromUtf8(std::string_view text) {
    return ToWide(CP_UTF8, text);
}
std::string Utf8FromWide(std::wstring_view text) {
    return FromWide(CP_UTF8, text);
}

std::wstring FormatWideV(const wchar_t* format, va_list args) {
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        // The system library's formatter: "%s" takes a wide string there, as the resource
        // texts ("Failed. %s") expect. It returns -1 when the buffer is too small.
        const int written = ::_vsnwprintf(buffer.data(), buffer.size() - 1, format, copy);
        va_end(copy);
        if (written >= 0)
            return std::wstring(buffer.data(), static_cast<size_t>(written));
        if (buffer.size() > (1u << 24))
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring FormatWide(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring text = FormatWideV(format, args);
    va_end(args);
    return text;
}

std::string FormatAnsi(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    return text;
}

unsigned long ReadDecimal(std::string_view text) {
    return ReadDecimalOf(text);
}
unsigned long ReadDecimal(std::wstring_view text) {
    return ReadDecimalOf(text);
}

} // namespace platform
