#pragma once
// The page shown while the worker checks for updates and downloads the packages.

#include "wizard/wizard_page.h"

class CDownloadPage : public CWizardPage<CDownloadPage> {
public:
    enum { IDD = IDD_DOWNLOAD };

    CDownloadPage();
    static std::span<const RightResizeEntry> RightResizeTable();

    BOOL OnSetActive();

protected:
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;
};
