#include "service/redirect_location.h"

#include <vector>

namespace service {
namespace {

bool IsSchemeChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '-' || c == '.';
}

// Length of "scheme:" when `value` starts with a scheme followed by "://", else 0.
size_t SchemePrefixLength(std::string_view value) {
    size_t i = 0;
    while (i < value.size() && IsSchemeChar(value[i]))
        ++i;
    if (i == 0 || value.substr(i, 3) != "://")
        return 0;
    return i + 1;
}

std::string_view WithoutFragment(std::string_view value) {
    return value.substr(0, value.find('#'));
}

// Splits "host[:port]" into the target; the port stays when none is named or it is unusable.
void TakeAuthority(std::string_view authority, RequestTarget& target) {
    const size_t at = authority.rfind('@');
    if (at != std::string_view::npos)
        authority.remove_prefix(at + 1);
    const size_t bracket = authority.rfind(']');
    const size_t colon = authority.rfind(':');
    if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
        const std::string_view digits = authority.substr(colon + 1);
        unsigned long port = 0;
        bool valid = !digits.empty() && digits.size() <= 5;
        for (char c : digits) {
            valid = valid && c >= '0' && c <= '9';
            port = port * 10 + static_cast<unsigned long>(c - '0');
        }
        if (valid && port >= 1 && port <= 65535)
            target.port = static_cast<uint16_t>(port);
        authority = authority.substr(0, colon);
    }
    target.host = std::string(authority);
}

// "path?query" with the dot segments of the path removed and "/" for an empty path.
std::string NormalisedPath(std::string_view pathAndQuery) {
    const size_t query = pathAndQuery.find('?');
    std::string path = RemoveDotSegments(pathAndQuery.substr(0, query));
    if (path.empty() || path.front() != '/')
        path.insert(path.begin(), '/');
    if (query != std::string_view::npos)
        path += pathAndQuery.substr(query);
    return path;
}

} // namespace

std::string RemoveDotSegments(std::string_view path) {
    std::vector<std::string_view> segments;
    const bool absolute = !path.empty() && path.front() == '/';
    bool trailingSlash = false;
    size_t start = absolute ? 1 : 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        const std::string_view segment = path.substr(start, end - start);
        const bool last = end == path.size();
        if (segment == ".") {
            trailingSlash = last;
        } else if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
            trailingSlash = last;
        } else {
            segments.push_back(segment);
            trailingSlash = false;
        }
        start = end + 1;
    }
    std::string result = absolute ? "/" : "";
    for (size_t i = 0; i < segments.size(); ++i) {
        if (i)
            result += '/';
        result += segments[i];
    }
    if (trailingSlash && !segments.empty())
        result += '/';
    return result;
}

RequestTarget ResolveLocation(const RequestTarget& requested, std::string_view location) {
    RequestTarget target = requested;
    location = WithoutFragment(location);
    const std::string_view requestedPath =
        std::string_view(requested.path).substr(0, requested.path.find('?'));

    size_t authorityStart = std::string_view::npos;
    if (const size_t scheme = SchemePrefixLength(location))
        authorityStart = scheme + 2;
    else if (location.substr(0, 2) == "//")
        authorityStart = 2;

    if (authorityStart != std::string_view::npos) {
        const std::string_view rest = location.substr(authorityStart);
        const size_t end = rest.find_first_of("/?");
        TakeAuthority(rest.substr(0, end), target);
        target.path = NormalisedPath(end == std::string_view::npos ? "" : rest.substr(end));
    } else if (location.empty()) {
        target.path = requested.path;
    } else if (location.front() == '/') {
        target.path = NormalisedPath(location);
    } else if (location.front() == '?') {
        target.path = std::string(requestedPath) + std::string(location);
    } else {
        const size_t slash = requestedPath.rfind('/');
        const std::string_view folder =
            slash == std::string_view::npos ? "/" : requestedPath.substr(0, slash + 1);
        target.path = NormalisedPath(std::string(folder) + std::string(location));
    }
    return target;
}

} // namespace service
