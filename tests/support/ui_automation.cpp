#include "tests/support/ui_automation.h"

#include "platform/gdi.h"
#include "platform/text.h"

#include <commctrl.h>
#include <tlhelp32.h>
#include <prsht.h>

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <utility>

namespace uitest {
namespace {

// "NAME=" of a "NAME=value" entry, upper-cased: names are compared without case.
std::wstring NameOf(std::wstring_view variable) {
    std::wstring name(variable.substr(0, variable.find(L'=', 1) + 1));
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(std::towupper(c));
    return name;
}

// This process's environment with the `extra` entries in place of any of the same name.
std::wstring EnvironmentBlock(const std::vector<std::wstring>& extra) {
    std::vector<std::wstring> overridden;
    for (const std::wstring& variable : extra)
        overridden.push_back(NameOf(variable));
    std::wstring block;
    const wchar_t* current = ::GetEnvironmentStringsW();
    for (const wchar_t* p = current; *p; p += std::wcslen(p) + 1) {
        if (std::find(overridden.begin(), overridden.end(), NameOf(p)) == overridden.end())
            block.append(p).push_back(L'\0');
    }
    ::FreeEnvironmentStringsW(const_cast<wchar_t*>(current));
    for (const std::wstring& variable : extra)
        block.append(variable).push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

struct WindowQuery {
    const wchar_t* className;
    const wchar_t* caption;
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter) {
    auto* query = reinterpret_cast<WindowQuery*>(parameter);
    if (!::IsWindowVisible(window))
        return TRUE;
    if (query->processId && ProcessOf(window) != query->processId)
        return TRUE;
    if (query->className && ClassName(window) != query->className)
        return TRUE;
    if (query->caption && WindowText(window) != query->caption)
        return TRUE;
    query->found.push_back(window);
    return TRUE;
}

// Memory in another process for the list-view messages that take pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t size) {
        process_.Reset(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                     FALSE, ProcessOf(window)));
        if (process_)
            address_ = ::VirtualAllocEx(process_.Get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (address_)
            ::VirtualFreeEx(process_.Get(), address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    void* Address() const { return address_; }
    char* At(size_t offset) const { return static_cast<char*>(address_) + offset; }
    void Write(size_t offset, const void* data, size_t size) const {
        ::WriteProcessMemory(process_.Get(), At(offset), data, size, nullptr);
    }
    void Read(size_t offset, void* data, size_t size) const {
        ::ReadProcessMemory(process_.Get(), At(offset), data, size, nullptr);
    }

private:
    platform::UniqueHandle process_;
    void* address_ = nullptr;
};

// A click at the centre of `rect`.
void Click(HWND window, const RECT& rect) {
    const LPARAM position = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, position);
    ::PostMessageW(window, WM_LBUTTONUP, 0, position);
}

bool RemoteItemRect(HWND listView, int index, int code, RECT& rect) {
    RemoteBuffer remote(listView, sizeof(RECT));
    if (!remote.Address())
        return false;
    RECT request = {code, 0, 0, 0};
    remote.Write(0, &request, sizeof request);
    if (!::SendMessageW(listView, LVM_GETITEMRECT, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(remote.Address())))
        return false;
    remote.Read(0, &rect, sizeof rect);
    return true;
}

bool ProcessIsAlive(DWORD processId) {
    const platform::UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    return process && ::WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

// The time at which `path` was last written; zero when there is no such file.
FILETIME LastWritten(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    return ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ? data.ftLastWriteTime
                                                                              : FILETIME{};
}

// True when `path` has been written at another time than `before` and ends with a PNG's end
// chunk: the writer has finished a fresh picture. (Wine's clock and the files' may differ.)
bool PngRewritten(const std::wstring& path, const FILETIME& before) {
    static constexpr char kEnd[] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', '\xAE', '\x42', '\x60', '\x82'};
    const FILETIME written = LastWritten(path);
    if ((written.dwLowDateTime == 0 && written.dwHighDateTime == 0) ||
        ::CompareFileTime(&written, &before) == 0)
        return false;
    const platform::UniqueHandle file(::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, 0, nullptr));
    char tail[sizeof kEnd] = {};
    DWORD read = 0;
    return file &&
           ::SetFilePointerEx(file.Get(), {.QuadPart = -LONGLONG{sizeof tail}}, nullptr,
                              FILE_END) &&
           ::ReadFile(file.Get(), tail, sizeof tail, &read, nullptr) && read == sizeof tail &&
           std::equal(tail, tail + sizeof tail, kEnd);
}

// The screen's pixels inside `area`, as the X display shows them.
std::vector<uint32_t> ScreenPixels(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const platform::UniqueMemoryDc screen(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    const platform::UniqueMemoryDc copy(::CreateCompatibleDC(screen.Get()));
    const platform::UniqueBitmap picture(
        ::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!screen || !copy || !picture)
        return {};
    const platform::SelectedObject selected(copy.Get(), picture.Get());
    if (!::BitBlt(copy.Get(), 0, 0, width, height, screen.Get(), area.left, area.top, SRCCOPY))
        return {};
    const auto* first = static_cast<const uint32_t*>(bits);
    return {first, first + static_cast<size_t>(width) * height};
}

// True when the client area of every visible top-level window on the screen shows more than
// one colour: one that has not painted yet is a single block (black under Xvfb), while every
// window of the program shows text on its background.
bool WindowsHavePainted() {
    const RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    for (const HWND window : TopWindows(nullptr)) {
        RECT client;
        ::GetClientRect(window, &client);
        ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        if (!::IntersectRect(&client, &client, &screen))
            continue;
        const std::vector<uint32_t> pixels = ScreenPixels(client);
        if (pixels.empty() || std::all_of(pixels.begin(), pixels.end(), [&](uint32_t pixel) {
                return ((pixel ^ pixels.front()) & 0xFFFFFF) == 0;
            }))
            return false;
    }
    return true;
}

// The id of the box's button drawn as the default, or 0.
int DefaultButton(HWND box) {
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON &&
            ClassName(child) == L"Button")
            return ::GetDlgCtrlID(child);
    }
    return 0;
}

} // namespace

