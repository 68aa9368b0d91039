#pragma once
// "gallery --markup FILE": the markup of a UTF-8 file in one rich-text label that fills a
// resizable window, so that authors can preview their texts and anyone can try any markup on
// the label from outside the program.

#include "richtext/html_static.h"

#include <windows.h>

#include <string>

namespace gallery {

// The text of a UTF-8 file (a byte-order mark is dropped, invalid bytes become U+FFFD); false
// when the file cannot be read.
bool ReadMarkupFile(const std::wstring& path, std::wstring& text);

class MarkupPreview {
public:
    MarkupPreview() = default;
    MarkupPreview(const MarkupPreview&) = delete;
    MarkupPreview& operator=(const MarkupPreview&) = delete;

    // Shows `markup` until the window is closed; the exit code of the program.
    int Run(HINSTANCE instance, const std::wstring& title, const std::wstring& markup);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateLabel(const std::wstring& markup);

    HWND window_ = nullptr;
    HWND label_ = nullptr;
    CHtmlStatic control_;
};

} // namespace gallery
