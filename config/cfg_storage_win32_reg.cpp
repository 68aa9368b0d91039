#include "config/cfg_storage_win32_reg.h"

#include "config/cfg_registry_value.h"
#include "platform/text.h"

namespace {

// The value may change between asking its size and reading it; a few retries cover that.
constexpr int kReadAttempts = 3;

bool ReadRegistryValue(HKEY key, const std::wstring& valueName, DWORD& type, CfgBytes& bytes) {
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        DWORD size = 0;
        if (::RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            return false;
        if (size > kCfgRegistryValueLimit)
            return false;
        bytes.assign(size, 0);
        const LONG result = ::RegQueryValueExW(key, valueName.c_str(), nullptr, &type,
                                               bytes.empty() ? nullptr : bytes.data(), &size);
        if (result == ERROR_SUCCESS) {
            bytes.resize(size);
            return true;
        }
        if (result != ERROR_MORE_DATA)
            return false;
    }
    return false;
}

} // namespace

CACfgStorageWin32Reg::CACfgStorageWin32Reg(CfgValueTree& tree, DWORD flags, const wchar_t* path,
                                           const char* machine)
    : CACfgStorage(tree, flags) {
    if (path == nullptr)
        return;
    location_ = ParseCfgRegistryPath(platform::AnsiFromWide(path), CfgSystemIs64Bit());
    if (!location_)
        return;
    if (machine == nullptr || *machine == '\0') {
        root_ = location_->root;
        return;
    }
    const std::wstring machineName = platform::WideFromAnsi(machine);
    if (::RegConnectRegistryW(machineName.c_str(), location_->root, remoteRoot_.Put()) ==
        ERROR_SUCCESS)
        root_ = remoteRoot_.Get();
}

// Asked for no name (a load at once), there is nothing to do, also for a storage that reaches
// nothing.
bool CACfgStorageWin32Reg::Load(const char* name) {
    if (name == nullptr || *name == '\0')
        return true;
    if (IsInert())
        return false;
    const auto where = SplitCfgRegistryName(location_->baseKey, name);
    if (!where)
        return false;
    platform::UniqueRegKey key;
    if (::RegOpenKeyExW(root_, where->key.c_str(), 0, KEY_QUERY_VALUE | location_->view,
                        key.Put()) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    CfgBytes bytes;
    if (!ReadRegistryValue(key.Get(), where->value, type, bytes))
        return false;
    Tree().PutLoaded({CfgFromRegistry(name, type, std::move(bytes))}, Flags(), true);
    return true;
}

bool CACfgStorageWin32Reg::Save() {
    const std::vector<CfgValueCopy> changed = Tree().Collect(Flags(), true);
    if (IsInert())
        return changed.empty();
    bool allSaved = true;
    // Values come sorted by name, so those of one key follow one another: keep its key open.
    platform::UniqueRegKey key;
    std::wstring openKeyPath;
    for (const CfgValueCopy& value : changed) {
        const auto where = SplitCfgRegistryName(location_->baseKey, value.name);
        if (!where) {
            allSaved = false;
            continue;
        }
        if (!value.current) {
            if (!DeleteValue(*where)) {
                Tree().KeepChanged(value.name);
                allSaved = false;
            }
            continue;
        }
        if (!key || openKeyPath != where->key) {
            key.Reset();
            openKeyPath.clear();
            if (::RegCreateKeyExW(root_, where->key.c_str(), 0, nullptr, 0,
                                  KEY_WRITE | location_->view, nullptr, key.Put(),
                                  nullptr) != ERROR_SUCCESS) {
                Tree().KeepChanged(value.name);
                allSaved = false;
                continue;
            }
            openKeyPath = where->key;
        }
        allSaved = WriteValue(key.Get(), where->value, value) && allSaved;
    }
    return allSaved;
}

// A value without a registry form fails for good; one the registry refused is tried again.
bool CACfgStorageWin32Reg::WriteValue(HKEY key, const std::wstring& valueName,
                                      const CfgValueCopy& value) const {
    const auto data = CfgToRegistry(value.type, *value.current);
    if (!data)
        return false;
    if (::RegSetValueExW(key, valueName.c_str(), 0, data->type, data->bytes.data(),
                         static_cast<DWORD>(data->bytes.size())) == ERROR_SUCCESS)
        return true;
    Tree().KeepChanged(value.name);
    return false;
}

// A value back at its default is not stored; a key or value that is not there is deleted
// already, and no key is created just to delete from it.
bool CACfgStorageWin32Reg::DeleteValue(const CfgRegistryName& where) const {
    platform::UniqueRegKey key;
    const LONG opened =
        ::RegOpenKeyExW(root_, where.key.c_str(), 0, KEY_SET_VALUE | location_->view, key.Put());
    if (opened == ERROR_FILE_NOT_FOUND)
        return true;
    if (opened != ERROR_SUCCESS)
        return false;
    const LONG deleted = ::RegDeleteValueW(key.Get(), where.value.c_str());
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}
