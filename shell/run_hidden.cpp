#include "shell/run_hidden.h"

#include "catalogue/installed_product_list.h"
#include "engine/package_installation.h"
#include "engine/updater.h"
#include "shell/startup_settings.h"

namespace {

bool NamedOnCommandLine(const InstalledProduct& product, const StartupSettings& settings) {
    return product.resellerId == settings.resellerId &&
           (product.keyProductId == settings.mappedProductId ||
            product.keyProductId == settings.productId);
}

// Chooses the products to update; returns how many were chosen.
size_t SelectProducts(InstalledProductList& products, const StartupSettings& settings) {
    products.SetAllSelected(false);
    for (size_t i = 0; i < products.Count(); ++i)
        if (!settings.IdsPresent() || NamedOnCommandLine(products.At(i), settings))
            products.SetSelected(i, true);
    return products.CountSelected();
}

} // namespace

void RunHidden() {
    InstalledProductList& products = TheInstalledProducts();
    products.ScanInstalledProducts();
    LogProductsFound(products);
    if (products.Count() == 0)
        return;
    CUpdater& updater = TheUpdater();
    if (SelectProducts(products, TheStartupSettings()) > 0 && updater.StartCheck()) {
        updater.IdleEvent().Wait(INFINITE);
        updater.SelectUpdates();
        updater.StartDownload();
    }
    if (updater.IsBusy())
        updater.IdleEvent().Wait(INFINITE);
    RunInstallersToTheEnd(CInstallationRecords(updater.UpdateList(), updater.DownloadedIndices(),
                                               updater.ListLock()));
}
