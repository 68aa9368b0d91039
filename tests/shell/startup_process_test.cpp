// The program as a process: usage message, single instance and relaunch.

#include "platform/text.h"
#include "platform/unique_resource.h"
#include "tests/support/wizard_session.h"

#include <gtest/gtest.h>

#include <prsht.h>

#include <random>

namespace {

using uitest::kWizardTimeoutMs;

constexpr char kInstanceMutex[] =
    "FB4B2B76-3823-4004-A4F5-C019BA623A48_kv_family_running_event_update";
constexpr char kRelaunchMutex[] =
    "FB4B2B76-3823-4004-A4F5-C019BA623A48_kv_family_running_event_update_temp";

// The build's program, quoted for a command line.
std::wstring QuotedProgram() {
    return L"\"" + uitest::ProgramFolder() + L"Zapdate.exe\"";
}

void CloseWizard(HWND wizard) {
    uitest::PressWizardButton(wizard, PSBTN_CANCEL);
    uitest::WaitUntil([&] { return !::IsWindow(wizard); }, kWizardTimeoutMs);
}

// Every test starts and ends without a program process left over.
class Startup : public ::testing::Test {
protected:
    void SetUp() override { uitest::EndProcessesNamed(L"Zapdate.exe"); }
    void TearDown() override { uitest::EndProcessesNamed(L"Zapdate.exe"); }
};

} // namespace

TEST_F(Startup, NormalStartRelaunchesFromTheTemporaryCopyAndEndsWithZero) {
    uitest::Process program = uitest::Launch(QuotedProgram());
    ASSERT_TRUE(program);
    const HWND wizard = uitest::WaitForWizard(kWizardTimeoutMs);
    ASSERT_NE(wizard, nullptr);
    // The wizard belongs to the copy; the started process has ended once the copy acknowledged.
    EXPECT_NE(uitest::ProcessOf(wizard), program.id);
    EXPECT_EQ(uitest::WaitForExit(program, kWizardTimeoutMs), 0);
    EXPECT_EQ(uitest::WindowText(wizard), L"Velk Update Wizard");
    // Other processes see that a copy is updating, for as long as it runs.
    EXPECT_TRUE(platform::UniqueHandle(::OpenMutexA(SYNCHRONIZE, FALSE, kRelaunchMutex)));
    CloseWizard(wizard);
    ASSERT_TRUE(uitest::WaitForProcessesNamedToEnd(L"Zapdate.exe", kWizardTimeoutMs));
    EXPECT_FALSE(platform::UniqueHandle(::OpenMutexA(SYNCHRONIZE, FALSE, kRelaunchMutex)));
}

// Command lines made by a generator, started as the program: each run ends with 0, leaves no
// window, and changes nothing outside the update temporary folder. A wizard process is seen as
// running (this test holds the instance mutex), so a normal start ends at once and silently;
// clean-up and the hidden run (with no product installed) are quick; help shows the usage.
TEST_F(Startup, GeneratedCommandLinesEndWithZeroAndTouchNothingElse) {
    const platform::UniqueHandle instance(::CreateMutexA(nullptr, TRUE, kInstanceMutex));
    const std::wstring marker = uitest::MakeTempFolder(L"zapdate-generated-lines") + L"\\keep";
    platform::UniqueHandle(
        ::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    // One of each kind, each followed by noise: help, a normal start, clean-up, the hidden run.
    static const wchar_t* const kFirst[] = {L"-?", L"5", L"-velk_update_wizard_delete_temp_folder",
                                            L"-hiden_run"};
    static const wchar_t kNoise[] = L"\"\\/ \t-?a09";
    std::mt19937 random(20261211);
    const auto pick = [&](size_t n) { return size_t{random()} % n; };
    for (const std::wstring first : kFirst) {
        std::wstring line = QuotedProgram() + L" " + first + L" ";
        for (size_t count = pick(12); count > 0; --count)
            line += kNoise[pick(std::size(kNoise) - 1)];
        uitest::Process program = uitest::Launch(line, {L"ZAPDATE_UPDATE_HOST=127.0.0.1:1"});
        ASSERT_TRUE(program);
        if (first == L"-?") {
            const HWND box =
                uitest::WaitForMessageBox(L"Velk Update Wizard", program.id, kWizardTimeoutMs);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(uitest::MessageBoxText(box),
                      L"Usage: KovraUpdate.exe [-hiden] [<reseller id> <product id>]");
            EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(box, IDCANCEL))) << "OK only";
            uitest::AnswerMessageBox(box, IDOK);
        }
        EXPECT_EQ(uitest::WaitForExit(program, kWizardTimeoutMs), 0)
            << platform::Utf8FromWide(line);
        EXPECT_TRUE(uitest::TopWindows(L"#32770").empty()) << platform::Utf8FromWide(line);
    }
    EXPECT_NE(::GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES);
}
