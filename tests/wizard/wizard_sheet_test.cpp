// The wizard shown by RunWizard inside this test program, where the test reaches what another
// process would hide: the sheet's description, the title font, the pages' stretching to the right
// edge, the header subtitles that the download page sends, and the end page's icons.

// Winsock before windows.h.
#include "tests/support/scripted_http_server.h"

#include "catalogue/installed_product_list.h"
#include "engine/updater.h"
#include "platform/gdi.h"
#include "platform/resource_modules.h"
#include "platform/resource_strings.h"
#include "platform/thread.h"
#include "resources/resource_ids.h"
#include "shell/update_temp_folder.h"
#include "tests/support/ui_automation.h"
#include "wizard/download_page.h"
#include "wizard/main_wizard.h"
#include "wizard/run_wizard.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <prsht.h>

#include <memory>
#include <vector>

using testsupport::ScriptedReply;

namespace {

constexpr DWORD kTimeoutMs = 60000;
constexpr int kPageCount = 6;

const std::wstring& Text(UINT id) {
    return platform::ResourceString(id);
}

// The header subtitles that the pages send to the sheet, recorded on the sheet's thread;
// consecutive repeats (a new progress code with the same text) count once.
platform::CriticalSection subtitleLock;
std::vector<std::wstring> subtitles;

LRESULT CALLBACK RecordSubtitle(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == PSM_SETHEADERSUBTITLEW) {
        const platform::ScopedLock hold(subtitleLock);
        const wchar_t* text = reinterpret_cast<const wchar_t*>(sent->lParam);
        if (subtitles.empty() || subtitles.back() != text)
            subtitles.emplace_back(text);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<std::wstring> Subtitles() {
    const platform::ScopedLock hold(subtitleLock);
    return subtitles;
}

RECT BoundsIn(HWND page, HWND control) {
    RECT bounds;
    ::GetWindowRect(control, &bounds);
    ::MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

class WizardSheet : public ::testing::Test {
protected:
    void SetUp() override {
        wizard_ = platform::StartThread([] {
            const std::unique_ptr<std::remove_pointer_t<HHOOK>, decltype(&::UnhookWindowsHookEx)>
                hook(::SetWindowsHookExW(WH_CALLWNDPROC, &RecordSubtitle, nullptr,
                                         ::GetCurrentThreadId()),
                     &::UnhookWindowsHookEx);
            RunWizard(::GetModuleHandleW(nullptr));
            return 0u;
        });
        sheet_ = uitest::WaitForWindow(L"#32770", nullptr, ::GetCurrentProcessId(), kTimeoutMs);
        ASSERT_NE(sheet_, nullptr);
        ASSERT_TRUE(uitest::WaitForPageWithControl(sheet_, IDC_INTRO_NOTE, kTimeoutMs));
    }
    void TearDown() override {
        // Finish on the error page closes the wizard wherever it stands.
        if (sheet_ != nullptr) {
            Show(IDD_ERROR);
            uitest::PressWizardButton(sheet_, PSBTN_FINISH);
        }
        EXPECT_EQ(::WaitForSingleObject(wizard_.Get(), kTimeoutMs), WAIT_OBJECT_0);
    }

    // Goes to the page made from `dialogId` and returns its window.
    HWND Show(int dialogId) const {
        ::SendMessageW(sheet_, PSM_SETCURSELID, 0, dialogId);
        return uitest::CurrentPage(sheet_);
    }
    // The download page disables every button while it works; the sheet still takes a press.
    void PressBack() const { ::PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_BACK, 0); }

    // Serves a version file that offers build 1250 of the chosen product; it and the package
    // stop after their headers until the server resumes them, one at a time.
    void OfferChosenProductFrom(testsupport::ScriptedHttpServer& server) const {
        SetUpdateTempFolder(uitest::MakeTempFolder(L"zapdate-wizard-sheet-test"));
        ::SetEnvironmentVariableA("ZAPDATE_UPDATE_HOST",
                                  ("127.0.0.1:" + std::to_string(server.Port())).c_str());
        for (std::string body :
             {"[global]\r\nversion=1\r\nurl=" + server.Url("/service") +
                  "\r\n[Kovra:1:6]\r\nname=Kovra\r\nversion=5.3\r\nbuild=1250\r\ndate=20261130\r\n"
                  "method=GET\r\nurl=" +
                  server.Url("/dl/kovra.exe") + "\r\nres_id=1\r\nlang_id=en\r\n",
              std::string(100000, 'z')}) {
            ScriptedReply reply = ScriptedReply::Binary(std::move(body));
            reply.pauseAfterBytes = 0;
            reply.pauseMs = INFINITE;
            server.Enqueue(std::move(reply));
        }
        InstalledProduct kovra;
        kovra.displayName = L"Kovra";
        kovra.installCode = 1;
        kovra.keyProductId = kovra.productId = 6;
        kovra.resellerId = 7;
        kovra.language = "en";
        kovra.versionMajor = 5;
        kovra.build = 1200;
        kovra.packagePath = UpdateTempFolder() + L"\\kovra.exe";
        InstalledProductList& products = TheInstalledProducts();
        products.Append(kovra);
        products.SetSelected(products.Count() - 1, true);
    }

    platform::UniqueHandle wizard_;
    HWND sheet_ = nullptr;
};

} // namespace

TEST(MainWizard, IsAWizard97SheetWithTheHeaderAndWatermarkBitmaps) {
    const CMainWizard wizard;
    const PROPSHEETHEADERW& sheet = wizard.SheetDescription();
    // The callback flag is the sheet template's own: it learns the sheet's window through it.
    EXPECT_EQ(sheet.dwFlags & ~PSH_USECALLBACK, DWORD{PSH_WIZARD97 | PSH_HEADER | PSH_WATERMARK});
    EXPECT_EQ(sheet.hInstance, platform::PrimaryResourceModule());
    EXPECT_EQ(sheet.pszbmHeader, MAKEINTRESOURCEW(IDB_HEADER));
    EXPECT_EQ(sheet.pszbmWatermark, MAKEINTRESOURCEW(IDB_WATERMARK));
}

TEST_F(WizardSheet, IntroductionAndErrorTitlesUseTheTitleFont) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const platform::UniqueMemoryDc screen(::CreateCompatibleDC(nullptr));
    const int height = -(12 * ::GetDeviceCaps(screen.Get(), LOGPIXELSY) / 72);
    for (const int page : {IDD_INTRO, IDD_ERROR}) {
        const HWND title = ::GetDlgItem(Show(page), IDC_TITLE);
        LOGFONTW font = {};
        ASSERT_TRUE(::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(title, WM_GETFONT, 0, 0)),
                                 sizeof font, &font))
            << page;
        EXPECT_STREQ(font.lfFaceName, L"Verdana Bold") << page;
        EXPECT_EQ(font.lfWeight, 700) << page;
        EXPECT_EQ(font.lfHeight, height) << page;
        EXPECT_EQ(font.lfCharSet, metrics.lfMessageFont.lfCharSet) << "the message font's";
    }
}

