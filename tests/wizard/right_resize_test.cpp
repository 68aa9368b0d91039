#include "wizard/right_resize.h"

#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

// A real dialog made from the download page's template, stretched by CRightResize on WM_SIZE.
class StretchedDialog : public CRightResize<StretchedDialog> {
public:
    StretchedDialog() {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&controls);
        // The page templates are child dialogs: they need a parent, as in the property sheet.
        parent_ = ::CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1000, 500, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
        window_ = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DOWNLOAD),
                                       parent_, &DialogProc, reinterpret_cast<LPARAM>(this));
    }
    ~StretchedDialog() {
        ::DestroyWindow(window_);
        ::DestroyWindow(parent_);
    }
    StretchedDialog(const StretchedDialog&) = delete;
    StretchedDialog& operator=(const StretchedDialog&) = delete;

    HWND Handle() const { return window_; }
    static std::span<const RightResizeEntry> RightResizeTable() { return table; }
    static inline std::span<const RightResizeEntry> table;

    void Resize(int width, int height) const {
        ::SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOZORDER);
    }

    int RightEdge(int id) const {
        RECT bounds;
        ::GetWindowRect(::GetDlgItem(window_, id), &bounds);
        ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&bounds), 2);
        return bounds.right;
    }
    int ClientRight() const {
        RECT client;
        ::GetClientRect(window_, &client);
        return client.right;
    }
    int DialogUnitsToPixels(int units) const {
        RECT rect = {0, 0, units, 0};
        ::MapDialogRect(window_, &rect);
        return rect.right;
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            ::SetWindowLongPtrW(window, DWLP_USER, lParam);
            return TRUE;
        }
        auto* self = reinterpret_cast<StretchedDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
        if (message == WM_SIZE && self) {
            self->window_ = window;
            self->StretchToRightEdge();
        }
        return FALSE;
    }

    HWND parent_ = nullptr;
    HWND window_ = nullptr;
};

constexpr RightResizeEntry kDownloadTable[] = {
    {IDC_PROGRESS_BAR, 0}, {IDC_STATUS_LINE, 7}, {4242, 0}, {IDC_TRANSFER_RATE, 7}, {0, 0},
    {IDC_ELAPSED_TIME, 0}};

} // namespace

TEST(RightResize, WiderWindowKeepsEachRightEdgeAtItsMargin) {
    StretchedDialog::table = kDownloadTable;
    StretchedDialog dialog;
    ASSERT_NE(dialog.Handle(), nullptr);
    const int elapsedBefore = dialog.RightEdge(IDC_ELAPSED_TIME);
    dialog.Resize(900, 400);
    const int right = dialog.ClientRight();
    EXPECT_EQ(dialog.RightEdge(IDC_PROGRESS_BAR), right - dialog.DialogUnitsToPixels(7));
    EXPECT_EQ(dialog.RightEdge(IDC_STATUS_LINE), right - dialog.DialogUnitsToPixels(14));
    EXPECT_EQ(dialog.RightEdge(IDC_TRANSFER_RATE), right - dialog.DialogUnitsToPixels(14));
    // The table ends at the first id 0: the entry behind it is not applied.
    EXPECT_EQ(dialog.RightEdge(IDC_ELAPSED_TIME), elapsedBefore);
}

TEST(RightResize, NarrowerWindowFollowsToo) {
    StretchedDialog::table = kDownloadTable;
    StretchedDialog dialog;
    ASSERT_NE(dialog.Handle(), nullptr);
    dialog.Resize(900, 400);
    dialog.Resize(600, 400);
    EXPECT_EQ(dialog.RightEdge(IDC_PROGRESS_BAR),
              dialog.ClientRight() - dialog.DialogUnitsToPixels(7));
}
