#include "shell/hand_over.h"

#include "catalogue/installed_product_list.h"
#include "engine/updater.h"
#include "platform/executable_image.h"
#include "shell/relaunch.h"

#include <optional>

namespace {

constexpr wchar_t kCleanUpSwitch[] = L"-velk_update_wizard_delete_temp_folder";

// Wizards older than this cannot clean up after another one.
bool IsSuitableDate(const SYSTEMTIME& linkTime) {
    if (linkTime.wYear != 2002)
        return linkTime.wYear > 2002;
    return linkTime.wMonth >= 5;
}

std::optional<InstalledProduct> UpdateItem(CUpdater& updater, size_t index) {
    platform::ScopedLock hold(updater.ListLock());
    const std::vector<InstalledProduct>& items = updater.UpdateList();
    if (index >= items.size())
        return std::nullopt;
    return items[index];
}

const InstalledProduct* FindFresh(const InstalledProductList& fresh, const InstalledProduct& item) {
    for (const InstalledProduct& product : fresh.Products())
        if (product.resellerId == item.resellerId && product.keyProductId == item.keyProductId)
            return &product;
    return nullptr;
}

} // namespace

std::wstring ComposeCleanUpCommandLine(const std::wstring& wizardPath) {
    // Quoted, so that the switch stays the second argument for a folder with blanks.
    return L"\"" + wizardPath + L"\" " + kCleanUpSwitch;
}

void HandOverToInstalledWizard() {
    InstalledProductList fresh(true);
    fresh.ScanInstalledProducts();
    CUpdater& updater = TheUpdater();
    for (size_t i = 0;; ++i) {
        const std::optional<InstalledProduct> item = UpdateItem(updater, i);
        if (!item)
            return;
        if ((item->Status() & kStatusDownloaded) == 0)
            continue;
        const InstalledProduct* product = FindFresh(fresh, *item);
        if (product == nullptr)
            continue;
        const std::wstring wizard = product->installFolder + L"\\Zapdate.exe";
        SYSTEMTIME linkTime = {};
        if (!platform::ReadLinkTime(wizard, linkTime) || !IsSuitableDate(linkTime))
            continue;
        if (StartWithHandshake(ComposeCleanUpCommandLine(wizard)))
            return;
    }
}
