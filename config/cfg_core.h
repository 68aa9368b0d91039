#pragma once
// The configuration: the value tree and the storages it is mirrored to.

#include "config/cfg.h"
#include "config/cfg_storage.h"
#include "config/cfg_value_tree.h"
#include "platform/critical_section.h"

#include <atomic>
#include <memory>
#include <vector>

class CACfgCore : public CACfg {
public:
    CACfgCore() = default;
    CACfgCore(const CACfgCore&) = delete;
    CACfgCore& operator=(const CACfgCore&) = delete;

    bool AddStorage(DWORD flags, const CACfgStorageInfo& info) override;
    bool RemoveStorages() override;
    DWORD GetStorageFlags() override;
    bool IsDeferred() override;
    void SetDeferred(bool deferred) override;
    void BeginRead() override;
    void EndRead() override;
    size_t GetValue(const char* name, DWORD* type, const void** buffer, DWORD mask) override;
    bool SetValue(const char* name, const void* data, size_t size, DWORD type,
                  DWORD flags) override;
    // Saves what is still to be saved (unless deferred), then removes the storages.
    ~CACfgCore() override;

private:
    bool SaveAll();
    void LoadFromStorages(const std::string& name, DWORD mask);

    // Declared first, so the storages that refer to it go before it.
    CfgValueTree tree_;
    // Held while storages are added, removed, loaded or saved; taken before the tree's lock,
    // never after it. Saves of several threads so go one after another, each seeing the
    // changes of those before.
    platform::CriticalSection storageLock_;
    std::vector<std::unique_ptr<CACfgStorage>> storages_;
    DWORD storageFlags_ = 0;
    std::atomic<bool> deferred_{false};
};
