#include "service/network_error_text.h"

#include "platform/resource_modules.h"
#include "platform/resource_strings.h"
#include "resources/resource_ids.h"

namespace service {
namespace {

// The table keys WinInet errors by their own number and statuses by 14000 plus the status, so
// numbers outside these ranges must not reach it: they would pick up unrelated texts.
constexpr DWORD kWinInetErrorFirst = 12000;
constexpr DWORD kWinInetErrorLast = 12999;
constexpr unsigned kHttpStatusFirst = 100;
constexpr unsigned kHttpStatusLast = 999;

std::optional<std::wstring> FindString(UINT id) {
    std::wstring text;
    if (!platform::LoadStringResource(id, text))
        return std::nullopt;
    return text;
}

} // namespace

std::optional<std::wstring> FindWinInetErrorText(DWORD error) {
    if (error < kWinInetErrorFirst || error > kWinInetErrorLast)
        return std::nullopt;
    return FindString(error);
}

std::wstring WinInetErrorText(DWORD error) {
    if (auto text = FindWinInetErrorText(error))
        return *text;
    return platform::ResourceString(IDS_CANT_CONNECT);
}

std::optional<std::wstring> HttpStatusText(unsigned status) {
    if (status < kHttpStatusFirst || status > kHttpStatusLast)
        return std::nullopt;
    return FindString(IDS_HTTP_STATUS_BASE + status);
}

std::wstring SystemMessageText(DWORD error) {
    wchar_t buffer[1024];
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                         0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    std::wstring text(buffer, length);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return text;
}

} // namespace service
