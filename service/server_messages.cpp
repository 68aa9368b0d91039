#include "service/server_messages.h"

#include "platform/text.h"

namespace service {
namespace {

constexpr std::string_view kOpening = "<!-- VelkInfo: ";
constexpr std::string_view kClosing = " -->";

// Servers write their pages in UTF-8 today; older ones used the Windows code page.
std::wstring WideFromReplyText(std::string_view text) {
    if (text.empty())
        return {};
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                             static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return platform::WideFromAnsi(text);
    return platform::WideFromUtf8(text);
}

} // namespace

std::vector<std::string> FindServerMessages(std::string_view reply) {
    std::vector<std::string> messages;
    size_t from = 0;
    for (;;) {
        const size_t opening = reply.find(kOpening, from);
        if (opening == std::string_view::npos)
            break;
        const size_t start = opening + kOpening.size();
        const size_t closing = reply.find(kClosing, start);
        if (closing == std::string_view::npos)
            break;
        messages.emplace_back(reply.substr(start, closing - start));
        from = closing + kClosing.size();
    }
    return messages;
}

std::wstring ReadServerMessages(HANDLE file) {
    if (::SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return {};
    std::string reply(kServerMessageScanLimit, '\0');
    DWORD size = 0;
    if (!::ReadFile(file, reply.data(), kServerMessageScanLimit, &size, nullptr))
        return {};
    reply.resize(size);
    std::string joined;
    for (const std::string& message : FindServerMessages(reply)) {
        joined += message;
        joined += '\n';
    }
    return WideFromReplyText(joined);
}

} // namespace service
