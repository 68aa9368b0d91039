#include "wizard/error_page.h"

#include "platform/run_log.h"
#include "wizard/title_font.h"
#include "wizard/wizard_error_text.h"

#include <shellapi.h>

namespace {

constexpr RightResizeEntry kRightResize[] = {
    {IDC_TITLE, 0}, {IDC_ERROR_TEXT, 0}, {1043, 0}, {0, 0}};

} // namespace

std::wstring LinkTarget(const std::wstring& linkText) {
    if (linkText.find(L'@') != std::wstring::npos)
        return L"mailto:" + linkText;
    return linkText;
}

CErrorPage::CErrorPage() : CWizardPage(IDS_WIZARD_TITLE) {
    UseExteriorLayout();
}

std::span<const RightResizeEntry> CErrorPage::RightResizeTable() {
    return kRightResize;
}

bool CErrorPage::HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_INITDIALOG) {
        OnInitDialog();
        result = TRUE;
        return true;
    }
    // The hand is shown over the link alone (WM_SETCURSOR reaches the page first), not set as
    // the class cursor of every static control in the process.
    if (message == WM_SETCURSOR && reinterpret_cast<HWND>(wParam) == GetDlgItem(IDC_WEB_LINK) &&
        handCursor_) {
        ::SetCursor(handCursor_);
        result = TRUE;
        return true;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_WEB_LINK &&
        (HIWORD(wParam) == STN_CLICKED || HIWORD(wParam) == STN_DBLCLK)) {
        OnLinkClicked(reinterpret_cast<HWND>(lParam));
        result = 0;
        return true;
    }
    return false;
}

void CErrorPage::OnInitDialog() {
    handCursor_ = ::LoadCursorW(nullptr, IDC_HAND);
    if (!handCursor_)
        handCursor_ = ::LoadCursorW(platform::ExecutableModule(), MAKEINTRESOURCEW(IDC_LINK_HAND));
    ApplyTitleFont(GetDlgItem(IDC_TITLE));
    UnderlineLink();
    ::SendDlgItemMessageW(m_hWnd, IDC_ERROR_ICON, STM_SETICON,
                          reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_ERROR)), 0);
}

void CErrorPage::UnderlineLink() {
    const HWND link = GetDlgItem(IDC_WEB_LINK);
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(link, WM_GETFONT, 0, 0));
    if (!font)
        return;
    LOGFONTW description;
    if (!::GetObjectW(font, sizeof description, &description))
        return;
    description.lfUnderline = TRUE;
    linkFont_.Reset(::CreateFontIndirectW(&description));
    ::SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.Get()), TRUE);
}

void CErrorPage::OnLinkClicked(HWND link) {
    wchar_t text[512] = {};
    if (::GetWindowTextW(link, text, 512) <= 0)
        return;
    const std::wstring target = LinkTarget(text);
    ::ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

BOOL CErrorPage::OnSetActive() {
    OfferFinishOnly();
    ::SetDlgItemTextW(m_hWnd, IDC_ERROR_TEXT, WizardErrorText().c_str());
    platform::LogRunStepF(L"error page: %s", WizardErrorText().c_str());
    return TRUE;
}
