#pragma once
// A user going through the wizard: starting it, choosing every product, reading the end page.

#include "tests/support/ui_automation.h"

#include <string>
#include <vector>

namespace uitest {

inline constexpr int kBackButton = 0x3023;
inline constexpr int kNextButton = 0x3024;
inline constexpr int kFinishButton = 0x3025;
// Generous: the first window of a fresh Wine prefix takes a while.
inline constexpr DWORD kWizardTimeoutMs = 90000;

// HKCU "Software\Velk" value "Language" set to `language` for the programs that the test starts,
// removed again at the end.
class UiLanguage {
public:
    explicit UiLanguage(DWORD language);
    ~UiLanguage();
    UiLanguage(const UiLanguage&) = delete;
    UiLanguage& operator=(const UiLanguage&) = delete;
};

class WizardSession {
public:
    // Starts the program (the build's Zapdate.exe unless `program` is given) with `arguments`
    // and the extra environment, and waits for the introduction. False when it did not show.
    bool Start(const std::wstring& arguments, const std::vector<std::wstring>& environment,
               const std::wstring& program = {});

    HWND Sheet() const { return sheet_; }
    HWND Page() const { return CurrentPage(sheet_); }
    Process& Started() { return started_; }

    // Waits until Back and Next are enabled as given (the pages post their button states).
    bool ButtonsBecome(bool back, bool next) const;
    // Next on the introduction, then Next on the product list with what it has chosen.
    bool ChooseEveryProduct();
    // The end page's rows once it shows; empty when it does not.
    std::vector<ListRow> EndPageRows();
    // Selects row `index` of the end page's list and returns the outcome box's text.
    std::wstring OutcomeBoxFor(int index);
    // Presses Finish and waits until the wizard has closed.
    bool Finish();

private:
    Process started_;
    HWND sheet_ = nullptr;
};

} // namespace uitest
