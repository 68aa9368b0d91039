#pragma once
// The download page's dialog, made from the program's resource inside a hidden frame window, for
// tests of what is shown in its controls.

#include "resources/resource_ids.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace wizardtest {

class DownloadDialog {
public:
    DownloadDialog() {
        const INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&controls);
        frame_ = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 600, 300, nullptr,
                                   nullptr, nullptr, nullptr);
        page_ = MakePage();
        ::SendDlgItemMessageW(page_, IDC_PROGRESS_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    }
    ~DownloadDialog() {
        if (frame_)
            ::DestroyWindow(frame_);
    }
    DownloadDialog(const DownloadDialog&) = delete;
    DownloadDialog& operator=(const DownloadDialog&) = delete;

    // Another page of the same kind in the same frame.
    HWND MakePage() const {
        return ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DOWNLOAD),
                                    frame_, &PlainDialog, 0);
    }
    HWND Frame() const { return frame_; }
    HWND Page() const { return page_; }
    std::wstring Text(int id) const {
        wchar_t text[256] = {};
        ::GetDlgItemTextW(page_, id, text, 256);
        return text;
    }

private:
    static INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) {
        return message == WM_INITDIALOG;
    }

    HWND frame_ = nullptr;
    HWND page_ = nullptr;
};

} // namespace wizardtest
