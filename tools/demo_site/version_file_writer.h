#pragma once
// The text of a version file as the update service writes it: the global section and one
// section per offered build. Shared by the demo site and the tests that serve their own sites.

#include "tools/demo_products/product_registration.h"

#include <string>

namespace demo {

struct OfferedBuild {
    std::string family = "Kovra";
    uint32_t installCode = 0x0001;
    uint32_t keyProductId = 6;
    std::string name = "Kovra";
    std::string version = "5.3";
    std::string build = "1250";
    ProductDate date = {2026, 11, 30};
    std::string packageUrl; // fetched with GET
    std::string language = "en";
    std::string sha256; // written only when not empty
};

// "[global]" with its version and the service's base address.
std::string GlobalSection(const std::string& serviceUrl);

// "[<family>:<install code>:<key product id>]" with the build's keys.
std::string BuildSection(const OfferedBuild& offer);

} // namespace demo
