#include "wizard/product_list_page.h"

#include "catalogue/installed_product_list.h"
#include "engine/updater.h"
#include "platform/text.h"
#include "wizard/date_text.h"

namespace {

constexpr RightResizeEntry kRightResize[] = {{IDC_PRODUCT_LIST, 0}, {0, 0}};

constexpr ListColumn kColumns[] = {{IDS_COLUMN_NAME, 250},
                                   {IDS_COLUMN_VERSION, 68},
                                   {IDS_COLUMN_BUILD, 68},
                                   {IDS_COLUMN_DATE, 68}};

} // namespace

CProductListPage::CProductListPage() : CProductListPageBase(IDS_WIZARD_TITLE) {
    UseInteriorLayout(IDS_INSTALLED_PRODUCTS, IDS_CHOOSE_PRODUCTS);
}

std::span<const RightResizeEntry> CProductListPage::RightResizeTable() {
    return kRightResize;
}

bool CProductListPage::HandleMessage(HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_INITDIALOG:
        AttachList(IDC_PRODUCT_LIST, kColumns);
        result = TRUE;
        return true;
    case WM_NOTIFY:
        if (!HandleListNotify(reinterpret_cast<const NMHDR*>(lParam)))
            return false;
        result = 0;
        return true;
    default:
        return false;
    }
}

BOOL CProductListPage::OnSetActive() {
    FillList();
    return TRUE;
}

int CProductListPage::OnWizardBack() {
    return IDD_PRODUCT_LIST;
}

int CProductListPage::OnWizardNext() {
    ApplyChoice();
    return 0;
}

void CProductListPage::FillList() {
    ListView_DeleteAllItems(List());
    const InstalledProductList& products = TheInstalledProducts();
    for (size_t i = 0; i < products.Count(); ++i) {
        const InstalledProduct& product = products.At(i);
        const int item = static_cast<int>(i);
        InsertItem(item, product.displayName, static_cast<LPARAM>(i),
                   checkAllOnFirstFill_ || product.IsSelected());
        SetCell(item, 1,
                platform::FormatWide(L"%u.%u", product.versionMajor, product.versionMinor));
        SetCell(item, 2, platform::FormatWide(L"%u", product.build));
        if (const std::wstring date = ShortDateText(product.buildDate); !date.empty())
            SetCell(item, 3, date);
    }
    checkAllOnFirstFill_ = false;
    UpdateWizardButtons();
}

void CProductListPage::ApplyChoice() {
    InstalledProductList& products = TheInstalledProducts();
    products.SetAllSelected(false);
    for (int item = 0; item < ItemCount(); ++item) {
        if (!IsChecked(item))
            continue;
        const LPARAM index = ItemParameter(item);
        if (index >= 0)
            products.SetSelected(static_cast<size_t>(index), true);
    }
    // No phase runs while this page is shown, so the selection may run on this thread.
    if (TheUpdater().VersionFileFetched())
        TheUpdater().SelectUpdates();
}
