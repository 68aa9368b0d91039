#include "wizard/install_page.h"

#include "engine/package_installation.h"
#include "engine/updater.h"
#include "wizard/busy_animation.h"
#include "wizard/title_font.h"
#include "wizard/transfer_text.h"
#include "wizard/wizard_error_text.h"

namespace {

constexpr RightResizeEntry kRightResize[] = {
    {IDC_TITLE, 0}, {IDC_INSTALL_CURRENT, 0}, {IDC_INSTALL_ELAPSED, 0}, {0, 0}};

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerPeriodMs = 1000;

} // namespace

CInstallPage::CInstallPage() : CWizardPage(IDS_WIZARD_TITLE) {
    UseExteriorLayout();
}

std::span<const RightResizeEntry> CInstallPage::RightResizeTable() {
    return kRightResize;
}

bool CInstallPage::HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
    case WM_INITDIALOG:
        ShowBusyAnimation(GetDlgItem(IDC_INSTALL_ANIMATION));
        result = TRUE;
        return true;
    case WM_TIMER:
        if (wParam != timer_ || timer_ == 0)
            return false;
        ShowElapsedTime();
        result = 0;
        return true;
    case WM_INSTALL_DONE:
        Sheet().SetActivePageById(IDD_END);
        result = 0;
        return true;
    default:
        return false;
    }
}

BOOL CInstallPage::OnSetActive() {
    StartRun();
    return TRUE;
}

void CInstallPage::StartRun() {
    cancel_.Clear();
    SetWizardButtons(0);
    if (timer_ == 0)
        timer_ = ::SetTimer(m_hWnd, kTimerId, kTimerPeriodMs, nullptr);
    startTick_ = ::GetTickCount();
    const HWND elapsed = GetDlgItem(IDC_INSTALL_ELAPSED);
    if (elapsed == nullptr)
        return;
    ::SetWindowTextW(elapsed, L"");
    CUpdater& updater = TheUpdater();
    const InstallationRun run{m_hWnd, cancel_.Get(),
                              CInstallationRecords(updater.UpdateList(),
                                                   updater.DownloadedIndices(),
                                                   updater.ListLock())};
    thread_ = StartInstallPackages(run);
    if (!thread_) {
        WizardErrorText() = platform::ResourceString(IDS_CANT_UPDATE);
        Sheet().SetActivePageById(IDD_ERROR);
    }
}

void CInstallPage::ShowElapsedTime() const {
    const DWORD seconds = (::GetTickCount() - startTick_) / 1000;
    ::SetDlgItemTextW(m_hWnd, IDC_INSTALL_ELAPSED, FormatDuration(seconds).c_str());
}

BOOL CInstallPage::OnKillActive() {
    if (timer_ != 0)
        ::KillTimer(m_hWnd, timer_);
    timer_ = 0;
    return FALSE;
}

BOOL CInstallPage::OnQueryCancel() {
    const int answer =
        ::MessageBoxW(nullptr, platform::ResourceString(IDS_CANCEL_INSTALLING).c_str(),
                      platform::ResourceString(IDS_WIZARD_TITLE).c_str(), MB_YESNO | MB_DEFBUTTON2);
    if (answer == IDYES)
        cancel_.Set();
    return FALSE;
}
