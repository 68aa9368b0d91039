#pragma once
// The screen's scaling. Sizes that the wizard gives in pixels are meant for a screen of 96 dots
// per inch; on a scaled screen they grow with it, as the dialogs, laid out in dialog units, grow
// with their font. The program declares itself DPI aware, so one scaling holds for every window.

#include <windows.h>

inline constexpr int kStandardDpi = 96;

// The screen's horizontal dots per inch as this process sees it.
int ScreenDpi();

// `pixels` at 96 DPI grown to `dpi`, rounded to the nearest pixel; unchanged at 96 DPI.
constexpr int ScaleToDpi(int pixels, int dpi) {
    return (pixels * dpi + kStandardDpi / 2) / kStandardDpi;
}

// `pixels` at 96 DPI grown to the screen's scaling.
int ScaledPixels(int pixels);

// The artwork is drawn for 100, 150 and 200 %: the largest of them that the screen's scaling
// reaches, so a picture never outgrows the place laid out for it. Returns the percentage.
int ArtScalePercent(int dpi);
