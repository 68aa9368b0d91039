#include "wizard/screen_scale.h"

int ScreenDpi() {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kStandardDpi;
}

int ScaledPixels(int pixels) {
    return ScaleToDpi(pixels, ScreenDpi());
}

int ArtScalePercent(int dpi) {
    if (dpi >= 2 * kStandardDpi)
        return 200;
    if (dpi * 2 >= 3 * kStandardDpi)
        return 150;
    return 100;
}
