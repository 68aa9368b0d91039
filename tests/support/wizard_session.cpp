#include "tests/support/wizard_session.h"

#include "resources/resource_ids.h"

#include <prsht.h>

namespace uitest {

UiLanguage::UiLanguage(DWORD language) {
    platform::UniqueRegKey key;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Velk", 0, nullptr, 0, KEY_WRITE, nullptr,
                      key.Put(), nullptr);
    ::RegSetValueExW(key.Get(), L"Language", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&language),
                     sizeof language);
}

UiLanguage::~UiLanguage() {
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Velk", L"Language");
}

bool WizardSession::Start(const std::wstring& arguments,
                          const std::vector<std::wstring>& environment,
                          const std::wstring& program) {
    const std::wstring path = program.empty() ? ProgramFolder() + L"Zapdate.exe" : program;
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    started_ = Launch(commandLine, environment);
    if (!started_)
        return false;
    sheet_ = WaitForWizard(kWizardTimeoutMs);
    return sheet_ != nullptr && WaitForPageWithControl(sheet_, IDC_INTRO_NOTE, kWizardTimeoutMs);
}

bool WizardSession::ButtonsBecome(bool back, bool next) const {
    return WaitUntil(
        [&] {
            return ButtonEnabled(sheet_, kBackButton) == back &&
                   ButtonEnabled(sheet_, kNextButton) == next;
        },
        kWizardTimeoutMs);
}

bool WizardSession::ChooseEveryProduct() {
    PressWizardButton(sheet_, PSBTN_NEXT);
    if (!WaitForPageWithControl(sheet_, IDC_PRODUCT_LIST, kWizardTimeoutMs) ||
        !ButtonsBecome(true, true))
        return false;
    PressWizardButton(sheet_, PSBTN_NEXT);
    return true;
}

std::vector<ListRow> WizardSession::EndPageRows() {
    if (!WaitForPageWithControl(sheet_, IDC_OUTCOME_TEXT, kWizardTimeoutMs))
        return {};
    const HWND list = ::GetDlgItem(Page(), IDC_PRODUCT_LIST);
    std::vector<ListRow> rows;
    WaitUntil(
        [&] {
            rows = ReadListView(list, 5);
            return !rows.empty();
        },
        5000);
    return rows;
}

std::wstring WizardSession::OutcomeBoxFor(int index) {
    SelectListItem(::GetDlgItem(Page(), IDC_PRODUCT_LIST), index);
    std::wstring text;
    WaitUntil(
        [&] {
            text = ControlText(Page(), IDC_OUTCOME_TEXT);
            return !text.empty();
        },
        5000);
    return text;
}

bool WizardSession::Finish() {
    PressWizardButton(sheet_, PSBTN_FINISH);
    return WaitUntil([&] { return !::IsWindow(sheet_); }, kWizardTimeoutMs);
}

} // namespace uitest
