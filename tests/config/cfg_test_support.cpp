#include "tests/config/cfg_test_support.h"

#include "platform/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    static std::atomic<unsigned> counter{0};
    const std::wstring name =
        platform::FormatWide(L"cfgtest-%lx-%x", ::GetCurrentProcessId(), ++counter);
    path = (fs::temp_directory_path() / name).wstring();
    std::error_code error;
    fs::remove_all(path, error);
    fs::create_directory(path, error);
}

ScratchFolder::~ScratchFolder() {
    std::error_code error;
    fs::remove_all(path, error);
}

Bytes ReadWholeFile(const std::wstring& path) {
    std::ifstream in(fs::path(path), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::wstring& path, const std::string& content) {
    std::ofstream out(fs::path(path), std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(out.write(content.data(), std::ssize(content)).flush());
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

Bytes BytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::string TextOf(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

CACfgStorageInfo PathInfo(const std::wstring& path) {
    CACfgStorageInfo info;
    info.path = path.c_str();
    return info;
}

CACfgStorageInfo BufferInfo(Bytes& buffer) {
    CACfgStorageInfo info;
    info.buffer = &buffer;
    return info;
}

std::string ValueText(CACfg& cfg, const char* name, DWORD* type, DWORD mask) {
    cfg.BeginRead();
    const void* buffer = nullptr;
    const size_t size = cfg.GetValue(name, type, &buffer, mask);
    std::string text(size != 0 ? static_cast<const char*>(buffer) : "", size);
    cfg.EndRead();
    return text;
}

bool SetText(CACfg& cfg, const char* name, const std::string& text, DWORD flags, DWORD type) {
    return cfg.SetValue(name, text.data(), text.size(), type, flags);
}

ValueMap MapOf(const CfgDecodedImage& image) {
    ValueMap map;
    for (const CfgLoadedValue& value : image.values)
        map[value.name] = TextOf(value.data);
    return map;
}
