// Registers a few installed products of the family, as their installers would, so the wizard
// has something to update: demo_products [--clear] [--root <folder>] [--language <code>]

#include "tools/demo_products/product_registration.h"

#include "platform/text.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct DemoProduct {
    const char* family;
    uint32_t installCode;
    uint32_t keyProductId;
    const wchar_t* folder;
    const wchar_t* programFile;
    const char* version;
    const char* build;
    demo::ProductDate date;
};

// Kovra, Tessel and Brisk Backup, each a little behind what the demo update site offers.
constexpr DemoProduct kDemoProducts[] = {
    {"Kovra", 0x0001, 6, L"Kovra", L"kovra.exe", "5.2", "1200", {2026, 3, 14}},
    {"Tessel", 0x0001, 22, L"Tessel", L"ktessel.exe", "3.1", "870", {2025, 11, 2}},
    {"Brisk", 0x0001, 32, L"Brisk Backup", L"kbrisk.exe", "2.0", "415", {2026, 1, 20}},
};

int Usage() {
    std::fputs("usage: demo_products [--clear] [--root <folder>] [--language <code>]\n", stderr);
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring root = L"C:\\Program Files\\Velk Demo";
    std::string language = "en";
    bool clearOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--clear")
            clearOnly = true;
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
    for (const DemoProduct& product : kDemoProducts) {
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
