// The gallery as a user starts it: its dialog, its rich-text samples and a message link that
// reaches the dialog's status line.

#include "tests/support/ui_automation.h"
#include "tools/gallery/gallery_ids.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr int kSampleIds[] = {IDC_GALLERY_BANNER, IDC_GALLERY_TEXT,  IDC_GALLERY_TABLE,
                              IDC_GALLERY_IMAGES, IDC_GALLERY_LINKS, IDC_GALLERY_DISABLED};

std::wstring Trimmed(std::wstring text) {
    text.erase(0, text.find_first_not_of(L' '));
    return text;
}

class GalleryTest : public ::testing::Test {
protected:
    void SetUp() override {
        process_ = uitest::Launch(L"\"" + uitest::ProgramFolder() + L"gallery.exe\"");
        ASSERT_TRUE(process_);
        dialog_ = uitest::WaitForWindow(nullptr, GALLERY_CAPTION, process_.id, kStartTimeoutMs);
        ASSERT_NE(dialog_, nullptr);
    }

    void TearDown() override {
        if (process_ && dialog_)
            ::PostMessageW(dialog_, WM_CLOSE, 0, 0);
        if (process_)
            uitest::WaitForExit(process_, 10000);
    }

    std::wstring Status() const {
        return Trimmed(uitest::ControlText(dialog_, IDC_GALLERY_STATUS));
    }

    // Clicks until the status line changes, since the first clicks may come before the first
    // paint has placed the links. True when it changed to `expected`.
    bool ClickChangesStatusTo(HWND control, POINT point, const std::wstring& expected) {
        const LPARAM at = MAKELPARAM(point.x, point.y);
        return uitest::WaitUntil(
            [&] {
                ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
                ::PostMessageW(control, WM_LBUTTONUP, 0, at);
                ::Sleep(100);
                return Status() == expected;
            },
            5000);
    }

    uitest::Process process_;
    HWND dialog_ = nullptr;
};

TEST_F(GalleryTest, TheDialogShowsItsRichTextSamples) {
    for (const int id : kSampleIds) {
        const HWND sample = ::GetDlgItem(dialog_, id);
        ASSERT_NE(sample, nullptr) << id;
        EXPECT_EQ(uitest::ClassName(sample), L"Static") << id;
        // The resources give no notify style: the rich-text control adds it when it takes the
        // static over.
        EXPECT_TRUE(::GetWindowLongW(sample, GWL_STYLE) & SS_NOTIFY) << id;
        // The rich-text control answers with its markup, tags included.
        const std::wstring markup = uitest::WindowText(sample);
        EXPECT_NE(markup.find(L'<'), std::wstring::npos) << id;
        EXPECT_NE(markup.find(L'>'), std::wstring::npos) << id;
    }
    EXPECT_NE(uitest::WindowText(::GetDlgItem(dialog_, IDC_GALLERY_TABLE)).find(L"colspan="),
              std::wstring::npos);
    EXPECT_EQ(Status(), GALLERY_READY_TEXT);
    EXPECT_FALSE(::GetWindowLongW(::GetDlgItem(dialog_, IDC_GALLERY_STATUS), GWL_STYLE) & SS_NOTIFY)
        << "the status line is a plain static";
}

TEST_F(GalleryTest, AMessageLinkClickReachesTheStatusLine) {
    const HWND links = ::GetDlgItem(dialog_, IDC_GALLERY_LINKS);
    ASSERT_NE(links, nullptr);
    RECT client{};
    ::GetClientRect(links, &client);

    // Far from every link: nothing happens.
    const LPARAM beside = MAKELPARAM(client.right - 3, client.bottom - 3);
    ::SendMessageW(links, WM_LBUTTONDOWN, MK_LBUTTON, beside);
    ::SendMessageW(links, WM_LBUTTONUP, 0, beside);
    EXPECT_EQ(Status(), GALLERY_READY_TEXT);

    // The sample's text starts with a message link, inside the card's margins.
    EXPECT_TRUE(ClickChangesStatusTo(links, POINT{14, 12},
                                     std::wstring(GALLERY_LINK_PREFIX) + L"release notes"))
        << "status: " << std::string(Status().begin(), Status().end());
}

TEST_F(GalleryTest, TheCheckBoxEnablesTheDisabledSample) {
    const HWND sample = ::GetDlgItem(dialog_, IDC_GALLERY_DISABLED);
    ASSERT_NE(sample, nullptr);
    EXPECT_FALSE(::IsWindowEnabled(sample));
    const LPARAM onLink = MAKELPARAM(12, 10);
    ::SendMessageW(sample, WM_LBUTTONDOWN, MK_LBUTTON, onLink);
    ::SendMessageW(sample, WM_LBUTTONUP, 0, onLink);
    EXPECT_EQ(Status(), GALLERY_READY_TEXT) << "a disabled label ignores clicks";

    ::SendMessageW(::GetDlgItem(dialog_, IDC_GALLERY_ENABLE), BM_CLICK, 0, 0);
    EXPECT_TRUE(::IsWindowEnabled(sample));

    // Once enabled, its link (the start of its text) answers like the others.
    EXPECT_TRUE(ClickChangesStatusTo(sample, POINT{12, 10},
                                     std::wstring(GALLERY_LINK_PREFIX) + L"disabled"))
        << "status: " << std::string(Status().begin(), Status().end());
}

TEST_F(GalleryTest, ClosingTheDialogEndsTheProgram) {
    ::PostMessageW(dialog_, WM_CLOSE, 0, 0);
    EXPECT_EQ(uitest::WaitForExit(process_, 10000), 0);
    dialog_ = nullptr;
}

} // namespace
