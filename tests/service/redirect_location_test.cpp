// Where a 301 reply leads: absolute, network-path and relative locations.

#include "service/redirect_location.h"

#include <gtest/gtest.h>

using service::RemoveDotSegments;
using service::RequestTarget;
using service::ResolveLocation;

namespace {

TEST(RedirectLocation, LocationsResolveAgainstTheRequest) {
    const RequestTarget requested{"www.velk.com", 8080, "/dl/files/a.exe"};
    const RequestTarget query{"h", 80, "/dl/get.php?x=1/2"};
    const struct {
        const RequestTarget& from;
        const char* location;
        RequestTarget to;
    } cases[] = {
        // Absolute: the port stays unless the value names one; the scheme is not looked at.
        {requested, "http://mirror.velk.com/pub/a.exe", {"mirror.velk.com", 8080, "/pub/a.exe"}},
        {requested, "https://mirror.velk.com/pub/a.exe", {"mirror.velk.com", 8080, "/pub/a.exe"}},
        {requested, "http://mirror.velk.com:81/pub/a.exe", {"mirror.velk.com", 81, "/pub/a.exe"}},
        {requested, "HTTP://user@mirror:82/x", {"mirror", 82, "/x"}},
        {requested, "http://mirror.velk.com", {"mirror.velk.com", 8080, "/"}},
        {requested, "http://mirror.velk.com?a=1", {"mirror.velk.com", 8080, "/?a=1"}},
        {requested, "//cdn.velk.com/a.exe", {"cdn.velk.com", 8080, "/a.exe"}},
        // Root-relative and relative: host and port stay.
        {requested, "/other/b.exe", {"www.velk.com", 8080, "/other/b.exe"}},
        {requested, "/a/./b/../c.exe?x=1#frag", {"www.velk.com", 8080, "/a/c.exe?x=1"}},
        {requested, "b.exe", {"www.velk.com", 8080, "/dl/files/b.exe"}},
        {requested, "../b.exe", {"www.velk.com", 8080, "/dl/b.exe"}},
        {requested, "../../../../b.exe", {"www.velk.com", 8080, "/b.exe"}},
        {query, "c.exe", {"h", 80, "/dl/c.exe"}},
        {query, "?y=2", {"h", 80, "/dl/get.php?y=2"}},
    };
    for (const auto& c : cases) {
        const RequestTarget to = ResolveLocation(c.from, c.location);
        EXPECT_EQ(to.host, c.to.host) << c.location;
        EXPECT_EQ(to.port, c.to.port) << c.location;
        EXPECT_EQ(to.path, c.to.path) << c.location;
    }
    for (const auto& [path, expected] : {std::pair{"/a/b/../c", "/a/c"},
                                         {"/a/b/..", "/a/"},
                                         {"/a/./b/", "/a/b/"},
                                         {"/..", "/"},
                                         {"/a//b", "/a//b"}})
        EXPECT_EQ(RemoveDotSegments(path), expected) << path;
}

} // namespace
