#include "catalogue/update_selection.h"

#include "platform/run_log.h"

namespace {

bool UpdateAvailable(const InstalledProduct& item) {
    // Readers test the bits, not the code, so a code with both bits counts the same.
    return (item.Status() & 0x6) == 0x6;
}

void CopyChosenProducts(const InstalledProductList& products, UpdateSelection& selection) {
    selection.copiedChangeCount = products.ChangeCount();
    selection.items.clear();
    for (const InstalledProduct& product : products.Products()) {
        if (product.IsSelected())
            selection.items.push_back(product);
    }
}

void LogPairing(const InstalledProduct& item, uint32_t installedBuild,
                const std::vector<OfferedBuild>& offers) {
    if (item.offeredIndex < 0 || static_cast<size_t>(item.offeredIndex) >= offers.size() ||
        item.Status() == kStatusNoOfferedBuild) {
        platform::LogRunStepF(L"pairing: %s build %u: no offered build", item.displayName.c_str(),
                              installedBuild);
        return;
    }
    platform::LogRunStepF(
        L"pairing: %s build %u with [%s] build %u: %s", item.displayName.c_str(), installedBuild,
        offers[static_cast<size_t>(item.offeredIndex)].sectionName.c_str(), item.offeredBuild,
        UpdateAvailable(item) ? L"update available" : L"up to date");
}

} // namespace

bool OfferMatchesProduct(const OfferedBuild& offer, const InstalledProduct& product) {
    return offer.resId == product.installCode && offer.offeredProductId == product.keyProductId &&
           offer.langId == product.language && offer.wtlVariant == product.wtlVariant;
}

bool OffersPairAlike(const OfferedBuild& a, const OfferedBuild& b) {
    return a.resId == b.resId && a.offeredProductId == b.offeredProductId && a.langId == b.langId &&
           a.wtlVariant == b.wtlVariant;
}

int32_t FindOffer(const std::vector<OfferedBuild>& offers, const InstalledProduct& product) {
    for (size_t i = 0; i < offers.size(); ++i) {
        if (OfferMatchesProduct(offers[i], product))
            return static_cast<int32_t>(i);
    }
    return -1;
}

bool PairUpdateItem(InstalledProduct& item, const std::vector<OfferedBuild>& offers) {
    const int32_t index = FindOffer(offers, item);
    if (index < 0) {
        item.SetStatus(kStatusNoOfferedBuild);
        return false;
    }
    const OfferedBuild& offer = offers[static_cast<size_t>(index)];
    item.offeredName = offer.name;
    item.offeredMajor = offer.major;
    item.offeredMinor = offer.minor;
    item.offeredBuild = offer.build;
    item.offeredIndex = index;
    // Only the build numbers decide; version texts and dates may disagree with them.
    if (offer.build > item.build) {
        item.versionMajor = offer.major;
        item.versionMinor = offer.minor;
        item.build = offer.build;
        item.SetStatus(kStatusUpdateAvailable);
        return true;
    }
    item.SetStatus(kStatusUpToDate);
    return false;
}

uint32_t CountUpdatesAvailable(const std::vector<InstalledProduct>& items) {
    uint32_t count = 0;
    for (const InstalledProduct& item : items) {
        if (UpdateAvailable(item))
            ++count;
    }
    return count;
}

SelectionOutcome SelectUpdates(const InstalledProductList& products, UpdateSelection& selection,
                               VersionFile& versionFile, const std::wstring& versionFilePath,
                               const std::function<bool()>& cancelRequested) {
    selection.updateCount = 0;
    if (products.ChangeCount() == selection.copiedChangeCount) {
        selection.updateCount = CountUpdatesAvailable(selection.items);
        return SelectionOutcome::Reused;
    }
    CopyChosenProducts(products, selection);
    if (!versionFile.LoadVersionFile(versionFilePath)) {
        platform::LogRunStep(L"version file: unreadable, nothing paired");
        // Unpaired copies must not pass for a finished selection: the next call tries again.
        selection.copiedChangeCount = kNeverCopied;
        return SelectionOutcome::VersionFileUnreadable;
    }

    for (InstalledProduct& item : selection.items)
        item.SetStatus(kStatusNotUpdated);
    for (InstalledProduct& item : selection.items) {
        if (cancelRequested && cancelRequested())
            return SelectionOutcome::Cancelled;
        const uint32_t installedBuild = item.build;
        if (PairUpdateItem(item, versionFile.Builds()))
            ++selection.updateCount;
        LogPairing(item, installedBuild, versionFile.Builds());
    }
    return SelectionOutcome::Paired;
}
