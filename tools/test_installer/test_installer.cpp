// An installer for tests. Started as the wizard starts the family's installers (the package
// path quoted, then " /S"), it does what the trailer of its own file says: it writes the
// product's registry key with the version and build it brings, rewrites the product's program
// file and, when asked, the folder's Zapdate.exe, fails, takes its time or hangs.

#include "platform/text.h"
#include "platform/unique_resource.h"
#include "tools/demo_products/product_registration.h"
#include "tools/test_installer/test_package.h"

#include <windows.h>

#include <string>

namespace {

// Exit codes of its own failures, so a test can tell them from the ones it asked for.
constexpr int kExitNoTrailer = 10;
constexpr int kExitNotSilent = 11;
constexpr int kExitCannotInstall = 12;

// The arguments after the program token, quoted or not.
std::wstring Arguments(const wchar_t* commandLine) {
    const wchar_t* p = commandLine;
    if (*p == L'"') {
        ++p;
        while (*p != L'\0' && *p != L'"')
            ++p;
        if (*p == L'"')
            ++p;
    } else {
        while (*p != L'\0' && *p != L' ' && *p != L'\t')
            ++p;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    return p;
}

void Report(const std::wstring& path, const std::string& line) {
    if (path.empty())
        return;
    const platform::UniqueHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                    OPEN_ALWAYS, 0, nullptr));
    const std::string text = line + "\n";
    DWORD written = 0;
    if (file)
        ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

bool Install(const testpkg::TestPackage& package) {
    if (!demo::RegisterProduct(package.product))
        return false;
    const std::wstring folder = platform::WideFromAnsi(package.product.installPath);
    if (!package.programFile.empty() &&
        !demo::WriteProgramFile(folder + L"\\" + package.programFile, package.programDate))
        return false;
    if (!package.wizardDate)
        return true;
    const std::wstring wizard = folder + L"\\Zapdate.exe";
    return package.wizardSource.empty()
               ? demo::WriteProgramFile(wizard, *package.wizardDate)
               : demo::CopyProgramFile(package.wizardSource, wizard, *package.wizardDate);
}

int Run(const testpkg::TestPackage& package, const std::wstring& arguments) {
    using testpkg::Behaviour;
    if (arguments != L"/S")
        return kExitNotSilent; // a real installer would show its dialogs
    if (package.delaySeconds != 0)
        ::Sleep(package.delaySeconds * 1000);
    switch (package.behaviour) {
    case Behaviour::Hang:
        ::Sleep(INFINITE);
        return 0;
    case Behaviour::Fail:
        return 1;
    case Behaviour::Succeed:
        return Install(package) ? 0 : kExitCannotInstall;
    case Behaviour::FailAfterUpdate:
        return Install(package) ? static_cast<int>(package.exitCode) : kExitCannotInstall;
    }
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const auto package = testpkg::ReadTestPackage(testpkg::ReadFileBytes(self));
    if (!package)
        return kExitNoTrailer;
    const std::wstring arguments = Arguments(::GetCommandLineW());
    Report(package->reportPath, platform::FormatAnsi("started %lu %s", ::GetCurrentProcessId(),
                                                     platform::Utf8FromWide(arguments).c_str()));
    const int exitCode = Run(*package, arguments);
    Report(package->reportPath, platform::FormatAnsi("finished %d", exitCode));
    return exitCode;
}
