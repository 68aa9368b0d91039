// Winsock before windows.h.
#include <winsock2.h>

#include "tests/support/update_test.h"

#include "catalogue/installed_product_list.h"
#include "platform/text.h"
#include "platform/unique_resource.h"
#include "tests/support/ui_automation.h"

namespace testsupport {
namespace {

TestProduct MakeProduct(const char* family, uint32_t keyProductId, const wchar_t* programFile,
                        const wchar_t* name) {
    TestProduct product;
    product.record.family = family;
    product.record.keyProductId = keyProductId;
    product.programFile = programFile;
    product.name = name;
    return product;
}

std::wstring KeyOf(const TestProduct& product) {
    return platform::FormatWide(L"%hs-%u", product.record.family.c_str(),
                                product.record.keyProductId);
}

const TestProduct* const kEveryProduct[] = {&kKovra, &kTessel, &kBrisk, &kLumen, &kMailGuard};

std::string PackageName(const TestProduct& product) {
    return platform::AnsiFromWide(KeyOf(product)) + "_setup.exe";
}

} // namespace

const TestProduct kKovra = MakeProduct("Kovra", 6, L"kovra.exe", L"Kovra");
const TestProduct kTessel = MakeProduct("Tessel", 22, L"ktessel.exe", L"Tessel");
const TestProduct kBrisk = MakeProduct("Brisk", 32, L"kbrisk.exe", L"Brisk Backup");
const TestProduct kLumen = MakeProduct("Lumen", 1, L"klumen.exe", L"Lumen");
const TestProduct kMailGuard = MakeProduct("Kovra", 9, L"kovra.exe", L"Kovra Mail Guard");

uint16_t ClosedPort() {
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
    const SOCKET probe = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    ::closesocket(probe);
    return ntohs(address.sin_port);
}

void UpdateTest::SetUp() {
    const std::optional<NginxServer> nginx = FindNginx();
    if (!nginx)
        GTEST_SKIP() << "no nginx fixture (run through CTest)";
    nginx_ = *nginx;
    folder_ = uitest::MakeTempFolder(L"zapdate-update-test");
    EndLeftovers();
    for (const TestProduct* product : kEveryProduct)
        ::DeleteFileW(ReportPath(*product).c_str());
    demo::RemoveAllProducts();
    site_.emplace(nginx_);
}

void UpdateTest::TearDown() {
    EndLeftovers();
    demo::RemoveAllProducts();
}

void UpdateTest::EndLeftovers() const {
    uitest::EndProcessesNamed(L"Zapdate.exe");
    // A hanging installer outlives the wizard; its report names its process.
    for (const TestProduct* product : kEveryProduct) {
        const std::string report = Report(*product);
        const size_t started = report.find("started ");
        if (started == std::string::npos)
            continue;
        const platform::UniqueHandle installer(
            ::OpenProcess(PROCESS_TERMINATE, FALSE,
                          static_cast<DWORD>(platform::ReadDecimal(report.substr(started + 8)))));
        if (installer)
            ::TerminateProcess(installer.Get(), 99);
    }
}

std::wstring UpdateTest::FolderOf(const TestProduct& product) const {
    return folder_ + L"\\" + KeyOf(product);
}

std::wstring UpdateTest::ReportPath(const TestProduct& product) const {
    return folder_ + L"\\" + KeyOf(product) + L"-report.txt";
}

demo::ProductRecord UpdateTest::Install(const TestProduct& product) {
    demo::ProductRecord record = product.record;
    EXPECT_TRUE(UpdateSite::Install(record, FolderOf(product), product.programFile));
    return record;
}

testpkg::TestPackage UpdateTest::InstallWithPackage(const TestProduct& product,
                                                    testpkg::Behaviour behaviour) {
    testpkg::TestPackage package;
    package.product = Install(product);
    package.product.installedVersion = "5.3";
    package.product.installedBuild = "1250";
    package.programFile = product.programFile;
    package.behaviour = behaviour;
    package.reportPath = ReportPath(product);
    return package;
}

void UpdateTest::Offer(const TestProduct& product, const testpkg::TestPackage& package,
                       PackageHash hash) {
    EXPECT_TRUE(site_->Offer(package, PackageName(product), hash));
}

void UpdateTest::InstallAndOffer(const TestProduct& product, testpkg::Behaviour behaviour,
                                 PackageHash hash) {
    Offer(product, InstallWithPackage(product, behaviour), hash);
}

void UpdateTest::AlterPackage(const TestProduct& product) {
    EXPECT_TRUE(site_->AlterPackage(PackageName(product)));
}

std::string UpdateTest::Report(const TestProduct& product) const {
    const std::vector<char> bytes = testpkg::ReadFileBytes(ReportPath(product));
    return {bytes.begin(), bytes.end()};
}

std::vector<InstalledProduct> UpdateTest::ScannedProducts() {
    InstalledProductList list(false);
    list.ScanInstalledProducts();
    return list.Products();
}

} // namespace testsupport
