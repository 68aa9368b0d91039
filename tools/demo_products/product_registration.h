#pragma once
// Makes products of the family look installed, as their installers leave them: the registry
// key in the 32-bit view of HKEY_LOCAL_MACHINE and an install folder with a program file.
// Shared by the demo-products tool and the tests.

#include <windows.h>

#include <cstdint>
#include <string>

namespace demo {

struct ProductDate {
    uint16_t year;
    uint16_t month;
    uint16_t day;
};

struct ProductRecord {
    std::string family = "Kovra"; // key below SOFTWARE\Velk
    uint32_t installCode = 0x0001;
    uint32_t keyProductId = 6;            // the sub-key's last four digits
    std::string installPath;              // empty: no "InstallPath" value
    std::string languageCode = "en";      // empty: no value
    std::string installedVersion = "5.2"; // empty: no value
    std::string installedBuild = "1200";  // empty: no value
};

// "SOFTWARE\Velk\<family>\<code><id>".
std::string ProductKeyName(const ProductRecord& record);

// Writes the record's key and values; false when the registry refused.
bool RegisterProduct(const ProductRecord& record);

// Removes SOFTWARE\Velk with everything below it (32-bit view).
void RemoveAllProducts();

// Writes a real executable image of at least `minimumSize` bytes (a copy of the running
// program) whose link time stamp gives `date`.
bool WriteProgramFile(const std::wstring& path, ProductDate date, size_t minimumSize = 16384);
// The same with a copy of the executable `source` (a real wizard, say), padded to `minimumSize`.
bool CopyProgramFile(const std::wstring& source, const std::wstring& path, ProductDate date,
                     size_t minimumSize = 0);

// A folder with a program file named `programName` ("kovra.exe") dated `date`.
bool MakeInstallFolder(const std::wstring& folder, const std::wstring& programName,
                       ProductDate date);

} // namespace demo
