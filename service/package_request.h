#pragma once
// The request for one installer package, built from the version file's record of the offered
// build: its url, its method and its parameters, with the installed product's values put in for
// the placeholders "$RESELLER$", "$PRODUCT$" and "$BUILD$".

#include "service/request_info.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace service {

// The installed product's values that the placeholders stand for.
struct PackageParameterValues {
    uint32_t resellerId = 0;
    uint32_t keyProductId = 0;
    uint32_t build = 0;
};

// The record's parameters (name, value) in file order.
using PackageParameters = std::vector<std::pair<std::wstring, std::wstring>>;

// "name=value"; a value that is exactly one of the placeholders becomes the product's number.
// Nothing is URL-encoded.
std::string ExpandParameter(std::string_view name, std::string_view value,
                            const PackageParameterValues& values);

// Host, port, path, service and secure flag from `url`
// ("scheme://host[:port]/path"); false when there is no "//", no host or no "/" behind the
// host, or the port is not one of 1 to 65535.
bool SplitPackageUrl(std::string_view url, CRequestInfo& request);

// Resets `request` and fills it for the record (method, url, parameters). False when the url
// cannot be split.
bool BuildPackageRequest(std::string_view method, std::string_view url,
                         const PackageParameters& parameters, const PackageParameterValues& values,
                         CRequestInfo& request);

} // namespace service
