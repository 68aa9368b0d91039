#pragma once
// Tests that update products of the test prefix's registry from an update site that they
// write for the nginx fixture: the products they use, and the set-up they share.

#include "catalogue/installed_product.h"
#include "tests/support/update_site.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace testsupport {

struct TestProduct {
    demo::ProductRecord record; // installed at version 5.2 build 1200
    std::wstring programFile;
    std::wstring name; // as the wizard shows it
};

extern const TestProduct kKovra;
extern const TestProduct kTessel;
extern const TestProduct kBrisk;
extern const TestProduct kLumen;
extern const TestProduct kMailGuard;

// A loopback port on which nothing listens.
uint16_t ClosedPort();

class UpdateTest : public ::testing::Test {
protected:
    // Skips the test without the nginx fixture; starts with no product installed.
    void SetUp() override;
    // Ends what the test left running and removes the products.
    void TearDown() override;

    // Registers the product as installed in a folder of its own; returns its record.
    demo::ProductRecord Install(const TestProduct& product);
    // Installs the product; the package that brings it to version 5.3 build 1250.
    testpkg::TestPackage InstallWithPackage(const TestProduct& product,
                                            testpkg::Behaviour behaviour);
    // The same, offered on the site.
    void InstallAndOffer(const TestProduct& product, testpkg::Behaviour behaviour,
                         PackageHash hash = PackageHash::None);
    void Offer(const TestProduct& product, const testpkg::TestPackage& package,
               PackageHash hash = PackageHash::None);
    // Changes the offered package's bytes after its hash was published (see UpdateSite).
    void AlterPackage(const TestProduct& product);

    std::wstring FolderOf(const TestProduct& product) const;
    // What the product's installer wrote about its runs; empty when it never started.
    std::string Report(const TestProduct& product) const;

    // The installed products in the order in which the program reads, and installs, them.
    static std::vector<InstalledProduct> ScannedProducts();

    NginxServer nginx_;
    std::optional<UpdateSite> site_;
    std::wstring folder_;

private:
    std::wstring ReportPath(const TestProduct& product) const;
    void EndLeftovers() const;
};

} // namespace testsupport
