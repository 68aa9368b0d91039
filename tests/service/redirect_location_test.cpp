// Where a 301 reply leads: absolute, network-path and relative locations.

#include "service/redirect_location.h"

#include <gtest/gtest.h>

using service::RemoveDotSegments;
using service::RequestTarget;
using service::ResolveLocation;

namespace {

const RequestTarget kRequested{"www.velk.com", 8080, "/dl/files/a.exe"};

void ExpectTarget(const RequestTarget& target, const std::string& host, uint16_t port,
                  const std::string& path) {
    EXPECT_EQ(target.host, host);
    EXPECT_EQ(target.port, port);
    EXPECT_EQ(target.path, path);
}

TEST(RedirectLocation, AbsoluteLocationKeepsThePortUnlessItNamesOne) {
    ExpectTarget(ResolveLocation(kRequested, "http://mirror.velk.com/pub/a.exe"), "mirror.velk.com",
                 8080, "/pub/a.exe");
    ExpectTarget(ResolveLocation(kRequested, "https://mirror.velk.com/pub/a.exe"),
                 "mirror.velk.com", 8080, "/pub/a.exe");
    ExpectTarget(ResolveLocation(kRequested, "http://mirror.velk.com:81/pub/a.exe"),
                 "mirror.velk.com", 81, "/pub/a.exe");
    ExpectTarget(ResolveLocation(kRequested, "HTTP://user@mirror:82/x"), "mirror", 82, "/x");
}

TEST(RedirectLocation, AbsoluteLocationWithoutPathRequestsTheRootAndNetworkPathsTakeTheirHost) {
    ExpectTarget(ResolveLocation(kRequested, "http://mirror.velk.com"), "mirror.velk.com", 8080,
                 "/");
    ExpectTarget(ResolveLocation(kRequested, "http://mirror.velk.com?a=1"), "mirror.velk.com", 8080,
                 "/?a=1");
    ExpectTarget(ResolveLocation(kRequested, "//cdn.velk.com/a.exe"), "cdn.velk.com", 8080,
                 "/a.exe");
}

TEST(RedirectLocation, RootRelativeLocationKeepsHostAndPort) {
    ExpectTarget(ResolveLocation(kRequested, "/other/b.exe"), "www.velk.com", 8080, "/other/b.exe");
    ExpectTarget(ResolveLocation(kRequested, "/a/./b/../c.exe?x=1#frag"), "www.velk.com", 8080,
                 "/a/c.exe?x=1");
}

TEST(RedirectLocation, RelativeLocationIsTakenFromTheRequestedFolder) {
    ExpectTarget(ResolveLocation(kRequested, "b.exe"), "www.velk.com", 8080, "/dl/files/b.exe");
    ExpectTarget(ResolveLocation(kRequested, "../b.exe"), "www.velk.com", 8080, "/dl/b.exe");
    ExpectTarget(ResolveLocation(kRequested, "../../../../b.exe"), "www.velk.com", 8080, "/b.exe");
    ExpectTarget(ResolveLocation({"h", 80, "/dl/get.php?x=1/2"}, "c.exe"), "h", 80, "/dl/c.exe");
    ExpectTarget(ResolveLocation({"h", 80, "/dl/get.php?x=1"}, "?y=2"), "h", 80, "/dl/get.php?y=2");
}

TEST(RedirectLocation, DotSegments) {
    EXPECT_EQ(RemoveDotSegments("/a/b/../c"), "/a/c");
    EXPECT_EQ(RemoveDotSegments("/a/b/.."), "/a/");
    EXPECT_EQ(RemoveDotSegments("/a/./b/"), "/a/b/");
    EXPECT_EQ(RemoveDotSegments("/.."), "/");
    EXPECT_EQ(RemoveDotSegments("/a//b"), "/a//b");
    EXPECT_EQ(RemoveDotSegments("/"), "/");
}

} // namespace
