#pragma once
// The pairing of the products the user chose with the builds the version file offers: which of
// them have a newer build, and which build it is.

#include "catalogue/installed_product.h"
#include "catalogue/installed_product_list.h"
#include "catalogue/version_file.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

inline constexpr uint32_t kNeverCopied = 0xFFFFFFFF;

// The worker's copies of the chosen products (the update items) and what they were copied from.
struct UpdateSelection {
    std::vector<InstalledProduct> items;
    // The change count of the list the items were copied from; a list starts at 0, so the
    // first selection always copies.
    uint32_t copiedChangeCount = kNeverCopied;
    uint32_t updateCount = 0;
};

enum class SelectionOutcome {
    Reused,                // the choice had not changed; the earlier statuses stand
    Paired,                // every item was paired afresh
    Cancelled,             // pairing stopped at a cancel; the rest keep status 1
    VersionFileUnreadable, // the version file could not be loaded; the items keep their status
};

// An offer belongs to a product when its resource id, product id, language (exactly, case
// included) and variant all agree.
bool OfferMatchesProduct(const OfferedBuild& offer, const InstalledProduct& product);

// Two offers belong to the same products: the later one in the file is never chosen.
bool OffersPairAlike(const OfferedBuild& a, const OfferedBuild& b);

// The index of the first offer in file order that belongs to `product`, or -1.
int32_t FindOffer(const std::vector<OfferedBuild>& offers, const InstalledProduct& product);

// Pairs one item: status 3 without an offer; else the offer's name, version, build and index are
// copied, and status 6 (with the offer's version as the item's) when its build is higher, else 2.
// Returns true for an update available.
bool PairUpdateItem(InstalledProduct& item, const std::vector<OfferedBuild>& offers);

// The number of items whose status says an update is available.
uint32_t CountUpdatesAvailable(const std::vector<InstalledProduct>& items);

// When the choice in `products` changed since the last call, copies the chosen records, loads
// `versionFile` from `versionFilePath` and pairs every item, asking `cancelRequested` (may be
// empty) before each. `selection.updateCount` holds the result in every case.
SelectionOutcome SelectUpdates(const InstalledProductList& products, UpdateSelection& selection,
                               VersionFile& versionFile, const std::wstring& versionFilePath,
                               const std::function<bool()>& cancelRequested);
