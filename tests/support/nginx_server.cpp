#include "tests/support/nginx_server.h"

#include "platform/text.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace testsupport {
namespace {

std::string ReadText(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::map<std::string, std::string> ReadValues(const std::string& text) {
    std::map<std::string, std::string> values;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return values;
}

uint16_t Port(const std::string& text) {
    return static_cast<uint16_t>(platform::ReadDecimal(text));
}

// The fixture writes Unix paths; Wine shows the Unix root as drive Z:.
std::wstring WinePath(const std::string& unixPath) {
    std::wstring path = L"Z:" + platform::WideFromUtf8(unixPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

} // namespace

std::optional<NginxServer> FindNginx() {
    char info[1024];
    const DWORD length = ::GetEnvironmentVariableA("ZAPDATE_NGINX_INFO", info, sizeof(info));
    if (length == 0 || length >= sizeof(info))
        return std::nullopt;
    std::map<std::string, std::string> values =
        ReadValues(ReadText(platform::WideFromUtf8({info, length})));
    NginxServer server;
    server.port = Port(values["port"]);
    server.securePort = Port(values["secure_port"]);
    server.root = WinePath(values["root"]);
    server.sitePort = Port(values["site_port"]);
    server.siteRoot = WinePath(values["site_root"]);
    server.siteLog = WinePath(values["site_log"]);
    if (server.port == 0 || values["root"].empty())
        return std::nullopt;
    return server;
}

size_t SiteRequestCount(const NginxServer& server) {
    const std::string log = ReadText(server.siteLog);
    return static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
}

} // namespace testsupport
