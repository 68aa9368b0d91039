#include "config/cfg_value_tree.h"

#include "config/cfg_flags.h"

#include <cstring>

namespace {

// Strings are kept without their terminator, so a value set with or without one is the same
// value and the formats never carry the terminator.
void DropStringTerminator(CfgBytes& data, DWORD type) {
    if (type == kCfgTypeString && !data.empty() && data.back() == 0)
        data.pop_back();
    else if (type == kCfgTypeWideString && data.size() >= 2 && data.size() % 2 == 0 &&
             data[data.size() - 1] == 0 && data[data.size() - 2] == 0)
        data.resize(data.size() - 2);
}

} // namespace

bool CfgValueTree::Set(const std::string& name, const void* data, size_t size, DWORD type,
                       DWORD flags) {
    if (name.empty() || (data == nullptr && size != 0))
        return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    CfgBytes value(bytes, bytes + size);
    DropStringTerminator(value, type);

    platform::ScopedLock lock(lock_);
    Entry& entry = values_[name];
    const bool wasChanged = (entry.flags & kCfgChanged) != 0;
    entry.type = type;
    entry.flags = (flags & kCfgCallerFlagsMask) | kCfgSetValueAdds | (entry.flags & kCfgLookedUp);
    if ((flags & kCfgSetDefault) != 0) {
        entry.defaultData = std::move(value);
        // Setting a default is not a change to save, but a change still pending stays pending.
        if (!wasChanged)
            entry.flags &= ~kCfgChanged;
        if (entry.current && *entry.current == entry.defaultData)
            entry.current.reset();
    } else {
        SetCurrent(entry, std::move(value));
        entry.setByCaller = true;
        MarkChanged(entry);
    }
    return true;
}

void CfgValueTree::SetCurrent(Entry& entry, CfgBytes data) {
    if (data == entry.defaultData)
        entry.current.reset();
    else
        entry.current = std::move(data);
}

void CfgValueTree::MarkChanged(Entry& entry) {
    entry.flags |= kCfgChanged;
    entry.changeSerial = ++serial_;
}

void CfgValueTree::PutLoaded(const std::vector<CfgLoadedValue>& values, DWORD storageFlags,
                             bool typed) {
    platform::ScopedLock lock(lock_);
    for (const CfgLoadedValue& loaded : values) {
        const auto found = values_.find(loaded.name);
        if (found == values_.end()) {
            Entry& entry = values_[loaded.name];
            entry.type = loaded.type;
            entry.flags = storageFlags & ~kCfgSaveSuppressed;
            SetCurrent(entry, loaded.data);
            continue;
        }
        Entry& entry = found->second;
        if (entry.current || entry.setByCaller)
            continue;
        if (typed)
            entry.type = loaded.type;
        SetCurrent(entry, loaded.data);
    }
}

bool CfgValueTree::NeedsLookup(const std::string& name) {
    platform::ScopedLock lock(lock_);
    const auto found = values_.find(name);
    if (found == values_.end())
        return true;
    Entry& entry = found->second;
    if (entry.current || entry.setByCaller || (entry.flags & kCfgLookedUp) != 0)
        return false;
    entry.flags |= kCfgLookedUp;
    return true;
}

bool CfgValueTree::HasCurrent(const std::string& name) {
    platform::ScopedLock lock(lock_);
    const auto found = values_.find(name);
    return found != values_.end() && (found->second.current || found->second.setByCaller);
}

const CfgBytes* CfgValueTree::DataOf(const Entry& entry) const {
    if (entry.current)
        return &*entry.current;
    if (!entry.defaultData.empty())
        return &entry.defaultData;
    return nullptr;
}

size_t CfgValueTree::Get(const std::string& name, DWORD* type, const void** buffer) {
    platform::ScopedLock lock(lock_);
    if (buffer != nullptr)
        *buffer = nullptr;
    const auto found = values_.find(name);
    if (found == values_.end())
        return 0;
    const CfgBytes* data = DataOf(found->second);
    if (data == nullptr)
        return 0;
    if (type != nullptr)
        *type = found->second.type;
    if (buffer != nullptr)
        *buffer = KeepTemporary(*data);
    return data->size();
}

const void* CfgValueTree::KeepTemporary(const CfgBytes& data) {
    // Without a reader counted, nobody can hold an older buffer legitimately: keep only the
    // latest, so callers that never call BeginRead do not make the list grow without end.
    if (readers_ == 0)
        temporaries_.clear();
    auto copy = std::make_unique<unsigned char[]>(data.size() + 2);
    if (!data.empty())
        std::memcpy(copy.get(), data.data(), data.size());
    copy[data.size()] = 0;
    copy[data.size() + 1] = 0;
    temporaries_.push_back(std::move(copy));
    return temporaries_.back().get();
}

void CfgValueTree::BeginRead() {
    platform::ScopedLock lock(lock_);
    ++readers_;
}

void CfgValueTree::EndRead() {
    platform::ScopedLock lock(lock_);
    if (readers_ == 0)
        return;
    if (--readers_ == 0)
        temporaries_.clear();
}

std::vector<CfgValueCopy> CfgValueTree::Collect(DWORD storageFlags, bool changedOnly) {
    platform::ScopedLock lock(lock_);
    std::vector<CfgValueCopy> copies;
    for (const auto& [name, entry] : values_) {
        if (!CfgFlagsMatch(entry.flags, storageFlags))
            continue;
        if (changedOnly && (entry.flags & kCfgChanged) == 0)
            continue;
        copies.push_back({name, entry.type, entry.flags, entry.current});
    }
    return copies;
}

bool CfgValueTree::AnyBelongingTo(DWORD storageFlags) {
    platform::ScopedLock lock(lock_);
    for (const auto& [name, entry] : values_) {
        if (CfgFlagsMatch(entry.flags, storageFlags))
            return true;
    }
    return false;
}

unsigned long long CfgValueTree::ChangeSerial() {
    platform::ScopedLock lock(lock_);
    return serial_;
}

void CfgValueTree::KeepChanged(const std::string& name) {
    platform::ScopedLock lock(lock_);
    keepChanged_.insert(name);
}

void CfgValueTree::ClearChangedUpTo(unsigned long long serial) {
    platform::ScopedLock lock(lock_);
    for (auto& [name, entry] : values_) {
        if (entry.changeSerial <= serial && keepChanged_.count(name) == 0)
            entry.flags &= ~kCfgChanged;
    }
    keepChanged_.clear();
}

void CfgValueTree::ForgetLookups() {
    platform::ScopedLock lock(lock_);
    for (auto& [name, entry] : values_)
        entry.flags &= ~kCfgLookedUp;
}

bool CfgValueTree::AnyChanged() {
    platform::ScopedLock lock(lock_);
    for (const auto& [name, entry] : values_) {
        if ((entry.flags & kCfgChanged) != 0)
            return true;
    }
    return false;
}
