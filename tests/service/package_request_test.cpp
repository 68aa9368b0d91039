// Package requests from the version file's records, and the placeholders of their parameters.

#include "service/package_request.h"

#include <gtest/gtest.h>

using service::BuildPackageRequest;
using service::CRequestInfo;
using service::ExpandParameter;
using service::PackageParameters;
using service::PackageParameterValues;
using service::SplitPackageUrl;

namespace {

const PackageParameterValues kItem{7, 1203, 10028};

TEST(PackageUrl, SchemesAndPortsGiveTheRequestsParts) {
    const struct {
        const char* url;
        const char* host;
        uint16_t port;
        const char* path;
        bool secure;
        uint32_t service;
    } cases[] = {
        {"http://host:8080/dl/a.exe", "host", 8080, "/dl/a.exe", false, INTERNET_SERVICE_HTTP},
        {"http://host/dl/a.exe", "host", 80, "/dl/a.exe", false, INTERNET_SERVICE_HTTP},
        {"HTTPS://host/dl/a.exe", "host", 443, "/dl/a.exe", true, INTERNET_SERVICE_HTTP},
        {"https://host:8443/a", "host", 8443, "/a", true, INTERNET_SERVICE_HTTP},
        {"ftp://files.velk.com/pub/a.exe", "files.velk.com", 21, "/pub/a.exe", false,
         INTERNET_SERVICE_FTP},
        {"gopher://host/a", "host", 80, "/a", false, INTERNET_SERVICE_HTTP},
        {"http://host/dl/get.php?x=1//y", "host", 80, "/dl/get.php?x=1//y", false,
         INTERNET_SERVICE_HTTP},
        {"http://host:/a", "host:", 80, "/a", false, INTERNET_SERVICE_HTTP}, // no digits: host
    };
    for (const auto& c : cases) {
        CRequestInfo request;
        ASSERT_TRUE(SplitPackageUrl(c.url, request)) << c.url;
        EXPECT_EQ(request.host, c.host) << c.url;
        EXPECT_EQ(request.port, c.port) << c.url;
        EXPECT_EQ(request.path, c.path) << c.url;
        EXPECT_EQ(request.secure, c.secure) << c.url;
        EXPECT_EQ(request.service, c.service) << c.url;
    }
}

TEST(PackageUrl, UrlsThatCannotBeSplitAreRefused) {
    for (const char* url :
         {"http://host", "http:/host/a", "host/a.exe", "http://", "", "//", "http:///a.exe",
          "http://:8080/a", "http://host:99999/a", "http://host:0/a",
          "http://host:0000000000000000000000000000000000000080/a"}) {
        CRequestInfo request;
        EXPECT_FALSE(SplitPackageUrl(url, request)) << url;
    }
}

TEST(PackageParameter, PlaceholdersBecomeTheProductsNumbersAndOtherValuesStay) {
    EXPECT_EQ(ExpandParameter("r", "$RESELLER$", kItem), "r=7");
    EXPECT_EQ(ExpandParameter("p", "$PRODUCT$", kItem), "p=1203");
    EXPECT_EQ(ExpandParameter("b", "$BUILD$", kItem), "b=10028");
    EXPECT_EQ(ExpandParameter("q", "abc", kItem), "q=abc");
    // Only the whole value is a placeholder, and only in capitals.
    EXPECT_EQ(ExpandParameter("q", "$reseller$", kItem), "q=$reseller$");
    EXPECT_EQ(ExpandParameter("q", "x$BUILD$", kItem), "q=x$BUILD$");
    EXPECT_EQ(ExpandParameter("q", "$UNKNOWN$", kItem), "q=$UNKNOWN$");
    // Nothing is encoded.
    EXPECT_EQ(ExpandParameter("a b", "c&d=e", kItem), "a b=c&d=e");
    EXPECT_EQ(ExpandParameter("e", "", kItem), "e=");
}

TEST(PackageRequest, ParametersAreJoinedInOrderTheMethodIsTakenAsGivenARefusedUrlFails) {
    CRequestInfo request;
    request.body = "left over";
    request.agent = "changed";
    const PackageParameters parameters = {{L"p", L"$RESELLER$"}, {L"q", L"abc"}};
    ASSERT_TRUE(BuildPackageRequest("GET", "http://host/dl/a.exe", parameters, kItem, request));
    EXPECT_EQ(request.body, "p=7&q=abc");
    EXPECT_EQ(request.verb, "GET");
    EXPECT_EQ(request.expectBinary, 1u);
    EXPECT_EQ(request.agent, "Velk Update Wizard");
    EXPECT_EQ(request.connectFlags, 0u);
    // The method is taken as given; a refused url fails.
    ASSERT_TRUE(BuildPackageRequest("post", "http://host/a", {}, kItem, request));
    EXPECT_EQ(request.verb, "post");
    EXPECT_EQ(request.body, "");
    EXPECT_FALSE(BuildPackageRequest("GET", "http://host", {{L"p", L"1"}}, kItem, request));
}

} // namespace
