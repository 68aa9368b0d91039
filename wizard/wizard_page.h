#pragma once
// What every page of the wizard shares: the localized page template and the right-edge mix-in.

#include "resources/resource_ids.h"
#include "wizard/localized_property_page.h"
#include "wizard/right_resize.h"

#include <span>

// The page classes derive from CWizardPage<Page>, which is
// CLocalizedPropertyPageImpl<Page, CPropertyPageWindow> plus, privately, CRightResize<Page>.
template <typename T>
class CWizardPage : public CLocalizedPropertyPageImpl<T, platform::CPropertyPageWindow>,
                    private CRightResize<T> {
public:
    explicit CWizardPage(UINT titleId)
        : CLocalizedPropertyPageImpl<T, platform::CPropertyPageWindow>(titleId) {}

protected:
    friend class CRightResize<T>;

    // The page's messages, after which WM_SIZE stretches the controls (and stays unhandled).
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override {
        if (message == WM_SIZE)
            this->StretchToRightEdge();
        return HandleMessage(window, message, wParam, lParam, result);
    }

    // The page class's own messages; return true when handled.
    virtual bool HandleMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) { return false; }

    platform::CPropertySheetWindow Sheet() const { return this->GetPropertySheet(); }

    // The end and error pages: Finish alone, and the sheet's Cancel button hidden.
    void OfferFinishOnly() const {
        Sheet().SetWizardButtons(PSWIZB_FINISH);
        Sheet().ShowButton(IDCANCEL, false);
    }
};
