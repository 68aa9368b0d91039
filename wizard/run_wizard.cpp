#include "wizard/run_wizard.h"

#include "catalogue/installed_product_list.h"
#include "wizard/main_wizard.h"
#include "wizard/title_font.h"

#include <objbase.h>

namespace {

// COM for the thread while the wizard runs (the shell calls of the pages need it).
class ComForThread {
public:
    ComForThread() : initialised_(SUCCEEDED(::CoInitialize(nullptr))) {}
    ~ComForThread() {
        if (initialised_)
            ::CoUninitialize();
    }
    ComForThread(const ComForThread&) = delete;
    ComForThread& operator=(const ComForThread&) = delete;

private:
    bool initialised_;
};

} // namespace

void RunWizard(HINSTANCE) {
    // Before any window exists: the scan may also rewrite the command-line product ids.
    TheInstalledProducts().ScanInstalledProducts();
    LogProductsFound(TheInstalledProducts());
    const CTitleFont titleFont;
    const ComForThread com;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    CMainWizard wizard;
    wizard.DoModal(::GetActiveWindow());
}
