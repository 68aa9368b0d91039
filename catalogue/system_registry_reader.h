#pragma once
// The real registry behind the reader interface: HKEY_LOCAL_MACHINE in its 32-bit view, where
// the family's 32-bit installers write, so both builds of the wizard see the same keys.

#include "catalogue/registry_reader.h"

class CSystemRegistryReader final : public CRegistryReader {
public:
    Key Open(const std::string& path) override;
    EnumResult EnumerateSubKey(Key key, DWORD index, DWORD bufferChars, std::string& name) override;
    std::optional<std::string> QueryValue(Key key, const char* name, DWORD bufferBytes) override;
    void Close(Key key) override;
};

// The reader the program uses.
CRegistryReader& TheSystemRegistryReader();
