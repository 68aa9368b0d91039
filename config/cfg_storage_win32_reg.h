#pragma once
// A storage that mirrors values to one registry key and the keys below it.

#include "config/cfg_registry_path.h"
#include "config/cfg_storage.h"
#include "platform/unique_resource.h"

#include <optional>

class CACfgStorageWin32Reg : public CACfgStorage {
public:
    // `path` as ParseCfgRegistryPath takes it, converted to the system code page; `machine`
    // names a remote machine, or is null for this one. A path without a known root, or a machine
    // that cannot be reached, gives a storage that reaches nothing (IsInert).
    CACfgStorageWin32Reg(CfgValueTree& tree, DWORD flags, const wchar_t* path, const char* machine);

    bool Load(const char* name) override;
    bool Save() override;

    bool IsInert() const { return root_ == nullptr; }

private:
    bool WriteValue(HKEY key, const std::wstring& valueName, const CfgValueCopy& value) const;
    bool DeleteValue(const CfgRegistryName& where) const;

    std::optional<CfgRegistryLocation> location_;
    platform::UniqueRegKey remoteRoot_;
    HKEY root_ = nullptr;
};
