#include "tests/service/test_files.h"

#include "platform/unique_resource.h"

#include <windows.h>

namespace servicetest {

TempFile::TempFile(const std::wstring& name) {
    wchar_t folder[MAX_PATH];
    const DWORD length = ::GetTempPathW(MAX_PATH, folder);
    path_ = std::wstring(folder, length) + L"zapdate_service_test_" +
            std::to_wstring(::GetCurrentProcessId()) + L"_" + name;
    ::DeleteFileW(path_.c_str());
}

TempFile::~TempFile() {
    ::DeleteFileW(path_.c_str());
}

std::string TempFile::Contents() const {
    return ReadWholeFile(path_);
}

std::string ReadWholeFile(const std::wstring& path) {
    platform::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    std::string contents;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        contents.append(buffer, read);
    return contents;
}

std::string PatternBytes(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

} // namespace servicetest
