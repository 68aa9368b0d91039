#pragma once
// Helpers the configuration tests share: a scratch folder, whole files, storage specs, values.

#include "config/cfg.h"
#include "config/cfg_decoded_image.h"

#include <map>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;
using ValueMap = std::map<std::string, std::string>;

// The storage group the tests put their storages and values in.
inline constexpr DWORD kGroup = 0x100;

// A fresh folder under the temporary folder, deleted with everything in it at the end.
struct ScratchFolder {
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::wstring File(const wchar_t* name) const { return path + L"\\" + name; }

    std::wstring path;
};

Bytes ReadWholeFile(const std::wstring& path);
void WriteWholeFile(const std::wstring& path, const std::string& content);
// Names of the files and folders in `folder`, sorted.
std::vector<std::wstring> FilesIn(const std::wstring& folder);
Bytes BytesOf(const std::string& text);
std::string TextOf(const Bytes& bytes);

CACfgStorageInfo PathInfo(const std::wstring& path);
CACfgStorageInfo BufferInfo(Bytes& buffer);

// The value's bytes and type; empty when it does not exist.
std::string ValueText(CACfg& cfg, const char* name, DWORD* type = nullptr, DWORD mask = 0xFFFFFF);
bool SetText(CACfg& cfg, const char* name, const std::string& text, DWORD flags,
             DWORD type = kCfgTypeString);
ValueMap MapOf(const CfgDecodedImage& image);
