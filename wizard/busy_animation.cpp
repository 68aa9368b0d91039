#include "wizard/busy_animation.h"

#include "platform/resource_modules.h"
#include "resources/resource_ids.h"
#include "wizard/screen_scale.h"

void ShowBusyAnimation(HWND control) {
    if (!control)
        return;
    // Its frames are drawn at 32 pixels for each art scale; taken unstretched, they stay sharp.
    const int size = 32 * ArtScalePercent(ScreenDpi()) / 100;
    // A shared resource cursor: the system owns it, so it is never destroyed here. Both pages
    // ask for the same size, so the shared copy always fits.
    const HANDLE animation =
        ::LoadImageW(platform::ExecutableModule(), MAKEINTRESOURCEW(IDR_BUSY_ANIMATION),
                     IMAGE_CURSOR, size, size, LR_SHARED);
    ::SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(animation), 0);
}
