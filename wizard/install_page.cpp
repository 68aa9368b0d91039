#include "wizard/install_page.h"

#include "wizard/busy_animation.h"
#include "wizard/title_font.h"

namespace {

constexpr RightResizeEntry kRightResize[] = {
    {IDC_TITLE, 0}, {IDC_INSTALL_CURRENT, 0}, {IDC_INSTALL_ELAPSED, 0}, {0, 0}};

} // namespace

CInstallPage::CInstallPage() : CWizardPage(IDS_WIZARD_TITLE) {
    UseExteriorLayout();
}

std::span<const RightResizeEntry> CInstallPage::RightResizeTable() {
    return kRightResize;
}

bool CInstallPage::HandleMessage(HWND, UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message != WM_INITDIALOG)
        return false;
    ShowBusyAnimation(GetDlgItem(IDC_INSTALL_ANIMATION));
    result = TRUE;
    return true;
}

BOOL CInstallPage::OnSetActive() {
    SetWizardButtons(0);
    return TRUE;
}
