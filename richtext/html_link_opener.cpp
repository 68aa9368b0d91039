#include "richtext/html_link_opener.h"

#include "platform/unique_resource.h"

#include <windows.h>

#include <shellapi.h>

#include <vector>

namespace richtext {
namespace {

// The default value of HKEY_CLASSES_ROOT\`path`, empty when there is none.
std::wstring ClassesDefaultValue(const std::wstring& path) {
    platform::UniqueRegKey key;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_QUERY_VALUE, key.Put()) !=
        ERROR_SUCCESS)
        return {};
    DWORD type = 0;
    DWORD bytes = 0;
    if (::RegQueryValueExW(key.Get(), nullptr, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || bytes == 0 || bytes > 64 * 1024)
        return {};
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    if (::RegQueryValueExW(key.Get(), nullptr, nullptr, &type,
                           reinterpret_cast<BYTE*>(buffer.data()), &bytes) != ERROR_SUCCESS)
        return {};
    return std::wstring(buffer.data());
}

bool StartHandler(const std::wstring& target) {
    const std::wstring pageClass = ClassesDefaultValue(L".htm");
    if (pageClass.empty())
        return false;
    const std::wstring command = ClassesDefaultValue(pageClass + L"\\shell\\open\\command");
    if (command.empty())
        return false;
    std::wstring commandLine = HandlerCommandLine(command, target);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return false;
    const platform::UniqueHandle processHandle(process.hProcess);
    const platform::UniqueHandle threadHandle(process.hThread);
    return true;
}

} // namespace

std::wstring HandlerCommandLine(std::wstring_view command, std::wstring_view target) {
    size_t cut = command.find(L"\"%1\"");
    if (cut == std::wstring_view::npos)
        cut = command.find(L"%1");
    std::wstring line(command.substr(0, cut));
    line += L' ';
    line += target;
    return line;
}

bool OpenLink(const std::wstring& target) {
    const HINSTANCE result =
        ::ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) > 32)
        return true;
    return StartHandler(target);
}

} // namespace richtext
