#pragma once
// The big bold font of the exterior pages' titles: one for the whole wizard.

#include <windows.h>

// The font while a CTitleFont exists, else null. User-interface thread only.
HFONT TitleFont();

// Creates the title font for its lifetime: the system's message font, bold "Verdana Bold",
// 12 points for the screen's vertical resolution.
class CTitleFont {
public:
    CTitleFont();
    ~CTitleFont();
    CTitleFont(const CTitleFont&) = delete;
    CTitleFont& operator=(const CTitleFont&) = delete;
};

// Gives `control` the title font, with redraw.
void ApplyTitleFont(HWND control);
