#include "wizard/main_wizard.h"

#include "platform/resource_modules.h"

CMainWizard::CMainWizard() {
    m_psh.dwFlags |= PSH_WIZARD97 | PSH_HEADER | PSH_WATERMARK;
    // The bitmaps come from the primary module without language fallback, as the sheet loads them.
    m_psh.hInstance = platform::PrimaryResourceModule();
    m_psh.pszbmWatermark = MAKEINTRESOURCEW(IDB_WATERMARK);
    m_psh.pszbmHeader = MAKEINTRESOURCEW(IDB_HEADER);
    m_psh.pszCaption = nullptr;
    m_psh.nStartPage = 0;
    AddPage(intro_);
    AddPage(productList_);
    AddPage(download_);
    AddPage(install_);
    AddPage(end_);
    AddPage(error_);
}
