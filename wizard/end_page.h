#pragma once
// The summary: every product of the update with its outcome.

#include "wizard/wizard_page.h"

class CEndPage : public CWizardPage<CEndPage> {
public:
    enum { IDD = IDD_END };

    CEndPage();
    static std::span<const RightResizeEntry> RightResizeTable();

    BOOL OnSetActive();
};
