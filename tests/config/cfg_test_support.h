#pragma once
// Helpers the configuration tests share: a scratch folder, whole-file access and value reads.

#include "config/cfg.h"

#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// A fresh folder under the temporary folder, deleted with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring File(const wchar_t* name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

Bytes ReadWholeFile(const std::wstring& path);
void WriteWholeFile(const std::wstring& path, const Bytes& content);
Bytes BytesOf(const std::string& text);
bool FileExists(const std::wstring& path);
// Names of the files in `folder` (no "." or "..").
std::vector<std::wstring> FilesIn(const std::wstring& folder);

// The value's bytes as a string, and its type; empty when it does not exist.
std::string ValueText(CACfg& cfg, const char* name, DWORD* type = nullptr, DWORD mask = 0x00FFFFFF);
bool SetText(CACfg& cfg, const char* name, const std::string& text, DWORD flags,
             DWORD type = kCfgTypeString);
