#include "markup_preview.h"

#include "gallery_ids.h"
#include "platform/text.h"
#include "platform/unique_resource.h"

#include <string_view>

namespace gallery {
namespace {

constexpr int kInitialWidth = 640;
constexpr int kInitialHeight = 480;
constexpr size_t kLongestTitleTarget = 200;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

} // namespace

bool ReadMarkupFile(const std::wstring& path, std::wstring& text) {
    const platform::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                    nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF)
        return false;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size()))
        return false;
    std::string_view utf8 = bytes;
    if (utf8.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        utf8.remove_prefix(kByteOrderMark.size());
    text = platform::WideFromUtf8(utf8);
    return true;
}

int MarkupPreview::Run(HINSTANCE instance, const std::wstring& title, const std::wstring& markup) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_GALLERY));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = GALLERY_PREVIEW_CLASS;
    if (!::RegisterClassExW(&windowClass))
        return 1;
    const std::wstring caption = title + L" - " + GALLERY_PREVIEW_CAPTION;
    window_ = ::CreateWindowExW(0, GALLERY_PREVIEW_CLASS, caption.c_str(), WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, kInitialWidth, kInitialHeight,
                                nullptr, nullptr, instance, this);
    if (!window_ || !CreateLabel(markup))
        return 1;
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::UpdateWindow(window_);
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}

bool MarkupPreview::CreateLabel(const std::wstring& markup) {
    RECT client{};
    ::GetClientRect(window_, &client);
    label_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0,
                               client.right, client.bottom, window_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_GALLERY_PREVIEW)),
                               nullptr, nullptr);
    if (!label_ || !control_.SubclassWindow(label_))
        return false;
    control_.SetBackground(RGB(255, 255, 255));
    control_.SetMargins(8, 8);
    control_.SetLinkMessage(WM_GALLERY_LINK, 0);
    // Given to the control directly: the static's own copy of a long text would only double it.
    control_.SetText(markup);
    return true;
}

LRESULT CALLBACK MarkupPreview::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MarkupPreview*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || !self->window_)
        return ::DefWindowProcW(window, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT MarkupPreview::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (label_)
            ::MoveWindow(label_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_GALLERY_LINK: {
        // A message link names itself in the title bar, as there is no status line here.
        const auto* target = reinterpret_cast<const wchar_t*>(wParam);
        const std::wstring_view shown =
            std::wstring_view(target ? target : L"").substr(0, kLongestTitleTarget);
        ::SetWindowTextW(
            window_,
            (GALLERY_LINK_PREFIX + std::wstring(shown) + L" - " + GALLERY_PREVIEW_CAPTION).c_str());
        return TRUE;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window_, message, wParam, lParam);
    }
}

} // namespace gallery
