// Velk Rich-Text Gallery: one dialog that shows what the rich-text label can do.

#include "gallery_dialog.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    gallery::GalleryDialog dialog;
    return dialog.Run(instance);
}
