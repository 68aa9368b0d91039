#include "tests/config/cfg_test_support.h"

#include "platform/text.h"
#include "platform/unique_resource.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

// Calls `visit` with the find data of every entry of `folder` but "." and "..".
template <typename Visit>
void ForEachEntry(const std::wstring& folder, Visit visit) {
    WIN32_FIND_DATAW found{};
    platform::UniqueFindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            visit(found);
    } while (::FindNextFileW(find.Get(), &found));
}

void DeleteTree(const std::wstring& folder) {
    ForEachEntry(folder, [&](const WIN32_FIND_DATAW& found) {
        const std::wstring path = folder + L"\\" + found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            DeleteTree(path);
        } else {
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(path.c_str());
        }
    });
    ::RemoveDirectoryW(folder.c_str());
}

} // namespace

ScratchFolder::ScratchFolder() {
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    path_ = platform::FormatWide(L"%lscfgtest-%lx-%x", temp, ::GetCurrentProcessId(), ++counter);
    DeleteTree(path_);
    ::CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    DeleteTree(path_);
}

Bytes ReadWholeFile(const std::wstring& path) {
    platform::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
    if (!file)
        return {};
    Bytes content(::GetFileSize(file.Get(), nullptr));
    DWORD read = 0;
    if (!content.empty())
        ::ReadFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
    content.resize(read);
    return content;
}

void WriteWholeFile(const std::wstring& path, const Bytes& content) {
    platform::UniqueHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    if (!content.empty())
        ::WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written,
                    nullptr);
    ASSERT_EQ(written, content.size());
}

Bytes BytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    ForEachEntry(folder, [&](const WIN32_FIND_DATAW& found) { names.push_back(found.cFileName); });
    return names;
}

std::string ValueText(CACfg& cfg, const char* name, DWORD* type, DWORD mask) {
    cfg.BeginRead();
    const void* buffer = nullptr;
    const size_t size = cfg.GetValue(name, type, &buffer, mask);
    std::string text;
    if (size != 0 && buffer != nullptr)
        text.assign(static_cast<const char*>(buffer), size);
    cfg.EndRead();
    return text;
}

bool SetText(CACfg& cfg, const char* name, const std::string& text, DWORD flags, DWORD type) {
    return cfg.SetValue(name, text.data(), text.size(), type, flags);
}
