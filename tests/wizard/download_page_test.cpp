// The download page while a package arrives slowly from a loopback update host: the bar, the
// size and time texts, and the cancel question answered either way.

// Winsock before windows.h.
#include "tests/support/scripted_http_server.h"

#include "platform/text.h"
#include "resources/resource_ids.h"
#include "tests/support/ui_automation.h"
#include "tools/demo_products/product_registration.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>

namespace {

constexpr DWORD kTimeoutMs = 90000;
constexpr int kNextButton = 0x3024;
constexpr size_t kPackageSize = 100000000;
// The transfer's large reads end on multiples of their size, at most 256 KiB; a pause on a
// multiple of that is seen with everything before it. 48 MiB is just over half: the bar shows 50.
constexpr size_t kHalfWay = 48u << 20;
constexpr const wchar_t* kHalfWayText = L"48 MB";
// Long enough never to end by itself while the test looks; the test resumes the reply.
constexpr DWORD kLongPauseMs = 120000;
const wchar_t* const kWizardCaption = L"Velk Update Wizard";

class DownloadPage : public ::testing::Test {
protected:
    void SetUp() override {
        uitest::EndProcessesNamed(L"Zapdate.exe");
        demo::RemoveAllProducts();
        ASSERT_TRUE(server_.IsRunning());
        folder_ = uitest::MakeTempFolder(L"zapdate-download-page-test");
        ASSERT_TRUE(demo::MakeInstallFolder(folder_, L"kovra.exe", {2026, 3, 14}));
        product_.installPath = platform::AnsiFromWide(folder_);
        ASSERT_TRUE(demo::RegisterProduct(product_));
    }
    void TearDown() override {
        uitest::EndProcessesNamed(L"Zapdate.exe");
        demo::RemoveAllProducts();
    }

    // Offers build 1250 of Kovra; its package (bytes that install nothing) stops half way until
    // the test resumes it.
    void OfferPausingPackage(bool sendLength) {
        const std::string versionFile =
            "[global]\r\nversion=1\r\nurl=" + server_.Url("/service") +
            "\r\n[Kovra:1:6]\r\nname=Kovra\r\nversion=5.3\r\nbuild=1250\r\ndate=20261130\r\n"
            "method=GET\r\nurl=" +
            server_.Url("/dl/kovra_update.exe") + "\r\nres_id=1\r\nlang_id=en\r\n";
        server_.Enqueue(testsupport::ScriptedReply::Binary(versionFile));
        testsupport::ScriptedReply package =
            testsupport::ScriptedReply::Binary(std::string(kPackageSize, 'z'));
        package.sendContentLength = sendLength;
        package.pauseAfterBytes = kHalfWay;
        package.pauseMs = kLongPauseMs;
        server_.Enqueue(std::move(package));
    }

    void StartWizardAndDownload() {
        const std::wstring host = platform::FormatWide(L"ZAPDATE_UPDATE_HOST=127.0.0.1:%u",
                                                       static_cast<unsigned>(server_.Port()));
        program_ = uitest::Launch(L"\"" + uitest::ProgramFolder() + L"Zapdate.exe\"", {host});
        ASSERT_TRUE(program_);
        wizard_ = uitest::WaitForWizard(kTimeoutMs);
        ASSERT_NE(wizard_, nullptr);
        ASSERT_TRUE(uitest::WaitForPageWithControl(wizard_, IDC_INTRO_NOTE, kTimeoutMs));
        uitest::PressWizardButton(wizard_, PSBTN_NEXT);
        ASSERT_TRUE(uitest::WaitForPageWithControl(wizard_, IDC_PRODUCT_LIST, kTimeoutMs));
        ASSERT_TRUE(uitest::WaitUntil([&] { return uitest::ButtonEnabled(wizard_, kNextButton); },
                                      kTimeoutMs));
        uitest::PressWizardButton(wizard_, PSBTN_NEXT);
        ASSERT_TRUE(uitest::WaitForPageWithControl(wizard_, IDC_PROGRESS_BAR, kTimeoutMs));
        page_ = uitest::CurrentPage(wizard_);
    }

    int BarPosition() const {
        return static_cast<int>(
            ::SendMessageW(::GetDlgItem(page_, IDC_PROGRESS_BAR), PBM_GETPOS, 0, 0));
    }
    std::wstring SizeText() const { return uitest::ControlText(page_, IDC_SIZE_TEXT); }

