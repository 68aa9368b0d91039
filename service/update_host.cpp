#include "service/update_host.h"

#include <windows.h>

namespace service {
namespace {

bool IsHostChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_';
}

std::optional<uint16_t> ParsePort(std::string_view digits) {
    if (digits.empty() || digits.size() > 5)
        return std::nullopt;
    unsigned long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    if (value < 1 || value > 65535)
        return std::nullopt;
    return static_cast<uint16_t>(value);
}

} // namespace

std::optional<HostAddress> ParseHostAddress(std::string_view text) {
    HostAddress address;
    const size_t colon = text.find(':');
    const std::string_view host = text.substr(0, colon);
    if (host.empty())
        return std::nullopt;
    for (char c : host) {
        if (!IsHostChar(c))
            return std::nullopt;
    }
    address.host = std::string(host);
    if (colon != std::string_view::npos) {
        const std::optional<uint16_t> port = ParsePort(text.substr(colon + 1));
        if (!port)
            return std::nullopt;
        address.port = *port;
    }
    return address;
}

HostAddress UpdateHostAddress() {
    char value[512];
    const DWORD length = ::GetEnvironmentVariableA(kUpdateHostVariable, value, sizeof(value));
    if (length > 0 && length < sizeof(value)) {
        if (std::optional<HostAddress> address = ParseHostAddress({value, length}))
            return *address;
    }
    return HostAddress{kUpdateHostName, kUpdateHostPort};
}

} // namespace service
