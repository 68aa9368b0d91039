#include "wizard/download_page.h"

#include "wizard/busy_animation.h"

namespace {

constexpr RightResizeEntry kRightResize[] = {
    {IDC_SIZE_TEXT, 0},    {IDC_PROGRESS_BAR, 0},   {IDC_DETAILS_GROUP, 0}, {IDC_STATUS_LINE, 7},
    {IDC_ELAPSED_TIME, 7}, {IDC_REMAINING_TIME, 7}, {IDC_TRANSFER_RATE, 7}, {0, 0}};

} // namespace

CDownloadPage::CDownloadPage() : CWizardPage(IDS_PROGRESS) {
    UseInteriorLayout(IDS_PROGRESS, IDS_CHECKING_HOST);
}

std::span<const RightResizeEntry> CDownloadPage::RightResizeTable() {
    return kRightResize;
}

bool CDownloadPage::HandleMessage(HWND, UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message != WM_INITDIALOG)
        return false;
    ::SendDlgItemMessageW(m_hWnd, IDC_PROGRESS_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    ShowBusyAnimation(GetDlgItem(IDC_DOWNLOAD_ANIMATION));
    result = TRUE;
    return true;
}

BOOL CDownloadPage::OnSetActive() {
    SetWizardButtons(0);
    return TRUE;
}
