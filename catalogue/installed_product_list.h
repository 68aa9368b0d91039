#pragma once
// The family's products installed on this machine, in the order the registry gave them.

#include "catalogue/installed_product.h"
#include "catalogue/registry_reader.h"

#include <cstddef>
#include <set>
#include <string>
#include <vector>

class InstalledProductList {
public:
    // `requireProgramFile`: leave out products whose folder lacks their program file (the
    // wizard's lists); the check after an installation reads without it.
    explicit InstalledProductList(bool requireProgramFile);

    // Appends every installed product found through `reader` (the real registry by default).
    // A list is scanned once.
    void ScanInstalledProducts();
    void ScanInstalledProducts(CRegistryReader& reader);

    // Reads one product's key; appends the record and returns true when the product is kept.
    bool ReadInstalledProduct(CRegistryReader& reader, const std::string& keyPath,
                              uint32_t installCode, uint32_t productId);

    size_t Count() const { return products_.size(); }
    const InstalledProduct& At(size_t index) const { return products_[index]; }
    InstalledProduct& At(size_t index) { return products_[index]; }
    const std::vector<InstalledProduct>& Products() const { return products_; }

    // One record's choice; false (and no change) for an index out of range. Bumps the change
    // count.
    bool SetSelected(size_t index, bool selected);
    // Every record's choice, without a change-count bump.
    void SetAllSelected(bool selected);
    // The number of chosen records; a count of at least 1 bumps the change count.
    size_t CountSelected();

    bool AnyLocationFound() const { return anyLocationFound_; }
    uint32_t ChangeCount() const { return changeCount_; }
    bool RequiresProgramFile() const { return requireProgramFile_; }

    // For tests and tools that build a list by hand.
    void Append(const InstalledProduct& product) { products_.push_back(product); }

private:
    void CollectLocations();
    void ScanFamilyKey(CRegistryReader& reader, const std::string& familyKey);
    void ScanKeysWithoutSubKeys(CRegistryReader& reader);

    std::vector<InstalledProduct> products_;
    const bool requireProgramFile_;
    bool anyLocationFound_ = false;
    uint32_t changeCount_ = 0;
    std::set<std::string> familyKeys_;
    std::set<uint32_t> idsWithoutSubKey_;
};

// The program-wide list, read at start-up before the wizard opens.
InstalledProductList& TheInstalledProducts();

// Records the products of `products` in the run log, one line each.
void LogProductsFound(const InstalledProductList& products);
