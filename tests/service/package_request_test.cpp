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

TEST(PackageUrl, ExplicitPortIsCutOffTheHost) {
    CRequestInfo request;
    ASSERT_TRUE(SplitPackageUrl("http://host:8080/dl/a.exe", request));
    EXPECT_EQ(request.host, "host");
    EXPECT_EQ(request.port, 8080);
    EXPECT_EQ(request.path, "/dl/a.exe");
    EXPECT_FALSE(request.secure);
}

TEST(PackageUrl, SchemesGiveTheirPortsAndSecurity) {
    CRequestInfo plain;
    ASSERT_TRUE(SplitPackageUrl("http://host/dl/a.exe", plain));
    EXPECT_EQ(plain.port, 80);
    EXPECT_FALSE(plain.secure);
    EXPECT_EQ(plain.service, static_cast<uint32_t>(INTERNET_SERVICE_HTTP));

    CRequestInfo secure;
    ASSERT_TRUE(SplitPackageUrl("HTTPS://host/dl/a.exe", secure));
    EXPECT_EQ(secure.port, 443);
    EXPECT_TRUE(secure.secure);
    EXPECT_EQ(secure.host, "host");

    CRequestInfo securePort;
    ASSERT_TRUE(SplitPackageUrl("https://host:8443/a", securePort));
    EXPECT_EQ(securePort.port, 8443);
    EXPECT_TRUE(securePort.secure);

    CRequestInfo ftp;
    ASSERT_TRUE(SplitPackageUrl("ftp://files.velk.com/pub/a.exe", ftp));
    EXPECT_EQ(ftp.service, static_cast<uint32_t>(INTERNET_SERVICE_FTP));
    EXPECT_EQ(ftp.port, 21);

    CRequestInfo other;
    ASSERT_TRUE(SplitPackageUrl("gopher://host/a", other));
    EXPECT_EQ(other.port, 80);
    EXPECT_FALSE(other.secure);
}

TEST(PackageUrl, PathKeepsEverythingBehindTheHost) {
    CRequestInfo request;
    ASSERT_TRUE(SplitPackageUrl("http://host/dl/get.php?x=1//y", request));
    EXPECT_EQ(request.host, "host");
    EXPECT_EQ(request.path, "/dl/get.php?x=1//y");
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

TEST(PackageUrl, ColonWithoutDigitsStaysInTheHost) {
    CRequestInfo request;
    ASSERT_TRUE(SplitPackageUrl("http://host:/a", request));
    EXPECT_EQ(request.host, "host:");
    EXPECT_EQ(request.port, 80);
}

TEST(PackageParameter, PlaceholdersBecomeTheProductsNumbers) {
    EXPECT_EQ(ExpandParameter("r", "$RESELLER$", kItem), "r=7");
    EXPECT_EQ(ExpandParameter("p", "$PRODUCT$", kItem), "p=1203");
    EXPECT_EQ(ExpandParameter("b", "$BUILD$", kItem), "b=10028");
}

TEST(PackageParameter, OtherValuesAreSentUnchanged) {
    EXPECT_EQ(ExpandParameter("q", "abc", kItem), "q=abc");
    // Only the whole value is a placeholder, and only in capitals.
    EXPECT_EQ(ExpandParameter("q", "$reseller$", kItem), "q=$reseller$");
    EXPECT_EQ(ExpandParameter("q", "x$BUILD$", kItem), "q=x$BUILD$");
    EXPECT_EQ(ExpandParameter("q", "$UNKNOWN$", kItem), "q=$UNKNOWN$");
    // Nothing is encoded.
    EXPECT_EQ(ExpandParameter("a b", "c&d=e", kItem), "a b=c&d=e");
    EXPECT_EQ(ExpandParameter("e", "", kItem), "e=");
}

TEST(PackageRequest, ParametersAreJoinedInOrder) {
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
}

TEST(PackageRequest, NoParametersGiveAnEmptyBody) {
    CRequestInfo request;
    ASSERT_TRUE(BuildPackageRequest("POST", "http://host/dl/a.exe", {}, kItem, request));
    EXPECT_EQ(request.body, "");
    EXPECT_EQ(request.verb, "POST");
}

TEST(PackageRequest, MethodIsTakenAsGiven) {
    CRequestInfo request;
    ASSERT_TRUE(BuildPackageRequest("post", "http://host/a", {{L"x", L"$BUILD$"}}, kItem, request));
    EXPECT_EQ(request.verb, "post");
    EXPECT_EQ(request.body, "x=10028");
}

TEST(PackageRequest, RefusedUrlFails) {
    CRequestInfo request;
    EXPECT_FALSE(BuildPackageRequest("GET", "http://host", {{L"p", L"1"}}, kItem, request));
}

} // namespace
