#include "wizard/main_wizard.h"

#include "platform/resource_modules.h"
#include "wizard/screen_scale.h"

namespace {

struct WizardBitmaps {
    int percent;
    int header;
    int watermark;
};

constexpr WizardBitmaps kScaledBitmaps[] = {{200, IDB_HEADER_200, IDB_WATERMARK_200},
                                            {150, IDB_HEADER_150, IDB_WATERMARK_150}};

// The scaled copy of a bitmap when `module` has one, else the 100 % picture (a satellite made
// before there were scaled copies still shows its own).
int BitmapFor(HMODULE module, int scaledId, int normalId) {
    return ::FindResourceW(module, MAKEINTRESOURCEW(scaledId), RT_BITMAP) ? scaledId : normalId;
}

} // namespace

CMainWizard::CMainWizard() {
    m_psh.dwFlags |= PSH_WIZARD97 | PSH_HEADER | PSH_WATERMARK;
    // The bitmaps come from the primary module without language fallback, as the sheet loads them;
    // the sheet draws them unstretched, so a scaled screen gets the copies drawn for its scale.
    m_psh.hInstance = platform::PrimaryResourceModule();
    int header = IDB_HEADER;
    int watermark = IDB_WATERMARK;
    const int percent = ArtScalePercent(ScreenDpi());
    for (const WizardBitmaps& scaled : kScaledBitmaps) {
        if (scaled.percent == percent) {
            header = BitmapFor(m_psh.hInstance, scaled.header, header);
            watermark = BitmapFor(m_psh.hInstance, scaled.watermark, watermark);
        }
    }
    m_psh.pszbmWatermark = MAKEINTRESOURCEW(watermark);
    m_psh.pszbmHeader = MAKEINTRESOURCEW(header);
    m_psh.pszCaption = nullptr;
    m_psh.nStartPage = 0;
    AddPage(intro_);
    AddPage(productList_);
    AddPage(download_);
    AddPage(install_);
    AddPage(end_);
    AddPage(error_);
}
