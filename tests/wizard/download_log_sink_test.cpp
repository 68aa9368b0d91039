// What the download page shows of the program's log messages.

#include "platform/resource_strings.h"
#include "platform/thread.h"
#include "tests/support/ui_automation.h"
#include "tests/wizard/download_dialog.h"
#include "wizard/download_log_sink.h"

#include <gtest/gtest.h>

using platform::LogMessage;

namespace {

constexpr uint32_t kStatusLine = platform::kLogForTheUser | platform::kLogInStatusLine;

class DownloadLogSinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(dialog_.Page(), nullptr);
        for (const int id : {IDC_STATUS_LINE, IDC_TRANSFER_RATE, IDC_REMAINING_TIME,
                             IDC_ELAPSED_TIME, IDC_SIZE_TEXT})
            ::SetDlgItemTextW(dialog_.Page(), id, L"before");
    }

    wizardtest::DownloadDialog dialog_;
};

} // namespace

TEST_F(DownloadLogSinkTest, TheStatusLineShowsMessagesForTheUserAndClearingBlanksThreeTexts) {
    ShowLogMessage(dialog_.Page(), {15, platform::kLogInStatusLine, L"trace"});
    ShowLogMessage(dialog_.Page(), {15, 0, L"trace"});
    EXPECT_EQ(dialog_.Text(IDC_STATUS_LINE), L"before") << "messages not for the user";
    ShowLogMessage(dialog_.Page(), {15, kStatusLine, L"Connecting"});
    EXPECT_EQ(dialog_.Text(IDC_STATUS_LINE), L"Connecting");
    EXPECT_EQ(dialog_.Text(IDC_TRANSFER_RATE), L"before");
    ShowLogMessage(dialog_.Page(), {15, platform::kLogClearsProgress, L"ignored"});
    for (const int id : {IDC_STATUS_LINE, IDC_TRANSFER_RATE, IDC_REMAINING_TIME})
        EXPECT_EQ(dialog_.Text(id), L"") << id;
    for (const int id : {IDC_ELAPSED_TIME, IDC_SIZE_TEXT})
        EXPECT_EQ(dialog_.Text(id), L"before") << id;
}

TEST_F(DownloadLogSinkTest, AMessageForTheUserAloneIsAMessageBox) {
    // The box waits for an answer; it is shown by a thread of its own and answered from here.
    const HWND page = dialog_.Page();
    platform::UniqueHandle shower = platform::StartThread([page] {
        ShowLogMessage(page, {-256, platform::kLogForTheUser, L"The package is damaged."});
        return 0u;
    });
    ASSERT_TRUE(shower.IsValid());
    const std::wstring caption = platform::ResourceString(IDS_WIZARD_TITLE);
    const HWND box = uitest::WaitForMessageBox(caption.c_str(), ::GetCurrentProcessId(), 20000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(uitest::MessageBoxText(box), L"The package is damaged.");
    uitest::AnswerMessageBox(box, IDOK);
    EXPECT_EQ(::WaitForSingleObject(shower.Get(), 20000), WAIT_OBJECT_0);
    EXPECT_EQ(dialog_.Text(IDC_STATUS_LINE), L"before");
}
