#include "crash/memory_dump.h"

#include <windows.h>

namespace crash {
namespace {

constexpr std::size_t kRowLength = 16;
constexpr std::uintptr_t kPageSize = 4096;

bool CopyRange(std::uintptr_t address, unsigned char* buffer, std::size_t size) {
    SIZE_T read = 0;
    return ::ReadProcessMemory(::GetCurrentProcess(), reinterpret_cast<const void*>(address),
                               buffer, size, &read) &&
           read == size;
}

} // namespace

std::size_t CopyReadableMemory(std::uintptr_t address, unsigned char* buffer, std::size_t size) {
    if (size == 0 || CopyRange(address, buffer, size))
        return size;
    // Page by page: the range may run into memory that is not there.
    std::size_t copied = 0;
    while (copied < size) {
        const std::uintptr_t at = address + copied;
        const std::size_t toPageEnd = static_cast<std::size_t>(kPageSize - at % kPageSize);
        const std::size_t chunk = toPageEnd < size - copied ? toPageEnd : size - copied;
        if (!CopyRange(at, buffer + copied, chunk))
            break;
        copied += chunk;
    }
    return copied;
}

bool WriteHexDump(ReportText& text, std::uintptr_t address, const unsigned char* bytes,
                  std::size_t count, int indent) {
    for (std::size_t row = 0; row < count; row += kRowLength) {
        for (int i = 0; i < indent; ++i) {
            if (!text.AppendChar(' '))
                return false;
        }
#ifdef _WIN64
        if (!text.Append("%.16llX ", static_cast<unsigned long long>(address + row)))
            return false;
#else
        if (!text.Append("%.8X ", static_cast<unsigned>(address + row)))
            return false;
#endif
        for (std::size_t i = row; i < row + kRowLength; ++i) {
            const bool fitted = i < count ? text.Append("%.2X ", bytes[i]) : text.Append("   ");
            if (!fitted)
                return false;
        }
        for (std::size_t i = row; i < row + kRowLength; ++i) {
            char shown = ' ';
            if (i < count)
                shown = bytes[i] >= '!' && bytes[i] <= 'z' ? static_cast<char>(bytes[i]) : '?';
            if (!text.AppendChar(shown))
                return false;
        }
        if (!text.Append("\r\n"))
            return false;
    }
    return true;
}

} // namespace crash
