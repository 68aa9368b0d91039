#include "service/package_request.h"

#include "platform/text.h"

#include <windows.h>

namespace service {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        const char a = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] + 32) : text[i];
        if (a != prefix[i])
            return false;
    }
    return true;
}

// The scheme's port, service and security; any other beginning is plain HTTP on port 80.
void ApplyScheme(std::string_view url, CRequestInfo& request) {
    if (StartsWithNoCase(url, "https")) {
        request.port = INTERNET_DEFAULT_HTTPS_PORT;
        request.secure = true;
    } else if (StartsWithNoCase(url, "http")) {
        request.port = INTERNET_DEFAULT_HTTP_PORT;
    } else if (StartsWithNoCase(url, "ftp")) {
        request.service = INTERNET_SERVICE_FTP;
        request.port = INTERNET_DEFAULT_FTP_PORT;
    } else {
        request.port = INTERNET_DEFAULT_HTTP_PORT;
    }
}

// Cuts a trailing ":digits" off `host` into `request.port`; false for a port that cannot be one.
bool TakeExplicitPort(std::string_view& host, CRequestInfo& request) {
    size_t digitsStart = host.size();
    while (digitsStart > 0 && host[digitsStart - 1] >= '0' && host[digitsStart - 1] <= '9')
        --digitsStart;
    if (digitsStart == host.size() || digitsStart == 0 || host[digitsStart - 1] != ':')
        return true;
    const std::string_view digits = host.substr(digitsStart);
    // Longer texts would overflow the 16-bit port silently, or not even be numbers to WinInet.
    if (digits.size() > 5)
        return false;
    const unsigned long port = platform::ReadDecimal(digits);
    if (port < 1 || port > 65535)
        return false;
    request.port = static_cast<uint16_t>(port);
    host = host.substr(0, digitsStart - 1);
    return true;
}

} // namespace

std::string ExpandParameter(std::string_view name, std::string_view value,
                            const PackageParameterValues& values) {
    const std::string key(name);
    if (value == "$RESELLER$")
        return platform::FormatAnsi("%s=%u", key.c_str(), values.resellerId);
    if (value == "$PRODUCT$")
        return platform::FormatAnsi("%s=%u", key.c_str(), values.keyProductId);
    if (value == "$BUILD$")
        return platform::FormatAnsi("%s=%u", key.c_str(), values.build);
    return key + "=" + std::string(value);
}

bool SplitPackageUrl(std::string_view url, CRequestInfo& request) {
    const size_t slashes = url.find("//");
    if (slashes == std::string_view::npos)
        return false;
    const size_t hostStart = slashes + 2;
    if (hostStart >= url.size())
        return false;
    const size_t pathStart = url.find('/', hostStart);
    if (pathStart == std::string_view::npos)
        return false;
    std::string_view host = url.substr(hostStart, pathStart - hostStart);
    ApplyScheme(url, request);
    if (!TakeExplicitPort(host, request) || host.empty())
        return false;
    request.host = std::string(host);
    request.path = std::string(url.substr(pathStart));
    return true;
}

bool BuildPackageRequest(std::string_view method, std::string_view url,
                         const PackageParameters& parameters, const PackageParameterValues& values,
                         CRequestInfo& request) {
    request = CRequestInfo();
    request.verb = std::string(method);
    request.connectFlags = 0;
    request.secure = false;
    if (!SplitPackageUrl(url, request))
        return false;
    std::string body;
    for (size_t i = 0; i < parameters.size(); ++i) {
        if (i != 0)
            body += '&';
        body += ExpandParameter(platform::AnsiFromWide(parameters[i].first),
                                platform::AnsiFromWide(parameters[i].second), values);
    }
    request.body = std::move(body);
    request.expectBinary = 1;
    return true;
}

} // namespace service
