#pragma once
// The last page when the update cannot go on: the error text and a link to the maker's web site.

#include "platform/unique_resource.h"
#include "wizard/wizard_page.h"

class CErrorPage : public CWizardPage<CErrorPage> {
public:
    enum { IDD = IDD_ERROR };

    CErrorPage();
    static std::span<const RightResizeEntry> RightResizeTable();

    BOOL OnSetActive();

protected:
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;

private:
    void OnInitDialog();
    void UnderlineLink();
    void OnLinkClicked(HWND link);

    HCURSOR handCursor_ = nullptr; // shared system or resource cursor: never destroyed
    platform::UniqueFont linkFont_;
};

// The address that a click on the link opens: a text with an at sign is a mail address.
std::wstring LinkTarget(const std::wstring& linkText);