Process Launch(const std::wstring& commandLine, const std::vector<std::wstring>& extraEnvironment) {
    Process process;
    std::wstring line = commandLine;
    std::wstring environment = EnvironmentBlock(extraEnvironment);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                          environment.data(), nullptr, &startup, &info))
        return process;
    platform::UniqueHandle thread(info.hThread);
    process.handle.Reset(info.hProcess);
    process.id = info.dwProcessId;
    return process;
}

std::vector<DWORD> ProcessesNamed(const wchar_t* name) {
    std::vector<DWORD> ids;
    const platform::UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return ids;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more;
         more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (::_wcsicmp(entry.szExeFile, name) == 0)
            ids.push_back(entry.th32ProcessID);
    }
    return ids;
}

void EndProcessesNamed(const wchar_t* name) {
    for (const DWORD id : ProcessesNamed(name)) {
        const platform::UniqueHandle process(
            ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (process) {
            ::TerminateProcess(process.Get(), 99);
            ::WaitForSingleObject(process.Get(), 5000);
        }
        // The windows of an ended process linger for a moment; the next test must not find them.
        WaitUntil(
            [&] {
                for (HWND window : TopWindows(nullptr)) {
                    if (ProcessOf(window) == id)
                        return false;
                }
                return true;
            },
            5000);
    }
}

bool WaitForProcessesNamedToEnd(const wchar_t* name, DWORD timeoutMs) {
    return WaitUntil([&] { return ProcessesNamed(name).empty(); }, timeoutMs);
}

int WaitForExit(Process& process, DWORD timeoutMs) {
    if (::WaitForSingleObject(process.handle.Get(), timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.handle.Get(), 99);
        ::WaitForSingleObject(process.handle.Get(), 5000);
        return -1;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process.handle.Get(), &code);
    return static_cast<int>(code);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount64() >= end)
            return false;
        ::Sleep(50);
    }
}

std::vector<HWND> TopWindows(const wchar_t* className) {
    WindowQuery query{className, nullptr, 0, {}};
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND WaitForWindow(const wchar_t* className, const wchar_t* caption, DWORD processId,
                   DWORD timeoutMs) {
    HWND result = nullptr;
    WaitUntil(
        [&] {
            WindowQuery query{className, caption, processId, {}};
            ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&query));
            result = query.found.empty() ? nullptr : query.found.front();
            return result != nullptr;
        },
        timeoutMs);
    return result;
}

