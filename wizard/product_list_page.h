#pragma once
// The page on which the user chooses the installed products to update.

#include "wizard/product_list_page_base.h"

class CProductListPage : public CProductListPageBase<CProductListPage> {
public:
    enum { IDD = IDD_PRODUCT_LIST };

    CProductListPage();
    static std::span<const RightResizeEntry> RightResizeTable();

    BOOL OnSetActive();
    int OnWizardBack();
    int OnWizardNext();

protected:
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;

private:
    void FillList();
    void ApplyChoice();

    bool checkAllOnFirstFill_ = true;
};
