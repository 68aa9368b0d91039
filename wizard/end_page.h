#pragma once
// The summary: every product of the update with its outcome.

#include "catalogue/installed_product.h"
#include "wizard/wizard_page.h"

#include <commctrl.h>

#include <string>

class CEndPage : public CWizardPage<CEndPage> {
public:
    enum { IDD = IDD_END };

    CEndPage();
    static std::span<const RightResizeEntry> RightResizeTable();

    BOOL OnSetActive();

protected:
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;

private:
    void BuildList();
    void InsertRow(int index, const InstalledProduct& product) const;
    void ShowOutcomeOf(int item) const;

    HWND list_ = nullptr;
};

// The outcome text of a record's status code, and whether it counts as a success. A package
// that was rejected for its bytes shows why, with the failure icon.
std::wstring OutcomeText(const InstalledProduct& product);
bool IsSuccessOutcome(const InstalledProduct& product);
