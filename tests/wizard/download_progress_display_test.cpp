// The download page's progress display in the page's own dialog: what it writes, what it leaves
// alone, and which reports wait for the page's timer.

#include "tests/wizard/download_dialog.h"
#include "wizard/download_progress_display.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

DWORD fakeNow = 1000;
DWORD WINAPI FakeClock() {
    return fakeNow;
}

// Counts the texts written into each control of the dialog.
std::map<HWND, int> textWrites;
LRESULT CALLBACK CountTexts(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR) {
    if (message == WM_SETTEXT)
        ++textWrites[window];
    return ::DefSubclassProc(window, message, wParam, lParam);
}

class DownloadProgressDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(page_, nullptr);
        for (const int id :
             {IDC_SIZE_TEXT, IDC_REMAINING_TIME, IDC_ELAPSED_TIME, IDC_TRANSFER_RATE})
            ::SetWindowSubclass(::GetDlgItem(page_, id), &CountTexts, 1, 0);
        textWrites.clear();
        fakeNow = 1000;
    }

    std::wstring Text(int id) const { return dialog_.Text(id); }
    int Writes(int id) const { return textWrites[::GetDlgItem(page_, id)]; }
    int Bar() const {
        return static_cast<int>(::SendDlgItemMessageW(page_, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0));
    }

    wizardtest::DownloadDialog dialog_;
    const HWND page_ = dialog_.Page();
    CDownloadProgressDisplay display_{&FakeClock};
};

constexpr uint32_t kMiB = 1u << 20;

} // namespace

TEST_F(DownloadProgressDisplayTest, ShowsAReportInThePagesControls) {
    display_.Show(page_, {3 * kMiB, 3 * kMiB / 2, 2 * kMiB, 61, 3661});
    EXPECT_EQ(Text(IDC_SIZE_TEXT), L"1.5 MB/3 MB");
    EXPECT_EQ(Text(IDC_REMAINING_TIME), L"1 minute 1 second");
    EXPECT_EQ(Text(IDC_ELAPSED_TIME), L"1 hour 1 minute");
    EXPECT_EQ(Text(IDC_TRANSFER_RATE), L"2 MB/c");
    EXPECT_EQ(Bar(), 50);

    // The all-zero report of a new request clears the display but keeps the rate.
    fakeNow += 5;
    display_.Show(page_, {});
    EXPECT_EQ(Text(IDC_SIZE_TEXT), L" ");
    EXPECT_EQ(Text(IDC_REMAINING_TIME), L" ");
    EXPECT_EQ(Text(IDC_ELAPSED_TIME), L" ");
    EXPECT_EQ(Text(IDC_TRANSFER_RATE), L"2 MB/c");
    EXPECT_EQ(Bar(), 0);
}

TEST_F(DownloadProgressDisplayTest, TextsThatDoNotChangeAreNotWrittenAgain) {
    display_.Show(page_, {100 * kMiB, 21 * kMiB / 2, kMiB, 90, 10});
    fakeNow += CDownloadProgressDisplay::kRefreshMs;
    // 8192 bytes more change neither the shown size nor any other text.
    display_.Show(page_, {100 * kMiB, 21 * kMiB / 2 + 8192, kMiB, 90, 10});
    EXPECT_EQ(Writes(IDC_SIZE_TEXT), 1);
    EXPECT_EQ(Writes(IDC_REMAINING_TIME), 1);
    EXPECT_EQ(Writes(IDC_ELAPSED_TIME), 1);
    EXPECT_EQ(Writes(IDC_TRANSFER_RATE), 1);

    fakeNow += CDownloadProgressDisplay::kRefreshMs;
    display_.Show(page_, {100 * kMiB, 11 * kMiB, kMiB, 89, 11});
    EXPECT_EQ(Writes(IDC_SIZE_TEXT), 2);
    EXPECT_EQ(Writes(IDC_REMAINING_TIME), 2);
    EXPECT_EQ(Writes(IDC_TRANSFER_RATE), 1);
    EXPECT_EQ(Text(IDC_SIZE_TEXT), L"11 MB/100 MB");
    EXPECT_EQ(Bar(), 11);
}

TEST_F(DownloadProgressDisplayTest, AReportTooSoonWaitsForTheFlush) {
    display_.Show(page_, {100 * kMiB, 10 * kMiB, kMiB, 90, 10});
    fakeNow += CDownloadProgressDisplay::kRefreshMs - 1;
    display_.Show(page_, {100 * kMiB, 20 * kMiB, kMiB, 80, 20});
    EXPECT_EQ(Text(IDC_SIZE_TEXT), L"10 MB/100 MB");
    EXPECT_EQ(Bar(), 10);

    // The download stalls here; the page's timer shows what has arrived.
    display_.Flush(page_);
    EXPECT_EQ(Text(IDC_SIZE_TEXT), L"20 MB/100 MB");
    EXPECT_EQ(Text(IDC_ELAPSED_TIME), L"20 seconds");
    EXPECT_EQ(Bar(), 20);
    // Nothing is held back any more.
    ::SetDlgItemTextW(page_, IDC_SIZE_TEXT, L"x");
    display_.Flush(page_);
    EXPECT_EQ(Text(IDC_SIZE_TEXT), L"x");
}

TEST_F(DownloadProgressDisplayTest, TheLastReportIsShownAtOnce) {
    display_.Show(page_, {100 * kMiB, 99 * kMiB, kMiB, 1, 99});
    display_.Show(page_, {100 * kMiB, 100 * kMiB, kMiB, 0, 99});
    EXPECT_EQ(Text(IDC_SIZE_TEXT), L"100 MB/100 MB");
    EXPECT_EQ(Text(IDC_REMAINING_TIME), L" ");
    EXPECT_EQ(Bar(), 100);
}

TEST_F(DownloadProgressDisplayTest, ReplyWithoutLengthLeavesTheBarAndTheRate) {
    display_.Show(page_, {0, 0, 0, 0, 0});
    fakeNow += CDownloadProgressDisplay::kRefreshMs;
    display_.Show(page_, {0, 5 * kMiB, kMiB, 0, 5});
    EXPECT_EQ(Text(IDC_SIZE_TEXT), L"5 MB");
    EXPECT_EQ(Bar(), 0);
    EXPECT_EQ(Writes(IDC_TRANSFER_RATE), 0);
}

TEST_F(DownloadProgressDisplayTest, ANewPageIsWrittenWhole) {
    display_.Show(page_, {100 * kMiB, 10 * kMiB, kMiB, 90, 10});
    const HWND second = dialog_.MakePage();
    ASSERT_NE(second, nullptr);
    display_.Show(second, {100 * kMiB, 10 * kMiB, kMiB, 90, 10});
    wchar_t text[64] = {};
    ::GetDlgItemTextW(second, IDC_SIZE_TEXT, text, 64);
    EXPECT_STREQ(text, L"10 MB/100 MB");
    // A flush for the page no longer shown does nothing.
    display_.Flush(page_);
    ::DestroyWindow(second);
}

TEST_F(DownloadProgressDisplayTest, AWindowWithoutThePagesControlsIsLeftAlone) {
    const HWND frame = dialog_.Frame();
    display_.Show(frame, {100, 50, 10, 5, 5});
    display_.Flush(frame);
    wchar_t text[16] = {L'?'};
    ::GetWindowTextW(frame, text, 16);
    EXPECT_STREQ(text, L"");
}
