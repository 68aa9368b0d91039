#pragma once
// An in-memory registry with the real one's answers, for fast tests and benchmarks of the scan.
// Key paths compare without regard to case, as the registry's do; sub-keys enumerate in the
// order they were added.

#include "catalogue/registry_reader.h"

#include <map>
#include <memory>
#include <vector>

class CMemoryRegistryReader final : public CRegistryReader {
public:
    // Adds the key (and its parents) when missing.
    void AddKey(const std::string& path);
    // Stores the value's bytes as RegQueryValueExA would return them (8-bit text with its
    // terminator for strings).
    void SetValue(const std::string& path, const std::string& name, std::string bytes);
    void SetString(const std::string& path, const std::string& name, const std::string& text);

    Key Open(const std::string& path) override;
    EnumResult EnumerateSubKey(Key key, DWORD index, DWORD bufferChars, std::string& name) override;
    std::optional<std::string> QueryValue(Key key, const char* name, DWORD bufferBytes) override;
    void Close(Key key) override;

    // Keys opened and not yet closed: a scan must leave none behind.
    int OpenKeys() const { return openKeys_; }

private:
    struct Node {
        std::string name;
        std::vector<std::unique_ptr<Node>> children;
        std::map<std::string, std::string> values; // lower-case name → bytes
    };

    Node* Find(const std::string& path, bool create);

    Node root_;
    int openKeys_ = 0;
};
