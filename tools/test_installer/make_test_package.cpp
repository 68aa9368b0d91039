// Writes a package of the test installer for trying the wizard by hand, for example served by
// a local web server:  make_test_package <package path> [key=value ...]
// The keys are those of the package trailer (see test_package.h), such as keyProductId=6
// installPath=C:\Velk\Kovra installedVersion=5.4 installedBuild=1302 behaviour=succeed.

#include "platform/text.h"
#include "tools/test_installer/test_package.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring InstallerBesideThisProgram() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + L"test_installer.exe";
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: make_test_package <package path> [key=value ...]\n", stderr);
        return 2;
    }
    std::string lines;
    for (int i = 2; i < argc; ++i)
        lines += platform::Utf8FromWide(argv[i]) + "\n";
    const auto package = testpkg::ParseTestPackage(lines);
    if (!package) {
        std::fputs("a behaviour or a date cannot be read\n", stderr);
        return 2;
    }
    if (!testpkg::MakeTestPackage(InstallerBesideThisProgram(), argv[1], *package)) {
        std::fputs("the package cannot be written\n", stderr);
        return 1;
    }
    std::fputs(testpkg::TestPackageText(*package).c_str(), stdout);
    return 0;
}