std::wstring WindowText(HWND window) {
    // WM_GETTEXT is carried across processes, GetWindowText is not for controls; a hung or
    // ended window gives an empty text instead of holding the test.
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 10000, &length))
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(),
                               reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 10000,
                               &copied))
        return {};
    text.resize(static_cast<size_t>(copied));
    return text;
}

std::wstring ControlText(HWND parent, int id) {
    const HWND control = ::GetDlgItem(parent, id);
    return control ? WindowText(control) : std::wstring();
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    return name;
}

DWORD ProcessOf(HWND window) {
    DWORD id = 0;
    ::GetWindowThreadProcessId(window, &id);
    return id;
}

HWND CurrentPage(HWND sheet) {
    return reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

bool ButtonEnabled(HWND sheet, int id) {
    const HWND button = ::GetDlgItem(sheet, id);
    return button && ::IsWindowEnabled(button);
}

bool ButtonVisible(HWND sheet, int id) {
    const HWND button = ::GetDlgItem(sheet, id);
    return button && ::IsWindowVisible(button);
}

void PressWizardButton(HWND sheet, int psbtn) {
    constexpr int kButtonIds[] = {0x3023, 0x3024, 0x3025, IDOK, 0, 0, IDCANCEL};
    const int id = psbtn >= 0 && psbtn < 7 ? kButtonIds[psbtn] : 0;
    if (id)
        WaitUntil([&] { return ButtonEnabled(sheet, id) && ButtonVisible(sheet, id); }, 10000);
    ::PostMessageW(sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(psbtn), 0);
}

HWND WaitForWizard(DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopWindows(L"#32770")) {
                const HWND page = CurrentPage(window);
                if (page && ::IsWindowVisible(page) && ProcessIsAlive(ProcessOf(window))) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

bool WaitForPageWithControl(HWND sheet, int controlId, DWORD timeoutMs) {
    return WaitUntil(
        [&] {
            const HWND page = CurrentPage(sheet);
            return page && ::GetDlgItem(page, controlId) != nullptr;
        },
        timeoutMs);
}

std::vector<std::wstring> StaticTexts(HWND page) {
    std::vector<std::wstring> texts;
    for (HWND child = ::GetWindow(page, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassName(child) == L"Static")
            texts.push_back(WindowText(child));
    }
    return texts;
}

std::vector<ListRow> ReadListView(HWND listView, int columnCount) {
    std::vector<ListRow> rows;
    const int count = static_cast<int>(::SendMessageW(listView, LVM_GETITEMCOUNT, 0, 0));
    constexpr size_t kTextOffset = 256;
    constexpr int kTextChars = 1024;
    RemoteBuffer remote(listView, kTextOffset + kTextChars * sizeof(wchar_t));
    if (!remote.Address())
        return rows;
    for (int i = 0; i < count; ++i) {
        ListRow row;
        for (int column = 0; column < columnCount; ++column) {
            LVITEMW item = {};
            item.mask = LVIF_TEXT | (column == 0 ? LVIF_IMAGE : 0u);
            item.iItem = i;
            item.iSubItem = column;
            item.pszText = reinterpret_cast<wchar_t*>(remote.At(kTextOffset));
            item.cchTextMax = kTextChars;
            remote.Write(0, &item, sizeof item);
            ::SendMessageW(listView, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.Address()));
            std::wstring text(kTextChars, L'\0');
            remote.Read(kTextOffset, text.data(), kTextChars * sizeof(wchar_t));
            text.resize(std::wcslen(text.c_str()));
            row.columns.push_back(text);
            if (column == 0) {
                remote.Read(0, &item, sizeof item);
                row.image = item.iImage;
            }
        }
        const auto state = static_cast<UINT>(::SendMessageW(
            listView, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_STATEIMAGEMASK));
        row.checked = (state >> 12) != 1 && (state >> 12) != 0;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::wstring> ReadListHeadings(HWND listView) {
    std::vector<std::wstring> headings;
    const HWND header = reinterpret_cast<HWND>(::SendMessageW(listView, LVM_GETHEADER, 0, 0));
    const int count = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    constexpr size_t kTextOffset = 256;
    constexpr int kTextChars = 256;
    RemoteBuffer remote(listView, kTextOffset + kTextChars * sizeof(wchar_t));
    for (int column = 0; column < count && remote.Address(); ++column) {
        LVCOLUMNW item = {};
        item.mask = LVCF_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(remote.At(kTextOffset));
        item.cchTextMax = kTextChars;
        remote.Write(0, &item, sizeof item);
        std::wstring text(kTextChars, L'\0');
        if (::SendMessageW(listView, LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                           reinterpret_cast<LPARAM>(remote.Address())))
            remote.Read(kTextOffset, text.data(), kTextChars * sizeof(wchar_t));
        text.resize(std::wcslen(text.c_str()));
        headings.push_back(text);
    }
    return headings;
}

int ListStringWidth(HWND listView, const std::wstring& text) {
    const size_t size = (text.size() + 1) * sizeof(wchar_t);
    RemoteBuffer remote(listView, size);
    if (!remote.Address())
        return -1;
    remote.Write(0, text.c_str(), size);
    return static_cast<int>(::SendMessageW(listView, LVM_GETSTRINGWIDTHW, 0,
                                           reinterpret_cast<LPARAM>(remote.Address())));
}

void ClickListItem(HWND listView, int index) {
    RECT label;
    if (RemoteItemRect(listView, index, LVIR_LABEL, label))
        Click(listView, label);
}

void ClickListHeader(HWND listView, int column) {
    const HWND header = reinterpret_cast<HWND>(::SendMessageW(listView, LVM_GETHEADER, 0, 0));
    RemoteBuffer remote(header, sizeof(RECT));
    if (!header || !remote.Address())
        return;
    if (!::SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                        reinterpret_cast<LPARAM>(remote.Address())))
        return;
    RECT rect;
    remote.Read(0, &rect, sizeof rect);
    Click(header, rect);
}

void SelectListItem(HWND listView, int index) {
    RemoteBuffer remote(listView, sizeof(LVITEMW));
    if (!remote.Address())
        return;
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    remote.Write(0, &item, sizeof item);
    ::SendMessageW(listView, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(remote.Address()));
}

HWND WaitForMessageBox(const wchar_t* caption, DWORD processId, DWORD timeoutMs) {
    HWND result = nullptr;
    WaitUntil(
        [&] {
            WindowQuery query{L"#32770", caption, processId, {}};
            ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&query));
            for (HWND window : query.found) {
                // The wizard is a dialog with the same caption; it has a current page.
                if (!CurrentPage(window)) {
                    result = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return result;
}

std::wstring MessageBoxText(HWND box) {
    // The message text is the box's static with id 0xFFFF that is not the icon.
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassName(child) == L"Static" && !WindowText(child).empty())
            return WindowText(child);
    }
    return {};
}

void AnswerMessageBox(HWND box, int buttonId) {
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, buttonId)));
}

