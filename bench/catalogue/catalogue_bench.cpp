// The installed-products scan and the version file parser against the plainest way of reading
// the same data.

#include "bench/support/bench_report.h"
#include "catalogue/installed_product_list.h"
#include "catalogue/memory_registry_reader.h"
#include "catalogue/system_registry_reader.h"
#include "catalogue/version_file.h"
#include "platform/text.h"
#include "tools/demo_products/product_registration.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kProducts = 500;
constexpr int kSections = 2000;
constexpr char kValueNames[][16] = {"InstallPath", "LanguageCode", "InstalledVer",
                                    "InstalledBuild"};

std::wstring BenchFolder() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"zapdate-catalogue-bench";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::vector<demo::ProductRecord> Records(const std::wstring& folder) {
    std::vector<demo::ProductRecord> records;
    for (uint32_t i = 0; i < kProducts; ++i) {
        demo::ProductRecord record;
        record.installCode = i % 256;
        record.keyProductId = (i / 256) == 0 ? 6 : 2304 + i % 64;
        record.installPath = platform::AnsiFromWide(folder);
        record.installedBuild = std::to_string(i);
        records.push_back(record);
    }
    return records;
}

// Reading each product's four values by key path, with no rules applied.
void ReadPlainly(CRegistryReader& reader, const std::vector<demo::ProductRecord>& records) {
    for (const demo::ProductRecord& record : records) {
        CReaderKey key(reader, demo::ProductKeyName(record));
        for (const char* name : kValueNames)
            reader.QueryValue(key.Get(), name, 1025);
    }
}

void ScanBenchmark(CRegistryReader& reader, const std::vector<demo::ProductRecord>& records,
                   const char* figure) {
    const double scan = bench::MedianSeconds(5, [&] {
        InstalledProductList list(true);
        list.ScanInstalledProducts(reader);
    });
    const double plain = bench::MedianSeconds(5, [&] { ReadPlainly(reader, records); });
    bench::PrintRatio(figure, scan, "plain reads of the same values", plain);
}

void ScanBenchmarks() {
    const std::wstring folder = BenchFolder();
    demo::MakeInstallFolder(folder, L"kovra.exe", {2026, 3, 14});
    const std::vector<demo::ProductRecord> records = Records(folder);

    CMemoryRegistryReader twin;
    for (const demo::ProductRecord& record : records) {
        const std::string key = demo::ProductKeyName(record);
        twin.SetString(key, "InstallPath", record.installPath);
        twin.SetString(key, "LanguageCode", record.languageCode);
        twin.SetString(key, "InstalledVer", record.installedVersion);
        twin.SetString(key, "InstalledBuild", record.installedBuild);
    }
    ScanBenchmark(twin, records, "scan of 500 products, in-memory registry");

    demo::RemoveAllProducts();
    for (const demo::ProductRecord& record : records)
        demo::RegisterProduct(record);
    ScanBenchmark(TheSystemRegistryReader(), records, "scan of 500 products, system registry");
    demo::RemoveAllProducts();
}

std::wstring WriteVersionFile() {
    std::string text = "[global]\r\nversion=3\r\nurl=http://127.0.0.1/\r\n";
    for (int i = 0; i < kSections; ++i)
        text += "[Kovra:1:" + std::to_string(i) +
                "]\r\nname=Kovra\r\nversion=5.3\r\nbuild=1250\r\ndate=20260401\r\n"
                "method=GET\r\nurl=http://127.0.0.1/dl/kovra.exe\r\nres_id=1\r\nlang_id=en\r\n";
    const std::wstring path = BenchFolder() + L"\\update.ini";
    std::ofstream(std::filesystem::path(path), std::ios::binary) << text;
    return path;
}

void VersionFileBenchmark() {
    const std::wstring path = WriteVersionFile();
    const double parse = bench::MedianSeconds(5, [&] {
        VersionFile file;
        file.LoadVersionFile(path);
    });
    const double plainRead = bench::MedianSeconds(5, [&] {
        std::ifstream in(std::filesystem::path(path), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    });
    // The least the system's profile functions need for the same file: every name in one call,
    // then each section once.
    const double systemFloor = bench::MedianSeconds(5, [&] {
        std::vector<wchar_t> names(1 << 20);
        ::GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()),
                                         path.c_str());
        std::vector<wchar_t> section(1024);
        for (const wchar_t* name = names.data(); *name; name += wcslen(name) + 1)
            ::GetPrivateProfileSectionW(name, section.data(), 1024, path.c_str());
    });
    bench::PrintRatio("version file of 2000 sections", parse, "a plain byte read", plainRead);
    bench::PrintRatio("version file of 2000 sections", parse, "the profile functions' least",
                      systemFloor);
}

} // namespace

int wmain() {
    ScanBenchmarks();
    VersionFileBenchmark();
    return 0;
}
