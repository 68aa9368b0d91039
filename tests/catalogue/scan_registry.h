#pragma once
// The registry that a scan test writes its product keys into: the in-memory twin, or the real
// registry of the test prefix, in the 32-bit view where the family's installers write unless
// told otherwise. The same cases run against both, so the twin is held to the real registry's
// answers.

#include "catalogue/memory_registry_reader.h"

#include <string>

class ScanRegistry {
public:
    // The real one starts and ends without the maker's key in either view.
    explicit ScanRegistry(bool real, REGSAM view = KEY_WOW64_32KEY);
    ~ScanRegistry();
    ScanRegistry(const ScanRegistry&) = delete;
    ScanRegistry& operator=(const ScanRegistry&) = delete;

    void AddKey(const std::string& path);
    // Raw bytes of a value of `type` (which the twin does not keep: the scan reads any type).
    void SetValue(const std::string& path, const std::string& name, const std::string& bytes,
                  DWORD type = REG_BINARY);
    // An 8-bit string with its terminator.
    void SetString(const std::string& path, const std::string& name, const std::string& text) {
        SetValue(path, name, text + '\0', REG_SZ);
    }
    CRegistryReader& Reader();
    // Keys the scan opened and did not close, where that can be told.
    int KeysLeftOpen() const { return real_ ? 0 : twin_.OpenKeys(); }

private:
    void RemoveMakersKey() const;

    const bool real_;
    const REGSAM view_;
    CMemoryRegistryReader twin_;
};
