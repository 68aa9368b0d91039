#include "wizard/intro_page.h"

#include "catalogue/installed_product_list.h"
#include "shell/running_product.h"
#include "shell/startup_settings.h"
#include "wizard/command_line_product.h"
#include "wizard/title_font.h"
#include "wizard/wizard_error_text.h"

namespace {

constexpr RightResizeEntry kRightResize[] = {
    {IDC_TITLE, 0}, {IDC_INTRO_TEXT, 0}, {IDC_INTRO_NOTE, 0}, {0, 0}};

} // namespace

CWizIntroPage::CWizIntroPage() : CWizardPage(IDS_WIZARD_TITLE) {
    UseExteriorLayout();
}

std::span<const RightResizeEntry> CWizIntroPage::RightResizeTable() {
    return kRightResize;
}

bool CWizIntroPage::HandleMessage(HWND, UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message != WM_INITDIALOG)
        return false;
    OnInitDialog();
    result = TRUE;
    return true;
}

void CWizIntroPage::OnInitDialog() {
    // The program's icon always comes from the executable, never from a satellite.
    const HINSTANCE executable = platform::ExecutableModule();
    const HWND wizard = Sheet().Handle();
    const auto big = static_cast<HICON>(::LoadImageW(executable, MAKEINTRESOURCEW(IDI_PROGRAM),
                                                     IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                                                     ::GetSystemMetrics(SM_CYICON), LR_SHARED));
    const auto small = static_cast<HICON>(::LoadImageW(executable, MAKEINTRESOURCEW(IDI_PROGRAM),
                                                       IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                       ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    ::SendMessageW(wizard, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    ::SendMessageW(wizard, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    ApplyTitleFont(GetDlgItem(IDC_TITLE));
}

BOOL CWizIntroPage::OnSetActive() {
    SetWizardButtons(PSWIZB_NEXT);
    return TRUE;
}

int CWizIntroPage::OnWizardNext() {
    const StartupSettings& settings = TheStartupSettings();
    if (!settings.IdsPresent())
        return 0;
    InstalledProductList& products = TheInstalledProducts();
    const std::optional<size_t> found = FindCommandLineProduct(products, settings);
    if (!found) {
        WizardErrorText() = platform::ResourceString(IDS_PRODUCT_NOT_FOUND);
        return IDD_ERROR;
    }
    products.SetAllSelected(false);
    const InstalledProduct& product = products.At(*found);
    if (IsFamilyProductRunning(product.productId)) {
        // The user may close the product and press Next again.
        ShowProductRunningMessage(product.displayName.c_str());
        return IDD_INTRO;
    }
    products.SetSelected(*found, true);
    return IDD_DOWNLOAD;
}
