#include "engine/installation_check.h"

#include "platform/run_log.h"

namespace {

const InstalledProduct* LastMatch(const InstalledProductList& fresh, const InstalledProduct& item) {
    const InstalledProduct* match = nullptr;
    for (const InstalledProduct& product : fresh.Products())
        if (product.resellerId == item.resellerId && product.keyProductId == item.keyProductId)
            match = &product;
    return match;
}

void ApplyOutcome(InstalledProduct& item, const InstalledProduct* installed) {
    if (installed == nullptr) {
        // Counting a product that is gone as updated would report a failure as success.
        item.SetStatus(kStatusNotUpdated);
        platform::LogRunStepF(L"verification: %s: no longer installed", item.displayName.c_str());
        return;
    }
    platform::LogRunStepF(L"verification: %s: build %u installed, %u offered: %s",
                          item.displayName.c_str(), installed->build, item.build,
                          item.build > installed->build ? L"not updated" : L"updated");
    // `build` holds the offered build until now.
    item.SetStatus(item.build > installed->build ? kStatusNotUpdated : kStatusDownloaded);
    item.versionMajor = installed->versionMajor;
    item.versionMinor = installed->versionMinor;
    item.build = installed->build;
}

} // namespace

void ApplyInstalledProducts(CInstallationRecords& records, const InstalledProductList& fresh) {
    const size_t count = records.DownloadedCount();
    for (size_t position = 0; position < count; ++position)
        records.Update(position,
                       [&](InstalledProduct& item) { ApplyOutcome(item, LastMatch(fresh, item)); });
}

void VerifyInstallation(CInstallationRecords& records) {
    InstalledProductList fresh(false);
    fresh.ScanInstalledProducts();
    ApplyInstalledProducts(records, fresh);
}
