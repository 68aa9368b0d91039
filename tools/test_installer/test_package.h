#pragma once
// Installer packages for tests: the test installer program followed by a trailer that says
// what this package installs and how its installer behaves, so that one build of the installer
// serves every product and every kind of outcome.

#include "tools/demo_products/product_registration.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testpkg {

enum class Behaviour {
    Succeed,         // updates the product, exit code 0
    Fail,            // changes nothing, exit code 1
    FailAfterUpdate, // updates the product, then exits with `exitCode`
    Hang,            // waits until it is ended from outside, changes nothing
};

struct TestPackage {
    // The key the installer writes; its version and build are those the package brings.
    demo::ProductRecord product;
    // The product's program file in the install folder, rewritten with `programDate`; empty: none.
    std::wstring programFile = L"kovra.exe";
    demo::ProductDate programDate = {2026, 11, 30};
    // When set, the folder's Zapdate.exe is replaced by a wizard of this date: a copy of
    // `wizardSource`, or of the test installer itself when that is empty.
    std::optional<demo::ProductDate> wizardDate;
    std::wstring wizardSource;
    Behaviour behaviour = Behaviour::Succeed;
    uint32_t delaySeconds = 0; // before doing anything else
    uint32_t exitCode = 3;     // for FailAfterUpdate
    // When not empty, the installer appends "started <pid> <arguments>" when it starts and
    // "finished <exit code>" when it ends (UTF-8 lines).
    std::wstring reportPath;
};

// Writes `installerPath` (the test installer program) followed by the trailer of `package`.
bool MakeTestPackage(const std::wstring& installerPath, const std::wstring& packagePath,
                     const TestPackage& package);

// The package that a file's trailer describes; nothing when the bytes end in no valid trailer.
std::optional<TestPackage> ReadTestPackage(const std::vector<char>& fileBytes);

// The trailer's text: "key=value" lines, the keys named as the fields of TestPackage and of
// its product record ("report" for `reportPath`, "wizard" for `wizardSource`); behaviours
// "succeed", "fail", "fail-after-update", "hang"; dates "year-month-day".
std::string TestPackageText(const TestPackage& package);
// A package from such lines; keys not given keep their defaults. Nothing when a behaviour or a
// date cannot be read.
std::optional<TestPackage> ParseTestPackage(const std::string& text);

// The whole file; empty when it cannot be read.
std::vector<char> ReadFileBytes(const std::wstring& path);

} // namespace testpkg
