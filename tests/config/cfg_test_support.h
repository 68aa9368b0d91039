#pragma once
// Helpers the configuration tests share: a scratch folder, whole files, storage settings, values.

#include "config/cfg.h"
#include "config/cfg_decoded_image.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;
using ValueMap = std::map<std::string, std::string>;

// The storage group the tests put their storages and values in.
inline constexpr DWORD kGroup = 0x100;

// A fresh folder under the temporary folder, deleted with everything in it at the end.
struct ScratchFolder {
    ScratchFolder() {
        static std::atomic<unsigned> counter{0};
        path = (std::filesystem::temp_directory_path() /
                platform::FormatWide(L"cfgtest-%lx-%x", ::GetCurrentProcessId(), ++counter))
                   .wstring();
        std::filesystem::create_directory(path);
    }
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::wstring File(const wchar_t* name) const { return path + L"\\" + name; }

    std::wstring path;
};

inline Bytes ReadWholeFile(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::wstring& path, const std::string& content) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(out.write(content.data(), std::ssize(content)).flush());
}

// Names of the files and folders in `folder`, sorted.
inline std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const std::filesystem::directory_entry& entry :
         std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

inline Bytes BytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

inline std::string TextOf(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

inline CACfgStorageInfo PathInfo(const std::wstring& path) {
    return {.path = path.c_str()};
}

inline CACfgStorageInfo BufferInfo(Bytes& buffer) {
    return {.buffer = &buffer};
}

// The value's bytes and type; empty when it does not exist.
inline std::string ValueText(CACfg& cfg, const char* name, DWORD* type = nullptr,
                             DWORD mask = 0xFFFFFF) {
    cfg.BeginRead();
    const void* buffer = nullptr;
    const size_t size = cfg.GetValue(name, type, &buffer, mask);
    std::string text(size != 0 ? static_cast<const char*>(buffer) : "", size);
    cfg.EndRead();
    return text;
}

inline bool SetText(CACfg& cfg, const char* name, const std::string& text, DWORD flags,
                    DWORD type = kCfgTypeString) {
    return cfg.SetValue(name, text.data(), text.size(), type, flags);
}

inline ValueMap MapOf(const CfgDecodedImage& image) {
    ValueMap map;
    for (const CfgLoadedValue& value : image.values)
        map[value.name] = TextOf(value.data);
    return map;
}
