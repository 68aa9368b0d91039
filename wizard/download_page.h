#pragma once
// The page shown while the worker checks for updates and downloads the packages.

#include "platform/logger.h"
#include "wizard/wizard_page.h"

#include <cstdint>

class CDownloadPage : public CWizardPage<CDownloadPage> {
public:
    enum { IDD = IDD_DOWNLOAD };

    CDownloadPage();
    static std::span<const RightResizeEntry> RightResizeTable();

    BOOL OnSetActive();
    BOOL OnKillActive();
    int OnWizardBack();
    BOOL OnQueryCancel();

protected:
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;

private:
    enum class Step { None, Check, Download };

    void OnInitDialog();
    void OnTimer();
    void ShowProgressCode(uint32_t code);
    bool GoToErrorPageOnError();
    // Asks "Cancel downloading?"; on Yes stops the worker. True for Yes.
    bool AskAndCancel();
    void StopLogSink();

    UINT_PTR timer_ = 0;
    platform::CLogger::SinkId logSink_ = 0;
    uint32_t lastProgressCode_ = 0;
    bool asking_ = false;
    bool activated_ = false;
    Step step_ = Step::None;
};

// The transfer's progress as the page shows it; called on the worker thread.
void ShowDownloadProgress(uint32_t total, uint32_t received, uint32_t rate, uint32_t remaining,
                          uint32_t elapsed, uint32_t reserved);
