#include "platform/executable_image.h"

#include "platform/unique_resource.h"

#include <cstdint>
#include <cstring>

namespace platform {

bool ReadLinkTime(const std::wstring& path, SYSTEMTIME& linkTime) {
    const UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 65)
        return false;
    const UniqueHandle mapping(
        ::CreateFileMappingW(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping)
        return false;
    const UniqueView view(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
    if (!view)
        return false;
    const auto* bytes = static_cast<const uint8_t*>(view.Get());
    uint32_t peOffset = 0;
    std::memcpy(&peOffset, bytes + 60, 4);
    // The stamp is read 8 bytes behind the signature, so the file must hold those 4 bytes too.
    if (static_cast<uint64_t>(size.QuadPart) < uint64_t{peOffset} + 12 ||
        std::memcmp(bytes + peOffset, "PE\0\0", 4) != 0)
        return false;
    uint32_t seconds = 0;
    std::memcpy(&seconds, bytes + peOffset + 8, 4);
    // 1969-12-31 16:00:00 as a FILETIME count of 100 ns units since 1601.
    constexpr uint64_t kEpoch = 116444736000000000ULL - 8ULL * 3600 * 10000000;
    const uint64_t ticks = kEpoch + uint64_t{seconds} * 10000000;
    FILETIME time = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    return ::FileTimeToSystemTime(&time, &linkTime) != FALSE;
}

} // namespace platform
