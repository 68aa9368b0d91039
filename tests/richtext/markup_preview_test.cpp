// "gallery --markup FILE" as authors and attackers use it: the file's markup in one label that
// fills a resizable window, and hostile files that draw within the memory of plain text.

#include "bench/support/hostile_markup.h"
#include "platform/text.h"
#include "tests/support/ui_automation.h"
#include "tools/gallery/gallery_ids.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr DWORD kStartTimeoutMs = 60000;
constexpr SIZE_T kMegabyte = 1024 * 1024;

class Preview {
public:
    // Writes `markup` as UTF-8 and shows it; the window is painted when this returns.
    explicit Preview(const std::wstring& markup, const std::string& bom = "") {
        static int files = 0;
        path_ = uitest::MakeTempFolder(L"preview") + L"\\case" + std::to_wstring(++files) + L".txt";
        std::ofstream(path_.c_str(), std::ios::binary) << bom << platform::Utf8FromWide(markup);
        process_ = uitest::Launch(L"\"" + uitest::ProgramFolder() + L"gallery.exe\" --markup \"" +
                                  path_ + L"\"");
        window_ = process_ ? uitest::WaitForWindow(GALLERY_PREVIEW_CLASS, nullptr, process_.id,
                                                   kStartTimeoutMs)
                           : nullptr;
        label_ = window_ ? ::GetDlgItem(window_, IDC_GALLERY_PREVIEW) : nullptr;
        if (label_)
            ::RedrawWindow(label_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    ~Preview() {
        if (window_)
            ::PostMessageW(window_, WM_CLOSE, 0, 0);
        if (process_)
            uitest::WaitForExit(process_, 20000);
        ::DeleteFileW(path_.c_str());
    }
    Preview(const Preview&) = delete;
    Preview& operator=(const Preview&) = delete;

    HWND Window() const { return window_; }
    HWND Label() const { return label_; }
    SIZE_T PeakMemory() const {
        PROCESS_MEMORY_COUNTERS counters{};
        ::GetProcessMemoryInfo(process_.handle.Get(), &counters, sizeof(counters));
        return counters.PeakWorkingSetSize;
    }

private:
    std::wstring path_;
    uitest::Process process_;
    HWND window_ = nullptr;
    HWND label_ = nullptr;
};

RECT ClientOf(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return client;
}

} // namespace

TEST(MarkupPreview, ShowsTheFileInALabelThatFillsTheWindow) {
    const std::wstring markup = L"<b>Caf\u00e9 \U0001F600</b>";
    const Preview preview(markup, "\xEF\xBB\xBF");
    ASSERT_NE(preview.Label(), nullptr);
    EXPECT_EQ(uitest::WindowText(preview.Label()), markup) << "UTF-8 read, the mark dropped";

    ::SetWindowPos(preview.Window(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    const RECT window = ClientOf(preview.Window()), label = ClientOf(preview.Label());
    EXPECT_EQ(label.right, window.right);
    EXPECT_EQ(label.bottom, window.bottom);
}

// Each case of the label's old faults in a process of its own, against plain text of the largest
// case's size.
TEST(MarkupPreview, HostileFilesTakeNoMoreMemoryThanPlainText) {
    const auto peak = [](const std::wstring& markup) {
        const Preview preview(markup);
        EXPECT_NE(preview.Label(), nullptr);
        return preview.PeakMemory();
    };
    const std::vector<hostile::Case> cases = hostile::KnownCases();
    size_t largest = 0;
    for (const hostile::Case& hostileCase : cases)
        largest = std::max(largest, hostileCase.markup.size());
    const SIZE_T plain = peak(hostile::PlainText(largest));
    for (const hostile::Case& hostileCase : cases) {
        const SIZE_T hostile = peak(hostileCase.markup);
        EXPECT_LT(hostile, plain + 64 * kMegabyte)
            << hostileCase.name << ": " << hostile / kMegabyte << " MB against "
            << plain / kMegabyte << " MB";
    }
}
