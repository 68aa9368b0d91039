#pragma once
// The gallery's one dialog: rich-text samples over the dialog, a sample that can be disabled and
// a status line that answers the samples' message links.

#include "platform/unique_resource.h"
#include "richtext/html_static.h"

#include <windows.h>

#include <array>
#include <string>

namespace gallery {

class GalleryDialog {
public:
    GalleryDialog() = default;
    GalleryDialog(const GalleryDialog&) = delete;
    GalleryDialog& operator=(const GalleryDialog&) = delete;

    // Shows the dialog until it is closed; the exit code of the program.
    int Run(HINSTANCE instance);

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void SetUpBanner(CHtmlStatic& banner);
    void SetUpCard(CHtmlStatic& card, COLORREF background);
    void OnLinkMessage(const wchar_t* target);
    void OnEnableClicked();
    void SetStatus(const std::wstring& text);

    enum Sample { Banner, Text, Table, Images, Links, Disabled, SampleCount };

    HWND dialog_ = nullptr;
    std::array<CHtmlStatic, SampleCount> samples_;
    platform::UniqueBitmap picture_;
    platform::UniqueIcon icon_;
};

} // namespace gallery
