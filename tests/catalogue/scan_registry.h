#pragma once
// The registry that a scan test writes its product keys into: the in-memory twin, or the real
// registry of the test prefix in the 32-bit view, where the family's installers write. The same
// cases run against both, so the twin is held to the real registry's answers.

#include "catalogue/memory_registry_reader.h"
#include "catalogue/system_registry_reader.h"

#include <memory>
#include <string>

class ScanRegistry {
public:
    virtual ~ScanRegistry() = default;
    virtual void AddKey(const std::string& path) = 0;
    // Raw bytes (a binary value in the real registry).
    virtual void SetValue(const std::string& path, const std::string& name,
                          const std::string& bytes) = 0;
    // An 8-bit string with its terminator.
    virtual void SetString(const std::string& path, const std::string& name,
                           const std::string& text) = 0;
    virtual CRegistryReader& Reader() = 0;
    // Keys the scan opened and did not close, where that can be told.
    virtual int KeysLeftOpen() const { return 0; }
};

// A fresh, empty registry of the kind asked for; the real one starts and ends without the
// maker's key.
std::unique_ptr<ScanRegistry> MakeScanRegistry(bool real);
