#pragma once
// The page shown while the downloaded installers run.

#include "wizard/wizard_page.h"

class CInstallPage : public CWizardPage<CInstallPage> {
public:
    enum { IDD = IDD_INSTALL };

    CInstallPage();
    static std::span<const RightResizeEntry> RightResizeTable();

    BOOL OnSetActive();

protected:
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;
};
