#pragma once
// The description of one HTTP request: what the transport needs to connect, send and judge the
// reply. A plain value, copied into the transfer when the request starts.

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <string>

namespace service {

struct CRequestInfo {
    std::string agent = "Velk Update Wizard";
    // Only "GET" and "POST" are ever set; a GET carries `body` as its query.
    std::string verb = "GET";
    // Form-encoded name=value pairs joined by "&".
    std::string body;
    std::string host;
    // The object path, starting with "/".
    std::string path;
    // 1: a POST reply must be application/octet-stream, else the server refused the request.
    uint32_t expectBinary = 0;
    uint16_t port = INTERNET_DEFAULT_HTTP_PORT;
    uint32_t service = INTERNET_SERVICE_HTTP;
    // Extra InternetConnect flags; the transport always adds binary transfer.
    uint32_t connectFlags = 0;
    bool secure = false;
};

} // namespace service
