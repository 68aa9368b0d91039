// The maker's web host and its override from the environment.

#include "service/update_host.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <tuple>

using service::HostAddress;
using service::ParseHostAddress;
using service::UpdateHostAddress;

namespace {

TEST(HostAddressText, HostAloneUsesPort80OrTheNamedPortAndMalformedTextsAreRefused) {
    for (const auto& [text, host, port] :
         {std::tuple{"mirror.example.org", "mirror.example.org", 80},
          std::tuple{"127.0.0.1:8080", "127.0.0.1", 8080},
          std::tuple{"localhost:65535", "localhost", 65535}}) {
        const auto address = ParseHostAddress(text);
        ASSERT_TRUE(address) << text;
        EXPECT_EQ(address->host, host);
        EXPECT_EQ(address->port, port);
    }
    for (const char* text :
         {"", ":80", "host:", "host:0", "host:65536", "host:8o", "host:-1", "host:80:81", "ho st",
          "host/path", " host", "http://host", "host:123456"})
        EXPECT_FALSE(ParseHostAddress(text)) << text;
}

TEST(UpdateHostEnvironment, OverrideSetsHostAndPortAndAMalformedOneIsIgnored) {
    for (const auto& [value, host, port] :
         {std::tuple<const char*, std::string, int>{nullptr, service::kUpdateHostName, 80},
          {"127.0.0.1:18080", "127.0.0.1", 18080},
          {"updates.test", "updates.test", 80},
          {"127.0.0.1:notaport", service::kUpdateHostName, 80}}) {
        ::SetEnvironmentVariableA(service::kUpdateHostVariable, value);
        const HostAddress address = UpdateHostAddress();
        EXPECT_EQ(address.host, host) << (value ? value : "none");
        EXPECT_EQ(address.port, port);
    }
    ::SetEnvironmentVariableA(service::kUpdateHostVariable, nullptr);
}

} // namespace
