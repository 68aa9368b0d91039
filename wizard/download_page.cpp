#include "wizard/download_page.h"

#include "catalogue/installed_product_list.h"
#include "engine/updater.h"
#include "platform/text.h"
#include "shell/startup_settings.h"
#include "wizard/busy_animation.h"
#include "wizard/download_log_sink.h"
#include "wizard/download_progress_display.h"
#include "wizard/wizard_error_text.h"

#include <atomic>

namespace {

constexpr RightResizeEntry kRightResize[] = {
    {IDC_SIZE_TEXT, 0},    {IDC_PROGRESS_BAR, 0},   {IDC_DETAILS_GROUP, 0}, {IDC_STATUS_LINE, 7},
    {IDC_ELAPSED_TIME, 7}, {IDC_REMAINING_TIME, 7}, {IDC_TRANSFER_RATE, 7}, {0, 0}};

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerPeriodMs = 500;
constexpr uint32_t kProgressChecking = 2;

// Shared with the worker thread's progress display: the page, and whether a confirmed cancel
// is being carried out (the user-interface thread then waits for the worker, which must not
// wait for the page's windows in turn).
std::atomic<HWND> thePage{nullptr};
std::atomic<bool> cancelling{false};
CDownloadProgressDisplay theDisplay;

bool AnyProductSelected() {
    const InstalledProductList& products = TheInstalledProducts();
    for (size_t i = 0; i < products.Count(); ++i)
        if (products.At(i).IsSelected())
            return true;
    return false;
}

// The page's log sink; runs on the thread that logs.
void ShowLogMessageInPage(const platform::LogMessage& message) {
    const HWND page = thePage.load();
    if (page == nullptr || cancelling.load())
        return;
    ShowLogMessage(page, message);
    // Texts blanked behind the display's back are written again with the next report.
    if (message.flags & platform::kLogClearsProgress)
        theDisplay.Forget();
}

} // namespace

void ShowDownloadProgress(uint32_t total, uint32_t received, uint32_t rate, uint32_t remaining,
                          uint32_t elapsed, uint32_t) {
    const HWND page = thePage.load();
    if (page == nullptr || cancelling.load())
        return;
    theDisplay.Show(page, {total, received, rate, remaining, elapsed});
}

CDownloadPage::CDownloadPage() : CWizardPage(IDS_PROGRESS) {
    UseInteriorLayout(IDS_PROGRESS, IDS_CHECKING_HOST);
}

std::span<const RightResizeEntry> CDownloadPage::RightResizeTable() {
    return kRightResize;
}

bool CDownloadPage::HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        result = TRUE;
        return true;
    case WM_TIMER:
        if (wParam != kTimerId)
            return false;
        OnTimer();
        result = 0;
        return true;
    case WM_DESTROY:
        StopLogSink();
        thePage = nullptr;
        return false;
    default:
        return false;
    }
}

void CDownloadPage::OnInitDialog() {
    thePage = m_hWnd;
    ::SendDlgItemMessageW(m_hWnd, IDC_PROGRESS_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    ShowBusyAnimation(GetDlgItem(IDC_DOWNLOAD_ANIMATION));
    TheUpdater().SetProgressCallback(&ShowDownloadProgress);
}

BOOL CDownloadPage::OnSetActive() {
    if (activated_)
        return TRUE;
    activated_ = true;
    lastProgressCode_ = 0;
    SetWizardButtons(0);
    if (logSink_ == 0)
        logSink_ = platform::TheLogger().AddSink(&ShowLogMessageInPage, kDownloadPageLogLevels);
    if (timer_ == 0)
        timer_ = ::SetTimer(m_hWnd, kTimerId, kTimerPeriodMs, nullptr);
    CUpdater& updater = TheUpdater();
    if (updater.VersionFileFetched()) {
        updater.SelectUpdates();
        step_ = Step::Download;
        updater.StartDownload();
    } else if (AnyProductSelected()) {
        step_ = Step::Check;
        updater.StartCheck();
    }
    return TRUE;
}

BOOL CDownloadPage::OnKillActive() {
    activated_ = false;
    lastProgressCode_ = 0;
    if (timer_ != 0)
        ::KillTimer(m_hWnd, timer_);
    timer_ = 0;
    StopLogSink();
    return FALSE;
}

void CDownloadPage::StopLogSink() {
    if (logSink_ != 0)
        platform::TheLogger().RemoveSink(logSink_);
    logSink_ = 0;
}

void CDownloadPage::ShowProgressCode(uint32_t code) {
    if (code == lastProgressCode_)
        return;
    lastProgressCode_ = code;
    UINT text = IDS_DOWNLOADS_COMPLETE;
    if (code == kProgressChecking)
        text = IDS_CHECKING_FOR_UPDATES;
    else if (code >= kProgressDownloadingFirst)
        text = IDS_DOWNLOADING_UPDATES;
    const platform::CPropertySheetWindow sheet = Sheet();
    sheet.SetHeaderSubTitle(sheet.PageIndex(m_hWnd), platform::ResourceString(text).c_str());
}

bool CDownloadPage::GoToErrorPageOnError() {
    std::wstring text;
    if (TheUpdater().GetError(text) == kErrorNone)
        return false;
    WizardErrorText() = text;
    Sheet().SetActivePageById(IDD_ERROR);
    return true;
}

void CDownloadPage::OnTimer() {
    theDisplay.Flush(m_hWnd);
    CUpdater& updater = TheUpdater();
    std::wstring text;
    ShowProgressCode(updater.GetProgress(text));
    if (updater.IsPhaseRunning()) {
        ::SetDlgItemTextW(m_hWnd, IDC_STATUS_LINE, text.c_str());
        return;
    }
    if (asking_ || GoToErrorPageOnError())
        return;
    if (step_ == Step::Check) {
        updater.SelectUpdates();
        step_ = Step::Download;
        updater.StartDownload();
    } else if (step_ == Step::Download) {
        Sheet().SetActivePageById(IDD_INSTALL);
    }
}

bool CDownloadPage::AskAndCancel() {
    asking_ = true;
    const int answer =
        ::MessageBoxW(nullptr, platform::ResourceString(IDS_CANCEL_DOWNLOADING).c_str(),
                      platform::ResourceString(IDS_WIZARD_TITLE).c_str(), MB_YESNO | MB_DEFBUTTON2);
    asking_ = false;
    if (answer != IDYES)
        return false;
    cancelling = true;
    TheUpdater().CancelAndStop(kCancelIdleWaitMs, kCancelStopWaitMs);
    TheInstalledProducts().SetAllSelected(false);
    cancelling = false;
    return true;
}

BOOL CDownloadPage::OnQueryCancel() {
    if (TheUpdater().IsPhaseRunning() && AskAndCancel()) {
        if (!GoToErrorPageOnError())
            Sheet().SetActivePageById(IDD_INSTALL);
    }
    // The sheet is never closed from this page by its Cancel button.
    return FALSE;
}

int CDownloadPage::OnWizardBack() {
    if (TheUpdater().IsPhaseRunning())
        return AskAndCancel() ? IDD_PRODUCT_LIST : IDD_DOWNLOAD;
    const StartupSettings& settings = TheStartupSettings();
    const bool noIds = settings.resellerId == kIdNotGiven && settings.productId == kIdNotGiven;
    return noIds ? IDD_INTRO : IDD_PRODUCT_LIST;
}
