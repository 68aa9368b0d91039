// The program as a process: usage message, single instance, relaunch and language choice.

#include "platform/unique_resource.h"
#include "tests/support/ui_automation.h"

#include <gtest/gtest.h>

#include <prsht.h>

namespace {

// Generous: the first window of a fresh Wine prefix takes a while.
constexpr DWORD kWindowTimeoutMs = 60000;

std::wstring ProgramPath() {
    return uitest::ProgramFolder() + L"Zapdate.exe";
}

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

// Sets or removes HKCU\Software\Velk "Language" for the programs the test starts.
class LanguageValue {
public:
    explicit LanguageValue(DWORD language) {
        platform::UniqueRegKey key;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Velk", 0, nullptr, 0, KEY_WRITE, nullptr,
                          key.Put(), nullptr);
        ::RegSetValueExW(key.Get(), L"Language", 0, REG_DWORD,
                         reinterpret_cast<const BYTE*>(&language), 4);
    }
    ~LanguageValue() { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Velk", L"Language"); }
    LanguageValue(const LanguageValue&) = delete;
    LanguageValue& operator=(const LanguageValue&) = delete;
};

HWND WaitForWizard() {
    return uitest::WaitForWizard(kWindowTimeoutMs);
}

void CloseWizard(HWND wizard) {
    uitest::PressWizardButton(wizard, PSBTN_CANCEL);
    uitest::WaitUntil([&] { return !::IsWindow(wizard); }, kWindowTimeoutMs);
}

// Every test starts and ends without a program process left over.
class Startup : public ::testing::Test {
protected:
    void SetUp() override { uitest::EndProcessesNamed(L"Zapdate.exe"); }
    void TearDown() override { uitest::EndProcessesNamed(L"Zapdate.exe"); }
};

} // namespace

TEST_F(Startup, UsageMessageForAQuestionMark) {
    uitest::Process program = uitest::Launch(Quoted(ProgramPath()) + L" -?");
    ASSERT_TRUE(program);
    const HWND box = uitest::WaitForMessageBox(L"Velk Update Wizard", program.id, kWindowTimeoutMs);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(uitest::ProcessOf(box), program.id);
    EXPECT_EQ(uitest::MessageBoxText(box),
              L"Usage: KovraUpdate.exe [-hiden] [<reseller id> <product id>]");
    EXPECT_EQ(::GetDlgItem(box, IDCANCEL) != nullptr &&
                  ::IsWindowVisible(::GetDlgItem(box, IDCANCEL)),
              false);
    uitest::AnswerMessageBox(box, IDOK);
    EXPECT_EQ(uitest::WaitForExit(program, kWindowTimeoutMs), 0);
}

TEST_F(Startup, NormalStartRelaunchesFromTheTemporaryCopyAndEndsWithZero) {
    uitest::Process program = uitest::Launch(Quoted(ProgramPath()));
    ASSERT_TRUE(program);
    const HWND wizard = WaitForWizard();
    ASSERT_NE(wizard, nullptr);
    // The wizard belongs to the copy; the started process has ended once the copy acknowledged.
    EXPECT_NE(uitest::ProcessOf(wizard), program.id);
    EXPECT_EQ(uitest::WaitForExit(program, kWindowTimeoutMs), 0);
    EXPECT_EQ(uitest::WindowText(wizard), L"Velk Update Wizard");
    CloseWizard(wizard);
}

TEST_F(Startup, SecondNormalStartEndsSilentlyWhileAWizardRuns) {
    uitest::Process first = uitest::Launch(Quoted(ProgramPath()));
    const HWND wizard = WaitForWizard();
    ASSERT_NE(wizard, nullptr);
    uitest::Process second = uitest::Launch(Quoted(ProgramPath()));
    EXPECT_EQ(uitest::WaitForExit(second, kWindowTimeoutMs), 0);
    EXPECT_EQ(uitest::TopWindows(L"#32770").size(), 1u);
    CloseWizard(wizard);
    uitest::WaitForExit(first, kWindowTimeoutMs);
}

TEST_F(Startup, GermanUserGetsTheGermanWizard) {
    const LanguageValue german(1031);
    uitest::Process program = uitest::Launch(Quoted(ProgramPath()));
    const HWND wizard = WaitForWizard();
    ASSERT_NE(wizard, nullptr);
    const HWND page = uitest::CurrentPage(wizard);
    EXPECT_EQ(uitest::ControlText(page, 1000), L"Willkommen beim Velk Update-Assistenten");
    EXPECT_EQ(uitest::WindowText(wizard), L"Velk Update-Assistent");
    uitest::SaveScreenshot("de/intro.png");
    CloseWizard(wizard);
    uitest::WaitForExit(program, kWindowTimeoutMs);
}

TEST_F(Startup, MissingDialogInTheSatelliteComesFromTheExecutable) {
    // An application folder whose only satellite lacks the introduction page.
    const std::wstring app = uitest::MakeTempFolder(L"partial-app");
    ASSERT_TRUE(::CopyFileW(ProgramPath().c_str(), (app + L"\\Zapdate.exe").c_str(), FALSE));
    ::CreateDirectoryW((app + L"\\1031").c_str(), nullptr);
    ASSERT_TRUE(
        ::CopyFileW((uitest::ProgramFolder() + L"test-satellites\\partial\\Zapdate.dll").c_str(),
                    (app + L"\\1031\\Zapdate.dll").c_str(), FALSE));
    const LanguageValue german(1031);
    uitest::Process program = uitest::Launch(Quoted(app + L"\\Zapdate.exe"));
    const HWND wizard = WaitForWizard();
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(uitest::ControlText(uitest::CurrentPage(wizard), 1000),
              L"Welcome to Velk Update Wizard");
    uitest::PressWizardButton(wizard, PSBTN_NEXT);
    ASSERT_TRUE(uitest::WaitForPageWithControl(wizard, 1017, kWindowTimeoutMs));
    // The product list page comes from the satellite, and so does its subtitle.
    EXPECT_EQ(uitest::WindowText(wizard), L"Velk Update-Assistent");
    CloseWizard(wizard);
    uitest::WaitForExit(program, kWindowTimeoutMs);
}
