#pragma once
// The first page: the welcome text, and the short cut for a product named on the command line.

#include "wizard/wizard_page.h"

class CWizIntroPage : public CWizardPage<CWizIntroPage> {
public:
    enum { IDD = IDD_INTRO };

    CWizIntroPage();
    static std::span<const RightResizeEntry> RightResizeTable();

    BOOL OnSetActive();
    int OnWizardNext();

protected:
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;

private:
    void OnInitDialog();
};
