// The download page while a package arrives slowly from a loopback update host: the bar, the
// size and time texts, and the cancel question answered either way.

// Winsock before windows.h.
#include "tests/support/scripted_http_server.h"

#include "platform/text.h"
#include "resources/resource_ids.h"
#include "tests/support/wizard_session.h"
#include "tools/demo_products/product_registration.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <prsht.h>

namespace {

using uitest::kWizardTimeoutMs;

constexpr size_t kPackageSize = 100000000;
// The transfer's large reads end on multiples of their size, at most 256 KiB; a pause on a
// multiple of that is seen with everything before it. 48 MiB is just over half: the bar shows 50.
constexpr size_t kHalfWay = 48u << 20;
constexpr const wchar_t* kHalfWayText = L"48 MB";

class DownloadPage : public ::testing::Test {
protected:
    void SetUp() override {
        uitest::EndProcessesNamed(L"Zapdate.exe");
        demo::RemoveAllProducts();
        ASSERT_TRUE(server_.IsRunning());
        const std::wstring folder = uitest::MakeTempFolder(L"zapdate-download-page-test");
        ASSERT_TRUE(demo::MakeInstallFolder(folder, L"kovra.exe", {2026, 3, 14}));
        demo::ProductRecord kovra;
        kovra.installPath = platform::AnsiFromWide(folder);
        ASSERT_TRUE(demo::RegisterProduct(kovra));
    }
    void TearDown() override {
        uitest::EndProcessesNamed(L"Zapdate.exe");
        demo::RemoveAllProducts();
    }

    // Offers build 1250 of Kovra, whose package (bytes that install nothing) stops half way until
    // the test resumes it; starts the wizard and the download.
    void DownloadPausingPackage(bool sendLength) {
        server_.Enqueue(testsupport::ScriptedReply::Binary(
            "[global]\r\nversion=1\r\nurl=" + server_.Url("/service") +
            "\r\n[Kovra:1:6]\r\nname=Kovra\r\nversion=5.3\r\nbuild=1250\r\ndate=20261130\r\n"
            "method=GET\r\nurl=" +
            server_.Url("/dl/kovra_update.exe") + "\r\nres_id=1\r\nlang_id=en\r\n"));
        testsupport::ScriptedReply package =
            testsupport::ScriptedReply::Binary(std::string(kPackageSize, 'z'));
        package.sendContentLength = sendLength;
        package.pauseAfterBytes = kHalfWay;
        package.pauseMs = INFINITE;
        server_.Enqueue(std::move(package));
        ASSERT_TRUE(wizard_.Start({}, {platform::FormatWide(L"ZAPDATE_UPDATE_HOST=127.0.0.1:%u",
                                                            unsigned{server_.Port()})}));
        ASSERT_TRUE(wizard_.ChooseEveryProduct());
        ASSERT_TRUE(
            uitest::WaitForPageWithControl(wizard_.Sheet(), IDC_PROGRESS_BAR, kWizardTimeoutMs));
        page_ = wizard_.Page();
    }

    int BarPosition() const {
        return static_cast<int>(
            ::SendMessageW(::GetDlgItem(page_, IDC_PROGRESS_BAR), PBM_GETPOS, 0, 0));
    }
    std::wstring SizeText() const { return uitest::ControlText(page_, IDC_SIZE_TEXT); }

    // Waits until the page shows the transfer standing at its pause: the size text starts with
    // `receivedText` and the bar is at `barAtHalf`.
    bool WaitForHalfWay(const std::wstring& receivedText, int barAtHalf) const {
        return uitest::WaitUntil(
            [&] { return SizeText().rfind(receivedText, 0) == 0 && BarPosition() == barAtHalf; },
            kWizardTimeoutMs);
    }

    // Presses Cancel and answers "Cancel downloading?" (No is its default answer).
    void AnswerCancel(int answer) const {
        uitest::PressWizardButton(wizard_.Sheet(), PSBTN_CANCEL);
        // The program goes on in a process of its own; the box is the one without pages.
        const uitest::Question question = uitest::AnswerQuestion(L"Velk Update Wizard", 0, answer);
        EXPECT_EQ(question.text, L"Cancel downloading?");
        EXPECT_EQ(question.defaultButton, IDNO);
    }

    bool EndPageShows() const {
        return uitest::WaitForPageWithControl(wizard_.Sheet(), IDC_OUTCOME_TEXT, kWizardTimeoutMs);
    }

    testsupport::ScriptedHttpServer server_;
    uitest::WizardSession wizard_;
    HWND page_ = nullptr;
};

} // namespace

TEST_F(DownloadPage, HalfThePackageShowsHalfTheBarNoKeepsTheDownloadAndYesStopsIt) {
    DownloadPausingPackage(true);
    ASSERT_TRUE(WaitForHalfWay(std::wstring(kHalfWayText) + L"/", 50));
    EXPECT_EQ(SizeText(), L"48 MB/95.4 MB");
    uitest::SaveScreenshot("en/download.png");
    AnswerCancel(IDNO);
    EXPECT_EQ(wizard_.Page(), page_) << "No keeps the download page";
    AnswerCancel(IDYES);
    // The read under way waits for the rest; the host goes away instead of sending it, which
    // ends the read at once (a resumed reply would first be drained by WinInet under Wine).
    server_.DropPausedReplies();
    ASSERT_TRUE(EndPageShows());
    EXPECT_EQ(wizard_.EndPageRows().at(0).columns[4], L"Not updated");
}

TEST_F(DownloadPage, ReplyWithoutLengthLeavesTheBarAndRemainingTimeBlank) {
    DownloadPausingPackage(false);
    ASSERT_TRUE(WaitForHalfWay(kHalfWayText, 0));
    EXPECT_EQ(SizeText(), kHalfWayText) << "only the received size";
    const std::wstring remaining = uitest::ControlText(page_, IDC_REMAINING_TIME);
    EXPECT_TRUE(remaining == L" " || remaining.empty()) << platform::AnsiFromWide(remaining);
    server_.ResumePausedReplies();
    EXPECT_TRUE(EndPageShows());
}
