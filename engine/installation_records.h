#pragma once
// The worker's records that an installation run reads and writes: the update items, the indices
// of those whose package was downloaded (in download order), and the lock that guards both.

#include "catalogue/installed_product.h"
#include "platform/critical_section.h"

#include <cstdint>
#include <optional>
#include <vector>

class CInstallationRecords {
public:
    CInstallationRecords(std::vector<InstalledProduct>& items,
                         const std::vector<uint32_t>& downloaded, platform::CriticalSection& lock)
        : items_(&items), downloaded_(&downloaded), lock_(&lock) {}

    // The downloaded list's current count; read afresh before every package, since the list
    // belongs to the worker.
    size_t DownloadedCount() const {
        platform::ScopedLock hold(*lock_);
        return downloaded_->size();
    }

    // A copy of the item that downloaded package `position` belongs to; nothing when the position
    // or the index it holds is out of range.
    std::optional<InstalledProduct> Item(size_t position) const {
        platform::ScopedLock hold(*lock_);
        const auto index = ItemIndex(position);
        if (!index)
            return std::nullopt;
        return (*items_)[*index];
    }

    // Applies `change` to that item under the lock; false when there is no such item.
    template <typename Change>
    bool Update(size_t position, Change&& change) {
        platform::ScopedLock hold(*lock_);
        const auto index = ItemIndex(position);
        if (!index)
            return false;
        change((*items_)[*index]);
        return true;
    }

private:
    std::optional<size_t> ItemIndex(size_t position) const {
        if (position >= downloaded_->size())
            return std::nullopt;
        const size_t index = (*downloaded_)[position];
        if (index >= items_->size())
            return std::nullopt;
        return index;
    }

    std::vector<InstalledProduct>* items_;
    const std::vector<uint32_t>* downloaded_;
    platform::CriticalSection* lock_;
};
