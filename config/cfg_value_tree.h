#pragma once
// The in-memory values of one configuration, under one lock: current and default data, flags,
// changed marks, and the temporary buffers handed out to readers.

#include "platform/critical_section.h"

#include <windows.h>

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

using CfgBytes = std::vector<unsigned char>;

// A copy of one value, as a storage sees it when saving.
struct CfgValueCopy {
    std::string name;
    DWORD type = 0;
    DWORD flags = 0;
    // Current data; empty optional when the value is not set (absent or equal to its default).
    std::optional<CfgBytes> current;
};

// A value read from a storage.
struct CfgLoadedValue {
    std::string name;
    DWORD type = 0;
    CfgBytes data;
};

class CfgValueTree {
public:
    CfgValueTree() = default;
    CfgValueTree(const CfgValueTree&) = delete;
    CfgValueTree& operator=(const CfgValueTree&) = delete;

    // Stores the caller's value; with kCfgSetDefault in `flags` the default data. False for an
    // empty name or missing data.
    bool Set(const std::string& name, const void* data, size_t size, DWORD type, DWORD flags);

    // Puts values read from a storage into memory as current data. A value that already has
    // current data keeps it: it was set by the caller or came from an earlier storage. `typed`
    // says whether the storage knows the type; if not, a value known already keeps its type.
    void PutLoaded(const std::vector<CfgLoadedValue>& values, DWORD storageFlags, bool typed);

    // True when the storages need to be asked for `name`: it is not in memory, or it has only a
    // default and the storages have not been asked yet. Marks an existing entry as asked.
    bool NeedsLookup(const std::string& name);
    // True when `name` has current data or the caller set it (so no storage may set it).
    bool HasCurrent(const std::string& name);

    // Size of the value (current data, else default data; 0 when absent). `buffer` receives a
    // temporary copy that lives until the readers are done.
    size_t Get(const std::string& name, DWORD* type, const void** buffer);
    void BeginRead();
    void EndRead();

    // Values belonging to a storage with `storageFlags`; only the changed ones when asked.
    std::vector<CfgValueCopy> Collect(DWORD storageFlags, bool changedOnly);
    // True when any value belongs to a storage with `storageFlags`.
    bool AnyBelongingTo(DWORD storageFlags);

    // Every change gets a serial number; a save clears the marks of the changes it has seen,
    // except those a storage could not save for now and wants to try again (KeepChanged).
    unsigned long long ChangeSerial();
    void KeepChanged(const std::string& name);
    void ClearChangedUpTo(unsigned long long serial);
    bool AnyChanged();
    // A storage was added: values with only a default may be found there.
    void ForgetLookups();

private:
    struct Entry {
        DWORD type = 0;
        DWORD flags = 0;
        std::optional<CfgBytes> current;
        CfgBytes defaultData;
        unsigned long long changeSerial = 0;
        // The caller has set the current data (perhaps back to the default): storages must not
        // bring an older stored value back.
        bool setByCaller = false;
    };

    void SetCurrent(Entry& entry, CfgBytes data);
    void MarkChanged(Entry& entry);
    const CfgBytes* DataOf(const Entry& entry) const;
    const void* KeepTemporary(const CfgBytes& data);

    platform::CriticalSection lock_;
    std::map<std::string, Entry> values_;
    unsigned long long serial_ = 0;
    unsigned readers_ = 0;
    std::vector<std::unique_ptr<unsigned char[]>> temporaries_;
    std::set<std::string> keepChanged_;
};
