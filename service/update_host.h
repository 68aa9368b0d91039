#pragma once
// The maker's web host, which serves the version file (maker_addresses.h). The environment
// variable ZAPDATE_UPDATE_HOST ("host" or "host:port") points the program at another server (a
// test server, a mirror).

#include "service/maker_addresses.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace service {

inline constexpr char kUpdateHostVariable[] = "ZAPDATE_UPDATE_HOST";

struct HostAddress {
    std::string host;
    uint16_t port = kUpdateHostPort;
};

// "host" (port 80) or "host:port" with a port of 1 to 65535; nothing for anything else (an empty
// host, an empty or non-decimal port, blanks).
std::optional<HostAddress> ParseHostAddress(std::string_view text);

// The override from the environment when it is set and well formed, else the maker's host.
HostAddress UpdateHostAddress();

} // namespace service