Question AnswerQuestion(const wchar_t* caption, DWORD processId, int buttonId) {
    const HWND box = WaitForMessageBox(caption, processId, 90000);
    if (!box)
        return {};
    Question question{MessageBoxText(box), DefaultButton(box)};
    AnswerMessageBox(box, buttonId);
    if (!WaitUntil([&] { return !::IsWindow(box); }, 90000))
        question.text.clear();
    return question;
}

bool SaveScreenshot(const std::string& name) {
    if (!std::getenv("DISPLAY"))
        return false;
    const char* folder = std::getenv("ZAPDATE_SCREENSHOTS");
    const std::wstring target = platform::WideFromUtf8(
        std::string(folder ? folder : "/tmp/zapdate-screenshots") + "/" + name);
    // Wine starts Unix programs directly, with Unix paths, but cannot wait for them, and a file
    // of an earlier run may stand there: a picture counts once it is complete and written anew
    // (Z: is the Unix root). A window found a moment ago may not have reached the display yet,
    // and a picture of one colour compresses to a few hundred bytes while any window makes
    // thousands: such a picture is taken again, a few times at most.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const FILETIME before = LastWritten(L"Z:" + target);
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (!WaitUntil(WindowsHavePainted, 20000))
            return false;
        // CreateProcess reports a failure for a Unix program that it has started all the same:
        // only the picture tells.
        Launch(L"/usr/bin/import -window root \"" + target + L"\"");
        if (!WaitUntil([&] { return PngRewritten(L"Z:" + target, before); }, 60000) ||
            !::GetFileAttributesExW((L"Z:" + target).c_str(), GetFileExInfoStandard, &data))
            return false;
        if (data.nFileSizeHigh != 0 || data.nFileSizeLow >= 4096)
            return true;
    }
    return false;
}

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::wstring MakeTempFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + name + L"-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

} // namespace uitest
