#include "config/cfg_core.h"

#include "config/cfg_storage_factory.h"

bool CACfgCore::AddStorage(DWORD flags, const CACfgStorageInfo& info) {
    platform::ScopedLock lock(storageLock_);
    std::unique_ptr<CACfgStorage> storage = CreateCfgStorage(tree_, flags, info);
    if (!storage)
        return false;
    if ((flags & kCfgLoadAtOnce) != 0 && !storage->Load(nullptr))
        return false;
    storageFlags_ |= flags;
    storages_.push_back(std::move(storage));
    tree_.ForgetLookups();
    return true;
}

bool CACfgCore::RemoveStorages() {
    platform::ScopedLock lock(storageLock_);
    storages_.clear();
    storageFlags_ = 0;
    return true;
}

DWORD CACfgCore::GetStorageFlags() {
    platform::ScopedLock lock(storageLock_);
    return storageFlags_;
}

bool CACfgCore::IsDeferred() {
    return deferred_;
}

void CACfgCore::SetDeferred(bool deferred) {
    deferred_ = deferred;
}

void CACfgCore::BeginRead() {
    tree_.BeginRead();
}

void CACfgCore::EndRead() {
    tree_.EndRead();
}

size_t CACfgCore::GetValue(const char* name, DWORD* type, const void** buffer, DWORD mask) {
    if (buffer != nullptr)
        *buffer = nullptr;
    if (name == nullptr || *name == '\0')
        return 0;
    const std::string key(name);
    if (tree_.NeedsLookup(key))
        LoadFromStorages(key, mask);
    return tree_.Get(key, type, buffer);
}

void CACfgCore::LoadFromStorages(const std::string& name, DWORD mask) {
    platform::ScopedLock lock(storageLock_);
    for (const auto& storage : storages_) {
        if (tree_.HasCurrent(name))
            return;
        if (CfgFlagsMatch(mask, storage->Flags()))
            storage->Load(name.c_str());
    }
}

bool CACfgCore::SetValue(const char* name, const void* data, size_t size, DWORD type, DWORD flags) {
    if (name == nullptr || !tree_.Set(name, data, size, type, flags))
        return false;
    if (deferred_ || (flags & kCfgSaveSuppressed) != 0)
        return true;
    return SaveAll();
}

// Every storage saves, also after one failed. The changed marks are cleared only for changes
// made before the save began, so a change made meanwhile by another thread is not forgotten,
// and not for values a storage could not save for now: the next save tries them again. A value
// that can never be saved (a name too long, an integer of 9 bytes) fails only once.
bool CACfgCore::SaveAll() {
    platform::ScopedLock lock(storageLock_);
    const unsigned long long seen = tree_.ChangeSerial();
    bool allSaved = true;
    for (const auto& storage : storages_)
        allSaved = storage->Save() && allSaved;
    tree_.ClearChangedUpTo(seen);
    return allSaved;
}

CACfgCore::~CACfgCore() {
    if (!deferred_ && tree_.AnyChanged())
        SaveAll();
    RemoveStorages();
}
