#include "crash/memory_dump.h"

#include <windows.h>

namespace crash {
namespace {

constexpr std::size_t kRowLength = 16;

bool IsReadable(const MEMORY_BASIC_INFORMATION& region) {
    constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY |
                                PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    return region.State == MEM_COMMIT && (region.Protect & kReadable) &&
           !(region.Protect & PAGE_GUARD);
}

bool CopyRange(std::uintptr_t address, unsigned char* buffer, std::size_t size) {
    SIZE_T read = 0;
    return ::ReadProcessMemory(::GetCurrentProcess(), reinterpret_cast<const void*>(address),
                               buffer, size, &read) &&
           read == size;
}

} // namespace

std::size_t CopyReadableMemory(std::uintptr_t address, unsigned char* buffer, std::size_t size) {
    // Only committed, readable memory is copied: reading reserved pages through the process
    // handle is not refused on every system.
    std::size_t copied = 0;
    while (copied < size) {
        const std::uintptr_t at = address + copied;
        MEMORY_BASIC_INFORMATION region = {};
        if (!::VirtualQuery(reinterpret_cast<const void*>(at), &region, sizeof(region)) ||
            !IsReadable(region))
            break;
        const std::uintptr_t regionEnd =
            reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize;
        std::size_t chunk = static_cast<std::size_t>(regionEnd - at);
        if (chunk > size - copied)
            chunk = size - copied;
        if (!CopyRange(at, buffer + copied, chunk))
            break;
        copied += chunk;
    }
    return copied;
}

bool WriteHexDump(ReportText& text, std::uint64_t address, const unsigned char* bytes,
                  std::size_t count, int indent, bool wide) {
    for (std::size_t row = 0; row < count; row += kRowLength) {
        for (int i = 0; i < indent; ++i) {
            if (!text.AppendChar(' '))
                return false;
        }
        if (!text.Append(wide ? "%.16llX " : "%.8llX ",
                         static_cast<unsigned long long>(address + row)))
            return false;
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
