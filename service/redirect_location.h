#pragma once
// Where a "301 Moved Permanently" reply sends the next request.

#include <cstdint>
#include <string>
#include <string_view>

namespace service {

struct RequestTarget {
    std::string host;
    uint16_t port = 80;
    std::string path; // may carry a query
};

// Resolves `location` against the target that was requested, as a browser does:
// - an absolute value ("scheme://host[:port]/path") or a network-path one ("//host/path") gives
//   its host and path; the port stays unless the value names one, because the secure flag of the
//   request stays too (the scheme is not looked at);
// - "/path" keeps host and port; "?query" keeps the path; any other value is taken relative to
//   the folder of the requested path.
// Fragments are dropped, "." and ".." segments removed, and an empty path becomes "/".
RequestTarget ResolveLocation(const RequestTarget& requested, std::string_view location);

// RFC 3986 dot-segment removal on a path (the query, if any, is left alone).
std::string RemoveDotSegments(std::string_view path);

} // namespace service