    // Waits until the page shows the transfer standing at its pause: the size text starts with
    // `receivedText` and the bar is at `barAtHalf`.
    bool WaitForHalfWay(const std::wstring& receivedText, int barAtHalf) {
        return uitest::WaitUntil(
            [&] { return SizeText().rfind(receivedText, 0) == 0 && BarPosition() == barAtHalf; },
            kTimeoutMs);
    }

    HWND AskToCancel() {
        uitest::PressWizardButton(wizard_, PSBTN_CANCEL);
        // The program goes on in a process of its own; the box is the one without pages.
        const HWND box = uitest::WaitForMessageBox(kWizardCaption, 0, kTimeoutMs);
        if (box != nullptr) {
            EXPECT_EQ(uitest::MessageBoxText(box), L"Cancel downloading?");
        }
        return box;
    }

    bool OnPageWith(int controlId) const {
        return ::GetDlgItem(uitest::CurrentPage(wizard_), controlId) != nullptr;
    }

    testsupport::ScriptedHttpServer server_;
    std::wstring folder_;
    demo::ProductRecord product_;
    uitest::Process program_;
    HWND wizard_ = nullptr;
    HWND page_ = nullptr;
};

} // namespace

TEST_F(DownloadPage, HalfThePackageShowsHalfTheBarAndNoKeepsTheDownloadGoing) {
    OfferPausingPackage(true);
    StartWizardAndDownload();
    ASSERT_TRUE(WaitForHalfWay(std::wstring(kHalfWayText) + L"/", 50));
    EXPECT_EQ(SizeText(), L"48 MB/95.4 MB");
    uitest::SaveScreenshot("en/download.png");

    const HWND box = AskToCancel();
    ASSERT_NE(box, nullptr);
    uitest::AnswerMessageBox(box, IDNO);
    ASSERT_TRUE(uitest::WaitUntil([&] { return !::IsWindow(box); }, kTimeoutMs));
    EXPECT_EQ(uitest::CurrentPage(wizard_), page_) << "No keeps the download page";
    EXPECT_TRUE(::IsWindow(wizard_));
    server_.ResumePausedReplies();

    // The rest of the package arrives and the wizard goes on to install it.
    ASSERT_TRUE(uitest::WaitUntil(
        [&] {
            return BarPosition() == 100 || OnPageWith(IDC_INSTALL_CURRENT) ||
                   OnPageWith(IDC_OUTCOME_TEXT);
        },
        kTimeoutMs));
    EXPECT_TRUE(uitest::WaitForPageWithControl(wizard_, IDC_OUTCOME_TEXT, kTimeoutMs));
    EXPECT_EQ(server_.RequestCount(), 2u);
}

TEST_F(DownloadPage, YesStopsTheDownloadAndLeadsToTheInstallAndEndPages) {
    OfferPausingPackage(true);
    StartWizardAndDownload();
    ASSERT_TRUE(WaitForHalfWay(std::wstring(kHalfWayText) + L"/", 50));
    const HWND box = AskToCancel();
    ASSERT_NE(box, nullptr);
    uitest::AnswerMessageBox(box, IDYES);
    // The read under way waits for the rest; the host goes away instead of sending it, which
    // ends the read at once (a resumed reply would first be drained by WinInet under Wine).
    server_.DropPausedReplies();

    bool sawInstallPage = false;
    ASSERT_TRUE(uitest::WaitUntil(
        [&] {
            sawInstallPage = sawInstallPage || OnPageWith(IDC_INSTALL_CURRENT);
            return OnPageWith(IDC_OUTCOME_TEXT);
        },
        kTimeoutMs));
    EXPECT_FALSE(OnPageWith(IDC_ERROR_TEXT));
    EXPECT_TRUE(::IsWindow(wizard_));
    if (!sawInstallPage)
        std::printf("the install page passed too quickly to be seen\n");
}

TEST_F(DownloadPage, ReplyWithoutLengthLeavesTheBarAndRemainingTimeBlank) {
    OfferPausingPackage(false);
    StartWizardAndDownload();
    ASSERT_TRUE(WaitForHalfWay(kHalfWayText, 0));
    EXPECT_EQ(SizeText(), kHalfWayText) << "only the received size";
    EXPECT_EQ(BarPosition(), 0);
    const std::wstring remaining = uitest::ControlText(page_, IDC_REMAINING_TIME);
    EXPECT_TRUE(remaining == L" " || remaining.empty()) << platform::AnsiFromWide(remaining);
    server_.ResumePausedReplies();
    EXPECT_TRUE(uitest::WaitForPageWithControl(wizard_, IDC_OUTCOME_TEXT, kTimeoutMs));
}
