#include "wizard/title_font.h"

#include "platform/unique_resource.h"

#include <cwchar>

namespace {

platform::UniqueFont g_titleFont;

// The message font as the system reports it; the metrics are asked with their classic 500-byte
// size, which every system version answers.
LOGFONTW MessageFont() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = 500;
    static_assert(sizeof(NONCLIENTMETRICSW) >= 500);
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    return metrics.lfMessageFont;
}

int PointsToHeight(int points) {
    const HDC screen = ::GetDC(nullptr);
    const int pixelsPerInch = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return -(points * pixelsPerInch / 72);
}

} // namespace

HFONT TitleFont() {
    return g_titleFont.Get();
}

CTitleFont::CTitleFont() {
    LOGFONTW font = MessageFont();
    font.lfWeight = FW_BOLD;
    std::wcsncpy(font.lfFaceName, L"Verdana Bold", LF_FACESIZE - 1);
    font.lfHeight = PointsToHeight(12);
    g_titleFont.Reset(::CreateFontIndirectW(&font));
}

CTitleFont::~CTitleFont() {
    g_titleFont.Reset();
}

void ApplyTitleFont(HWND control) {
    if (control && TitleFont())
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(TitleFont()), TRUE);
}
