#include "wizard/end_page.h"

namespace {

constexpr RightResizeEntry kRightResize[] = {
    {IDC_PRODUCT_LIST, 0}, {-1, 0}, {IDC_OUTCOME_TEXT, 0}, {0, 0}};

} // namespace

CEndPage::CEndPage() : CWizardPage(IDS_WIZARD_TITLE) {
    UseInteriorLayout(IDS_INSTALLED_UPDATES, IDS_CLICK_FINISH);
}

std::span<const RightResizeEntry> CEndPage::RightResizeTable() {
    return kRightResize;
}

BOOL CEndPage::OnSetActive() {
    OfferFinishOnly();
    return TRUE;
}
