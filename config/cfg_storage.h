#pragma once
// A place the configuration's values are mirrored to.

#include "config/cfg_value_tree.h"

#include <windows.h>

class CACfgStorage {
public:
    // Loads `name` (a registry storage) or the whole content (a file or memory storage) into
    // the tree. A null or empty name asks for the content only.
    virtual bool Load(const char* name) = 0;
    // Writes the values that belong to this storage.
    virtual bool Save() = 0;
    virtual ~CACfgStorage() = default;

    DWORD Flags() const { return flags_; }

    CACfgStorage(const CACfgStorage&) = delete;
    CACfgStorage& operator=(const CACfgStorage&) = delete;

protected:
    CACfgStorage(CfgValueTree& tree, DWORD flags) : tree_(tree), flags_(flags) {}

    CfgValueTree& Tree() const { return tree_; }

private:
    CfgValueTree& tree_;
    const DWORD flags_;
};
