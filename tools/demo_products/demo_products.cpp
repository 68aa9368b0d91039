// Registers a few installed products of the family, as their installers would, so the wizard
// has something to update: demo_products [--clear] [--list] [--root <folder>] [--language <code>]
// --list prints what is installed now, as the wizard reads it.

#include "catalogue/installed_product_list.h"
#include "tools/demo_products/demo_catalogue.h"

#include "platform/text.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

int Usage() {
    std::fputs("usage: demo_products [--clear] [--list] [--root <folder>] [--language <code>]\n",
               stderr);
    return 2;
}

} // namespace

int ListInstalled() {
    InstalledProductList list(false);
    list.ScanInstalledProducts();
    for (const InstalledProduct& product : list.Products())
        std::printf("  %-28ls version %u.%u build %u\n", product.displayName.c_str(),
                    product.versionMajor, product.versionMinor, product.build);
    if (list.Count() == 0)
        std::puts("  (none)");
    return 0;
}

int wmain(int argc, wchar_t** argv) {
    std::wstring root = demo::kDemoRoot;
    std::string language = "en";
    bool clearOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--clear")
            clearOnly = true;
        else if (arg == L"--list")
            return ListInstalled();
        else if (arg == L"--root" && i + 1 < argc)
            root = argv[++i];
        else if (arg == L"--language" && i + 1 < argc)
            language = platform::AnsiFromWide(argv[++i]);
        else
            return Usage();
    }
    demo::RemoveAllProducts();
    if (clearOnly)
        return 0;
    for (const demo::DemoProduct& product : demo::kDemoProducts) {
        const std::wstring folder = root + L"\\" + product.folder;
        demo::ProductRecord record;
        record.family = product.family;
        record.installCode = product.installCode;
        record.keyProductId = product.keyProductId;
        record.installPath = platform::AnsiFromWide(folder);
        record.languageCode = language;
        record.installedVersion = product.version;
        record.installedBuild = product.build;
        if (!demo::MakeInstallFolder(folder, product.programFile, product.date) ||
            !demo::RegisterProduct(record)) {
            std::fprintf(stderr, "could not register %s\n", demo::ProductKeyName(record).c_str());
            return 1;
        }
        std::printf("%s  %s build %s  %ls\n", demo::ProductKeyName(record).c_str(), product.version,
                    product.build, folder.c_str());
    }
    return 0;
}
