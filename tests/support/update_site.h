#pragma once
// An update site that a test writes for the nginx fixture's site port: the version file and
// the installer packages (the test installer with what it is to do appended), plus the
// products the site updates, registered as installed in the test prefix's registry.

#include "tests/support/nginx_server.h"
#include "tools/demo_products/product_registration.h"
#include "tools/test_installer/test_package.h"

#include <string>

namespace testsupport {

// What the version file says of a package's SHA-256.
enum class PackageHash { None, Published, Malformed };

class UpdateSite {
public:
    // Starts with an empty site root.
    explicit UpdateSite(const NginxServer& server);

    // Makes `product` installed in `folder` with its program file `programFile`, dated in
    // March 2026; fills its install path.
    static bool Install(demo::ProductRecord& product, const std::wstring& folder,
                        const std::wstring& programFile);

    // Offers the version and build that `package` installs, with the package at "/dl/<name>".
    bool Offer(const testpkg::TestPackage& package, const std::string& name,
               PackageHash hash = PackageHash::None);
    // Changes one byte of the package's program text (its DOS stub): it still runs, but its
    // bytes are no longer those published.
    bool AlterPackage(const std::string& name) const;
    // Offers the build of `offered` with a package that the server does not have.
    void OfferMissingPackage(const demo::ProductRecord& offered, const std::string& name);
    // Writes "/downloads/update.ini" with every offer so far.
    bool Publish() const;
    // Writes "/downloads/update.ini.sig", the signature of the version file by `privateKey`.
    bool Sign(const std::wstring& privateKey) const;

    // Where "/downloads/update.ini" is written.
    std::wstring VersionFilePath() const;

    // "ZAPDATE_UPDATE_HOST=127.0.0.1:<site port>", for the program's environment.
    std::wstring HostVariable() const;

private:
    std::string PackageUrl(const std::string& name) const;
    std::wstring PackagePath(const std::string& name) const;

    NginxServer server_;
    std::string sections_;
};

// The build that a fresh read of the registry gives for the product; 0 when it is not found.
uint32_t InstalledBuild(const demo::ProductRecord& product);

} // namespace testsupport
