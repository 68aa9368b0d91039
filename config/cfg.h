#pragma once
// The configuration interface: named values kept in memory and mirrored to storages (registry
// keys, files or memory images).

#include "config/cfg_flags.h"

#include <cstddef>
#include <vector>

// What a storage is made from; which members count depends on the storage kind in the flags.
struct CACfgStorageInfo {
    // Registry: "[32:|64:]HKCU\key" or "[32:|64:]HKLM\key". File: the file's path.
    const wchar_t* path = nullptr;
    // Memory image kept in a growing buffer object; takes precedence over the fixed block.
    std::vector<unsigned char>* buffer = nullptr;
    // Memory image in a fixed block of `memorySize` bytes.
    void* memory = nullptr;
    size_t memorySize = 0;
    // Registry only: the machine whose registry is used; null for this one.
    const char* machine = nullptr;
    // Text format: the name/value separator and the two line separators.
    char separators[3] = {'=', '\n', '\r'};
};

class CACfg {
public:
    // Creates a storage from `info` and appends it; with kCfgLoadAtOnce it must load at once.
    virtual bool AddStorage(DWORD flags, const CACfgStorageInfo& info) = 0;
    // Destroys every storage; the storage flags become 0.
    virtual bool RemoveStorages() = 0;
    // OR of the flags of all storages added.
    virtual DWORD GetStorageFlags() = 0;
    virtual bool IsDeferred() = 0;
    // While deferred, SetValue keeps changes in memory only; they are saved by a later save.
    virtual void SetDeferred(bool deferred) = 0;
    // Buffers returned by GetValue stay valid from BeginRead to the matching EndRead.
    virtual void BeginRead() = 0;
    virtual void EndRead() = 0;
    // Looks `name` up, loading it from the storages matching `mask` when needed. Returns the size
    // (0 when the value does not exist); `type` and `buffer` receive the type and a pointer to
    // the bytes when not null. The bytes are followed by two zero bytes, so strings end there.
    virtual size_t GetValue(const char* name, DWORD* type, const void** buffer, DWORD mask) = 0;
    // Sets a value (or its default, with kCfgSetDefault) and saves, unless saving is deferred or
    // suppressed (kCfgSaveSuppressed). True when stored and every storage saved.
    virtual bool SetValue(const char* name, const void* data, size_t size, DWORD type,
                          DWORD flags) = 0;
    virtual ~CACfg() = default;
};
