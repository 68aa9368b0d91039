// The maker's web host and its override from the environment.

#include "service/update_host.h"
#include "service/version_file_fetch.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <tuple>

using service::HostAddress;
using service::ParseHostAddress;
using service::UpdateHostAddress;

namespace {

TEST(HostAddressText, HostAloneUsesPort80OrTheNamedPort) {
    for (const auto& [text, host, port] :
         {std::tuple{"mirror.example.org", "mirror.example.org", 80},
          std::tuple{"127.0.0.1:8080", "127.0.0.1", 8080},
          std::tuple{"localhost:65535", "localhost", 65535}}) {
        const auto address = ParseHostAddress(text);
        ASSERT_TRUE(address) << text;
        EXPECT_EQ(address->host, host);
        EXPECT_EQ(address->port, port);
    }
}

TEST(HostAddressText, MalformedTextsAreRefused) {
    for (const char* text :
         {"", ":80", "host:", "host:0", "host:65536", "host:8o", "host:-1", "host:80:81", "ho st",
          "host/path", " host", "http://host", "host:123456"}) {
        EXPECT_FALSE(ParseHostAddress(text)) << text;
    }
}

class UpdateHostEnvironment : public ::testing::Test {
protected:
    void TearDown() override { ::SetEnvironmentVariableA(service::kUpdateHostVariable, nullptr); }
};

TEST_F(UpdateHostEnvironment, WithoutOverrideTheMakersHostIsUsed) {
    ::SetEnvironmentVariableA(service::kUpdateHostVariable, nullptr);
    const HostAddress address = UpdateHostAddress();
    EXPECT_EQ(address.host, service::kUpdateHostName);
    EXPECT_EQ(address.port, 80);
}

TEST_F(UpdateHostEnvironment, OverrideSetsHostAndPort) {
    ::SetEnvironmentVariableA(service::kUpdateHostVariable, "127.0.0.1:18080");
    HostAddress address = UpdateHostAddress();
    EXPECT_EQ(address.host, "127.0.0.1");
    EXPECT_EQ(address.port, 18080);
    ::SetEnvironmentVariableA(service::kUpdateHostVariable, "updates.test");
    address = UpdateHostAddress();
    EXPECT_EQ(address.host, "updates.test");
    EXPECT_EQ(address.port, 80);
}

TEST_F(UpdateHostEnvironment, MalformedOverrideIsIgnored) {
    ::SetEnvironmentVariableA(service::kUpdateHostVariable, "127.0.0.1:notaport");
    const HostAddress address = UpdateHostAddress();
    EXPECT_EQ(address.host, service::kUpdateHostName);
    EXPECT_EQ(address.port, 80);
}

TEST(VersionFileRequest, IsAPlainGetOfTheFixedPath) {
    const service::CRequestInfo request = service::VersionFileRequest({"h.example", 8081});
    EXPECT_EQ(request.verb, "GET");
    EXPECT_EQ(request.host, "h.example");
    EXPECT_EQ(request.port, 8081);
    EXPECT_EQ(request.path, "/downloads/update.ini");
    EXPECT_EQ(request.body, "");
    EXPECT_EQ(request.expectBinary, 0u);
}

} // namespace