TEST_F(WizardSheet, EachPageStretchesItsOwnControlsToTheRightEdge) {
    struct Stretched {
        int page;
        int control; // -1: the page's first unnamed static
        int margin;
    };
    constexpr Stretched kStretched[] = {{IDD_INTRO, IDC_TITLE, 0},
                                        {IDD_INTRO, IDC_INTRO_TEXT, 0},
                                        {IDD_INTRO, IDC_INTRO_NOTE, 0},
                                        {IDD_PRODUCT_LIST, IDC_PRODUCT_LIST, 0},
                                        {IDD_DOWNLOAD, IDC_SIZE_TEXT, 0},
                                        {IDD_DOWNLOAD, IDC_PROGRESS_BAR, 0},
                                        {IDD_DOWNLOAD, IDC_DETAILS_GROUP, 0},
                                        {IDD_DOWNLOAD, IDC_STATUS_LINE, 7},
                                        {IDD_DOWNLOAD, IDC_ELAPSED_TIME, 7},
                                        {IDD_DOWNLOAD, IDC_REMAINING_TIME, 7},
                                        {IDD_DOWNLOAD, IDC_TRANSFER_RATE, 7},
                                        {IDD_INSTALL, IDC_TITLE, 0},
                                        {IDD_INSTALL, IDC_INSTALL_CURRENT, 0},
                                        {IDD_INSTALL, IDC_INSTALL_ELAPSED, 0},
                                        {IDD_END, IDC_PRODUCT_LIST, 0},
                                        {IDD_END, -1, 0},
                                        {IDD_END, IDC_OUTCOME_TEXT, 0},
                                        {IDD_ERROR, IDC_TITLE, 0},
                                        {IDD_ERROR, IDC_ERROR_TEXT, 0}};
    for (const int page : {IDD_PRODUCT_LIST, IDD_DOWNLOAD, IDD_INSTALL, IDD_END, IDD_ERROR})
        Show(page); // a page's window is made when it is first shown
    for (int index = 0; index < kPageCount; ++index) {
        const HWND page = reinterpret_cast<HWND>(::SendMessageW(sheet_, PSM_INDEXTOHWND, index, 0));
        const auto dialogId = static_cast<int>(::SendMessageW(sheet_, PSM_INDEXTOID, index, 0));
        std::vector<std::pair<HWND, int>> rightEdges;
        for (HWND child = ::GetWindow(page, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT))
            rightEdges.emplace_back(child, BoundsIn(page, child).right);
        RECT client;
        ::GetClientRect(page, &client);
        ::SetWindowPos(page, nullptr, 0, 0, client.right + 150, client.bottom,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::GetClientRect(page, &client);
        bool firstUnnamed = true;
        for (const auto& [child, before] : rightEdges) {
            int id = ::GetDlgCtrlID(child);
            if (static_cast<WORD>(id) == 0xFFFF) {
                id = firstUnnamed ? -1 : 0;
                firstUnnamed = false;
            }
            int expected = before;
            for (const Stretched& entry : kStretched) {
                RECT margin = {0, 0, entry.margin + 7, 0};
                if (entry.page == dialogId && entry.control == id && ::MapDialogRect(page, &margin))
                    expected = client.right - margin.right;
            }
            EXPECT_EQ(BoundsIn(page, child).right, expected) << dialogId << " control " << id;
        }
    }
}

TEST(RightResize, OutsideADialogTheMarginIsElevenSeventhsOfItPlusEleven) {
    // A plain window has no dialog units; its controls get the download page's table.
    class PlainWindow : public CRightResize<PlainWindow> {
    public:
        PlainWindow() {
            window_ = ::CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 600, 300, nullptr,
                                        nullptr, nullptr, nullptr);
            for (const int id : {IDC_SIZE_TEXT, IDC_STATUS_LINE})
                ::CreateWindowExW(0, L"Static", L"", WS_CHILD, 10, 10, 50, 20, window_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                                  nullptr);
        }
        ~PlainWindow() { ::DestroyWindow(window_); }
        HWND Handle() const { return window_; }
        static std::span<const RightResizeEntry> RightResizeTable() {
            return CDownloadPage::RightResizeTable();
        }
        using CRightResize::StretchToRightEdge;

    private:
        HWND window_ = nullptr;
    };
    PlainWindow window;
    window.StretchToRightEdge();
    RECT client;
    ::GetClientRect(window.Handle(), &client);
    EXPECT_EQ(BoundsIn(window.Handle(), ::GetDlgItem(window.Handle(), IDC_SIZE_TEXT)).right,
              client.right - 11);
    EXPECT_EQ(BoundsIn(window.Handle(), ::GetDlgItem(window.Handle(), IDC_STATUS_LINE)).right,
              client.right - 22);
}

