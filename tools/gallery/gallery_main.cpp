// Velk Rich-Text Gallery: one dialog that shows what the rich-text label can do, or with
// "--markup FILE" the markup of one file in a label of its own.

#include "gallery_dialog.h"
#include "gallery_ids.h"
#include "markup_preview.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

namespace {

// The file after "--markup", or empty when the gallery is started without it.
std::wstring MarkupFileArgument() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!arguments)
        return {};
    std::wstring file;
    for (int i = 1; i + 1 < count; ++i)
        if (std::wstring_view(arguments[i]) == L"--markup")
            file = arguments[i + 1];
    ::LocalFree(arguments);
    return file;
}

std::wstring FileName(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

int ShowMarkupFile(HINSTANCE instance, const std::wstring& path) {
    std::wstring markup;
    if (!gallery::ReadMarkupFile(path, markup)) {
        ::MessageBoxW(nullptr, (L"Cannot read " + path + L".").c_str(), GALLERY_PREVIEW_CAPTION,
                      MB_OK | MB_ICONERROR);
        return 2;
    }
    gallery::MarkupPreview preview;
    return preview.Run(instance, FileName(path), markup);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    const std::wstring markupFile = MarkupFileArgument();
    if (!markupFile.empty())
        return ShowMarkupFile(instance, markupFile);
    gallery::GalleryDialog dialog;
    return dialog.Run(instance);
}
