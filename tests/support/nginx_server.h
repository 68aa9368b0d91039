#pragma once
// The private nginx that the CTest fixture "nginx" starts on loopback, as the tests see it.

#include <cstdint>
#include <optional>
#include <string>

namespace testsupport {

struct NginxServer {
    uint16_t port = 0;       // plain http over the fixture's own document root
    uint16_t securePort = 0; // https with a self-signed certificate, same root
    std::wstring root;       // Wine paths from here on
    uint16_t sitePort = 0;   // an empty root that a test fills with its own update site
    std::wstring siteRoot;
    std::wstring siteLog; // the site port's access log, one line per request
};

// The running fixture's description (the file that ZAPDATE_NGINX_INFO names); nothing when the
// tests run without the fixture.
std::optional<NginxServer> FindNginx();

// How many requests the site port has answered so far.
size_t SiteRequestCount(const NginxServer& server);

} // namespace testsupport
