#include "tools/publish/file_bytes.h"

#include "platform/unique_resource.h"

#include <windows.h>

namespace publish {

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::wstring& path) {
    const platform::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                    nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size = {};
    // Version files, keys and signatures are small; packages are hashed from the file instead.
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart > (256 << 20))
        return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() &&
        (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size()))
        return std::nullopt;
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes, bool mustBeNew) {
    const std::wstring temporary = path + L".new";
    {
        const platform::UniqueHandle file(
            ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        if (!file ||
            (!bytes.empty() && (!::WriteFile(file.Get(), bytes.data(),
                                             static_cast<DWORD>(bytes.size()), &written, nullptr) ||
                                written != bytes.size()))) {
            ::DeleteFileW(temporary.c_str());
            return false;
        }
    }
    const DWORD flags = mustBeNew ? 0 : MOVEFILE_REPLACE_EXISTING;
    if (::MoveFileExW(temporary.c_str(), path.c_str(), flags | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileW(temporary.c_str());
    return false;
}

std::wstring AbsolutePath(const std::wstring& path) {
    wchar_t full[MAX_PATH * 4] = {};
    const DWORD length = ::GetFullPathNameW(path.c_str(), MAX_PATH * 4, full, nullptr);
    return length == 0 || length >= MAX_PATH * 4 ? path : std::wstring(full, length);
}

} // namespace publish
