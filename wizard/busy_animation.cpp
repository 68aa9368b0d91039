#include "wizard/busy_animation.h"

#include "platform/resource_modules.h"
#include "resources/resource_ids.h"

void ShowBusyAnimation(HWND control) {
    if (!control)
        return;
    // A shared resource cursor: the system owns it, so it is never destroyed here.
    const HANDLE animation =
        ::LoadImageW(platform::ExecutableModule(), MAKEINTRESOURCEW(IDR_BUSY_ANIMATION),
                     IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED);
    ::SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(animation), 0);
}
