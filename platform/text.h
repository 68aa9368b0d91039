#pragma once
// Conversions between the program's wide strings and the 8-bit strings of the registry, the
// command line and the HTTP layer, plus printf-style formatting into std::wstring.

#include <windows.h>

#include <cstdarg>
#include <string>
#include <string_view>

namespace platform {

// 8-bit text in the system's ANSI code page to wide text.
std::wstring WideFromAnsi(std::string_view text);
// Wide text to the system's ANSI code page; characters outside it become '?'.
std::string AnsiFromWide(std::wstring_view text);
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

// printf into a growing buffer with the system library's rules, so "%s" is a wide string as
// in the resource texts; "%ls" and "%hs" say it explicitly.
std::wstring FormatWide(const wchar_t* format, ...);
std::wstring FormatWideV(const wchar_t* format, va_list args);
std::string FormatAnsi(const char* format, ...);

// The C library's strtol as the program reads decimals everywhere: leading blanks and a sign
// allowed, reading stops at the first non-digit, no digits give 0. Wraps like atoi on overflow of
// 32 bits, so "-1" reads as 0xFFFFFFFF.
unsigned long ReadDecimal(std::string_view text);
unsigned long ReadDecimal(std::wstring_view text);

} // namespace platform
