#include "wizard/product_list_page.h"

namespace {

constexpr RightResizeEntry kRightResize[] = {{IDC_PRODUCT_LIST, 0}, {0, 0}};

} // namespace

CProductListPage::CProductListPage() : CWizardPage(IDS_WIZARD_TITLE) {
    UseInteriorLayout(IDS_INSTALLED_PRODUCTS, IDS_CHOOSE_PRODUCTS);
}

std::span<const RightResizeEntry> CProductListPage::RightResizeTable() {
    return kRightResize;
}

BOOL CProductListPage::OnSetActive() {
    SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    return TRUE;
}

int CProductListPage::OnWizardBack() {
    return IDD_PRODUCT_LIST;
}
