#include "tests/support/update_site.h"

#include "catalogue/installed_product_list.h"
#include "platform/sha256.h"
#include "platform/text.h"
#include "tests/support/ui_automation.h"
#include "tools/demo_site/version_file_writer.h"
#include "tools/publish/signing_keys.h"

#include <filesystem>
#include <fstream>

namespace testsupport {
namespace {

demo::OfferedBuild OfferOf(const demo::ProductRecord& offered, const std::string& url) {
    demo::OfferedBuild offer;
    offer.family = offered.family;
    offer.installCode = offered.installCode;
    offer.keyProductId = offered.keyProductId;
    offer.name = offered.family;
    offer.version = offered.installedVersion;
    offer.build = offered.installedBuild;
    offer.packageUrl = url;
    return offer;
}

} // namespace

UpdateSite::UpdateSite(const NginxServer& server) : server_(server) {
    std::error_code ignored;
    const std::filesystem::path root(server_.siteRoot);
    std::filesystem::remove_all(root, ignored);
    std::filesystem::create_directories(root / L"downloads", ignored);
    std::filesystem::create_directories(root / L"dl", ignored);
}

bool UpdateSite::Install(demo::ProductRecord& product, const std::wstring& folder,
                         const std::wstring& programFile) {
    product.installPath = platform::AnsiFromWide(folder);
    return demo::MakeInstallFolder(folder, programFile, {2026, 3, 14}) &&
           demo::RegisterProduct(product);
}

bool UpdateSite::Offer(const testpkg::TestPackage& package, const std::string& name,
                       PackageHash hash) {
    if (!testpkg::MakeTestPackage(uitest::ProgramFolder() + L"test_installer.exe",
                                  PackagePath(name), package))
        return false;
    demo::OfferedBuild offer = OfferOf(package.product, PackageUrl(name));
    if (hash == PackageHash::Malformed)
        offer.sha256 = "not-a-sha256";
    if (hash == PackageHash::Published) {
        const std::optional<platform::Sha256Digest> digest =
            platform::Sha256OfFile(PackagePath(name));
        if (!digest)
            return false;
        offer.sha256 = platform::Sha256Text(*digest);
    }
    sections_ += demo::BuildSection(offer);
    return true;
}

bool UpdateSite::AlterPackage(const std::string& name) const {
    std::vector<char> bytes = testpkg::ReadFileBytes(PackagePath(name));
    // "This program cannot be run in DOS mode." stands at 0x4E.
    constexpr size_t kStubText = 0x50;
    if (bytes.size() <= kStubText || bytes[kStubText] != 'i')
        return false;
    bytes[kStubText] = 'I';
    std::ofstream file(std::filesystem::path(PackagePath(name)), std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file.flush());
}

void UpdateSite::OfferMissingPackage(const demo::ProductRecord& offered, const std::string& name) {
    sections_ += demo::BuildSection(OfferOf(offered, PackageUrl(name)));
}

bool UpdateSite::Publish() const {
    std::ofstream file(std::filesystem::path(VersionFilePath()), std::ios::binary);
    file << demo::GlobalSection(PackageUrl("")) << sections_;
    return static_cast<bool>(file.flush());
}

bool UpdateSite::Sign(const std::wstring& privateKey) const {
    std::wstring error;
    return publish::SignFile(VersionFilePath(), privateKey, error);
}

std::wstring UpdateSite::PackagePath(const std::string& name) const {
    return server_.siteRoot + L"\\dl\\" + platform::WideFromAnsi(name);
}

std::wstring UpdateSite::VersionFilePath() const {
    return server_.siteRoot + L"\\downloads\\update.ini";
}

std::wstring UpdateSite::HostVariable() const {
    return platform::FormatWide(L"ZAPDATE_UPDATE_HOST=127.0.0.1:%u",
                                static_cast<unsigned>(server_.sitePort));
}

std::string UpdateSite::PackageUrl(const std::string& name) const {
    return platform::FormatAnsi("http://127.0.0.1:%u/dl/%s",
                                static_cast<unsigned>(server_.sitePort), name.c_str());
}

uint32_t InstalledBuild(const demo::ProductRecord& product) {
    InstalledProductList list(false);
    list.ScanInstalledProducts();
    for (const InstalledProduct& found : list.Products()) {
        if (found.keyProductId == product.keyProductId && found.installCode == product.installCode)
            return found.build;
    }
    return 0;
}

} // namespace testsupport
