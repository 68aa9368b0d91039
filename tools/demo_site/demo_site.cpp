// Writes the demo update site: the version file that offers newer builds of the demo products
// and the installer packages that install them, for a web server on this machine to serve.
//   demo_site --root <document root> --port <port> [--language <code>]

#include "platform/text.h"
#include "tools/demo_products/demo_catalogue.h"
#include "tools/demo_site/version_file_writer.h"
#include "tools/test_installer/test_package.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring self = path;
    return self.substr(0, self.find_last_of(L'\\') + 1);
}

std::string PackageName(const demo::DemoProduct& product) {
    return platform::FormatAnsi("%s_%s_setup.exe", product.family, product.offeredBuild);
}

std::string Section(const demo::DemoProduct& product, unsigned port, const std::string& language) {
    demo::OfferedBuild offer;
    offer.family = product.family;
    offer.installCode = product.installCode;
    offer.keyProductId = product.keyProductId;
    offer.name = product.name;
    offer.version = product.offeredVersion;
    offer.build = product.offeredBuild;
    offer.date = product.offeredDate;
    offer.packageUrl =
        platform::FormatAnsi("http://127.0.0.1:%u/dl/%s", port, PackageName(product).c_str());
    offer.language = language;
    return demo::BuildSection(offer);
}

bool WritePackage(const demo::DemoProduct& product, const std::wstring& folder,
                  const std::string& language) {
    testpkg::TestPackage package;
    package.product.family = product.family;
    package.product.installCode = product.installCode;
    package.product.keyProductId = product.keyProductId;
    package.product.installPath =
        platform::AnsiFromWide(std::wstring(demo::kDemoRoot) + L"\\" + product.folder);
    package.product.languageCode = language;
    package.product.installedVersion = product.offeredVersion;
    package.product.installedBuild = product.offeredBuild;
    package.programFile = product.programFile;
    package.programDate = product.offeredDate;
    // A moment's work, as a real installer takes, so the install page can be seen.
    package.delaySeconds = 2;
    return testpkg::MakeTestPackage(ProgramFolder() + L"test_installer.exe",
                                    folder + L"\\" + platform::WideFromAnsi(PackageName(product)),
                                    package);
}

int Usage() {
    std::fputs("usage: demo_site --root <document root> --port <port> [--language <code>]\n",
               stderr);
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring root;
    unsigned port = 0;
    std::string language = "en";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring option = argv[i];
        if (option == L"--root")
            root = argv[i + 1];
        else if (option == L"--port")
            port = static_cast<unsigned>(_wtoi(argv[i + 1]));
        else if (option == L"--language")
            language = platform::AnsiFromWide(argv[i + 1]);
        else
            return Usage();
    }
    if (root.empty() || port == 0)
        return Usage();
    const std::wstring downloads = root + L"\\downloads";
    const std::wstring packages = root + L"\\dl";
    ::CreateDirectoryW(downloads.c_str(), nullptr);
    ::CreateDirectoryW(packages.c_str(), nullptr);

    std::string versionFile =
        "; The demo update site.\r\n" +
        demo::GlobalSection(platform::FormatAnsi("http://127.0.0.1:%u/", port));
    for (const demo::DemoProduct& product : demo::kDemoProducts) {
        if (!product.offered)
            continue;
        versionFile += Section(product, port, language);
        if (std::string(product.offeredBuild) != product.build &&
            !WritePackage(product, packages, language)) {
            std::fprintf(stderr, "could not write the package of %s\n", product.name);
            return 1;
        }
    }
    std::ofstream(std::filesystem::path(downloads + L"\\update.ini"), std::ios::binary)
        << versionFile;
    std::printf("demo site written to %ls\n", root.c_str());
    return 0;
}