TEST_F(WizardSheet, DownloadPageHeaderSaysWhatTheWorkerDoes) {
    testsupport::ScriptedHttpServer server;
    ASSERT_TRUE(server.IsRunning());
    OfferChosenProductFrom(server);
    Show(IDD_DOWNLOAD);
    const auto saysLast = [](UINT id) {
        return uitest::WaitUntil(
            [&] { return !Subtitles().empty() && Subtitles().back() == Text(id); }, kTimeoutMs);
    };
    EXPECT_TRUE(saysLast(IDS_CHECKING_FOR_UPDATES));
    server.ResumePausedReplies();
    EXPECT_TRUE(saysLast(IDS_DOWNLOADING_UPDATES));
    server.DropPausedReplies();
    EXPECT_TRUE(saysLast(IDS_DOWNLOADS_COMPLETE));
    // The end of the check shows the third text too, before the download starts.
    const std::vector<std::wstring> seen = Subtitles();
    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ(
        std::vector<std::wstring>(seen.end() - 4, seen.end()),
        (std::vector<std::wstring>{Text(IDS_CHECKING_FOR_UPDATES), Text(IDS_DOWNLOADS_COMPLETE),
                                   Text(IDS_DOWNLOADING_UPDATES), Text(IDS_DOWNLOADS_COMPLETE)}));
}

TEST_F(WizardSheet, BackOnTheDownloadPageAsksWhileTheWorkerWorks) {
    // Nothing under way and no product ids given: back to the introduction.
    Show(IDD_DOWNLOAD);
    PressBack();
    ASSERT_TRUE(uitest::WaitForPageWithControl(sheet_, IDC_INTRO_NOTE, kTimeoutMs));

    testsupport::ScriptedHttpServer server;
    ASSERT_TRUE(server.IsRunning());
    OfferChosenProductFrom(server);
    Show(IDD_DOWNLOAD);
    // No keeps the check going, so Back asks again; Yes stops it.
    for (const int answer : {IDNO, IDYES}) {
        PressBack();
        const uitest::Question question =
            uitest::AnswerQuestion(Text(IDS_WIZARD_TITLE).c_str(), ::GetCurrentProcessId(), answer);
        ASSERT_EQ(question.text, L"Cancel downloading?");
        EXPECT_EQ(question.defaultButton, IDNO);
    }
    // The fetch waits for the rest of its reply: the server goes away instead.
    server.DropPausedReplies();
    EXPECT_TRUE(uitest::WaitForPageWithControl(sheet_, IDC_PRODUCT_LIST, kTimeoutMs));
}

TEST_F(WizardSheet, EndPageIconTellsSuccessFromTheOutcomeBits) {
    struct Row {
        uint32_t state;
        int image; // 0 success, 1 failure
    };
    constexpr Row kRows[] = {{0, 1}, {5, 0}, {6, 0}, {8, 1}};
    {
        const platform::ScopedLock hold(TheUpdater().ListLock());
        for (const Row& row : kRows) {
            InstalledProduct item;
            item.displayName = L"Product " + std::to_wstring(row.state);
            item.state = row.state;
            TheUpdater().UpdateList().push_back(item);
        }
    }
    const std::vector<uitest::ListRow> rows =
        uitest::ReadListView(::GetDlgItem(Show(IDD_END), IDC_PRODUCT_LIST), 5);
    ASSERT_EQ(rows.size(), std::size(kRows));
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].image, kRows[i].image) << kRows[i].state;
        EXPECT_EQ(rows[i].columns[4], L"Not updated") << kRows[i].state;
    }
}
