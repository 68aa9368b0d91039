#pragma once
// The page on which the user chooses the installed products to update.

#include "wizard/wizard_page.h"

class CProductListPage : public CWizardPage<CProductListPage> {
public:
    enum { IDD = IDD_PRODUCT_LIST };

    CProductListPage();
    static std::span<const RightResizeEntry> RightResizeTable();

    BOOL OnSetActive();
    int OnWizardBack();
};
