#pragma once
// The wizard: a Wizard97 property sheet with six pages in Back/Next order.

#include "platform/property_sheet.h"
#include "wizard/download_page.h"
#include "wizard/end_page.h"
#include "wizard/error_page.h"
#include "wizard/install_page.h"
#include "wizard/intro_page.h"
#include "wizard/product_list_page.h"

class CMainWizard
    : public platform::CPropertySheetImpl<CMainWizard, platform::CPropertySheetWindow> {
public:
    CMainWizard();

private:
    CWizIntroPage intro_;
    CProductListPage productList_;
    CDownloadPage download_;
    CInstallPage install_;
    CEndPage end_;
    CErrorPage error_;
};
