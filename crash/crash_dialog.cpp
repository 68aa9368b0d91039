#include "crash/crash_dialog.h"

#include "crash/crash_mail.h"
#include "crash/handler_state.h"

#include <cstdint>
#include <iterator>

namespace crash {
namespace {

constexpr int kComposeId = IDOK;  // 1
constexpr int kCloseId = IDCLOSE; // 8
constexpr int kIconId = 100;
constexpr int kMessageId = 101;
constexpr int kReportId = 102;
constexpr int kHintId = 103;

constexpr short kDialogWidth = 400;
constexpr short kDialogHeight = 240;
constexpr short kMargin = 7;
constexpr int kButtonExtraWidth = 36; // pixels around the measured text
constexpr int kButtonExtraHeight = 10;
constexpr int kButtonMaxHeight = 100;

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

// The dialog's texts with the configured names put in, wide for the controls.
struct DialogTexts {
    wchar_t caption[kConfigTextSize + 16];
    wchar_t message[kConfigTextSize + 320];
    wchar_t hint[kConfigTextSize + 256];
};
DialogTexts g_texts;

// The template is built in static storage: the dialog is shown after the fault.
alignas(4) WORD g_template[4096];

// Fills `target` with `pattern`, its "%1" replaced by the 8-bit `value`.
template <std::size_t N>
void Substitute(wchar_t (&target)[N], const wchar_t* pattern, const char* value) {
    std::size_t length = 0;
    for (const wchar_t* p = pattern; *p && length + 1 < N; ++p) {
        if (p[0] == L'%' && p[1] == L'1') {
            wchar_t converted[kConfigTextSize];
            const int count =
                ::MultiByteToWideChar(CP_ACP, 0, value, -1, converted, kConfigTextSize);
            for (int i = 0; i + 1 < count && length + 1 < N; ++i)
                target[length++] = converted[i];
            ++p;
            continue;
        }
        target[length++] = *p;
    }
    target[length] = 0;
}

void PrepareTexts(const CrashHandlerConfig& config) {
    Substitute(g_texts.caption, L"%1 - Error", config.applicationName);
    Substitute(g_texts.message,
               L"%1 has encountered a problem and needs to close.\nWe are sorry for the "
               L"inconvenience. We have created an error report you can send to us so we can "
               L"investigate cause of the problem. We will treat this report as confidential "
               L"and anonymous.",
               config.applicationName);
    Substitute(g_texts.hint,
               L"Use \"Compose\" button to launch your default e-mail client and automatically "
               L"prepare message containing this report.Alternatively you can manually copy "
               L"contents of the report and send it to %1.",
               config.supportAddress);
}

// Appends words to the template, bounded by its size.
class TemplateWriter {
public:
    void Word(WORD value) {
        if (used_ < std::size(g_template))
            g_template[used_++] = value;
    }
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(const wchar_t* text) {
        for (; *text; ++text)
            Word(*text);
        Word(0);
    }
    void AlignToDword() {
        if (used_ % 2)
            Word(0);
    }
    std::size_t Used() const { return used_; }

private:
    std::size_t used_ = 0;
};

void AddItem(TemplateWriter& writer, DWORD style, short x, short y, short cx, short cy, WORD id,
             WORD itemClass, const wchar_t* text) {
    writer.AlignToDword();
    writer.Dword(style | WS_CHILD | WS_VISIBLE);
    writer.Dword(0);
    writer.Word(static_cast<WORD>(x));
    writer.Word(static_cast<WORD>(y));
    writer.Word(static_cast<WORD>(cx));
    writer.Word(static_cast<WORD>(cy));
    writer.Word(id);
    writer.Word(0xFFFF);
    writer.Word(itemClass);
    writer.Text(text);
    writer.Word(0); // no creation data
}

const DLGTEMPLATE* BuildTemplate() {
    TemplateWriter writer;
    writer.Dword(DS_SETFONT | DS_MODALFRAME | DS_CENTER | DS_3DLOOK | WS_POPUP | WS_CAPTION |
                 WS_SYSMENU);
    writer.Dword(WS_EX_TOPMOST);
    writer.Word(6); // items
    writer.Word(0);
    writer.Word(0);
    writer.Word(static_cast<WORD>(kDialogWidth));
    writer.Word(static_cast<WORD>(kDialogHeight));
    writer.Word(0); // no menu
    writer.Word(0); // the standard dialog class
    writer.Text(g_texts.caption);
    writer.Word(8);
    writer.Text(L"MS Shell Dlg");

    constexpr short textLeft = kMargin + 28;
    const short buttonTop = kDialogHeight - kMargin - 14;
    AddItem(writer, SS_ICON, kMargin, kMargin, 21, 20, kIconId, kStaticClass, L"");
    AddItem(writer, SS_LEFT, textLeft, kMargin, kDialogWidth - textLeft - kMargin, 42, kMessageId,
            kStaticClass, g_texts.message);
    AddItem(writer,
            ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL |
                WS_BORDER | WS_TABSTOP,
            kMargin, 54, kDialogWidth - 2 * kMargin, 124, kReportId, kEditClass, L"");
    AddItem(writer, SS_LEFT, kMargin, 184, kDialogWidth - 2 * kMargin, 26, kHintId, kStaticClass,
            g_texts.hint);
    AddItem(writer, BS_DEFPUSHBUTTON | WS_TABSTOP, kDialogWidth - 2 * (kMargin + 50), buttonTop, 50,
            14, kComposeId, kButtonClass, L"Compose");
    AddItem(writer, BS_PUSHBUTTON | WS_TABSTOP, kDialogWidth - kMargin - 50, buttonTop, 50, 14,
            kCloseId, kButtonClass, L"Close");
    return reinterpret_cast<const DLGTEMPLATE*>(g_template);
}

SIZE MeasureButton(HWND dialog, HDC dc, int id) {
    RECT rect = {0, 0, 50, 14};
    ::MapDialogRect(dialog, &rect);
    wchar_t text[32] = {};
    ::GetDlgItemTextW(dialog, id, text, static_cast<int>(std::size(text)));
    ::DrawTextW(dc, text, -1, &rect, DT_CALCRECT | DT_SINGLELINE);
    SIZE size = {rect.right - rect.left + kButtonExtraWidth,
                 rect.bottom - rect.top + kButtonExtraHeight};
    if (size.cy > kButtonMaxHeight)
        size.cy = kButtonMaxHeight;
    return size;
}

// Both buttons take the larger of their measured sizes, right-aligned at the bottom.
void SizeButtons(HWND dialog) {
    HDC dc = ::GetDC(dialog);
    if (!dc)
        return;
    const HGDIOBJ oldFont =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(dialog, WM_GETFONT, 0, 0)));
    const SIZE compose = MeasureButton(dialog, dc, kComposeId);
    const SIZE close = MeasureButton(dialog, dc, kCloseId);
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(dialog, dc);
    const int width = compose.cx > close.cx ? compose.cx : close.cx;
    const int height = compose.cy > close.cy ? compose.cy : close.cy;
    RECT margin = {0, 0, kMargin, kMargin};
    ::MapDialogRect(dialog, &margin);
    RECT client = {};
    ::GetClientRect(dialog, &client);
    const int top = client.bottom - margin.bottom - height;
    const int closeLeft = client.right - margin.right - width;
    ::MoveWindow(::GetDlgItem(dialog, kCloseId), closeLeft, top, width, height, TRUE);
    ::MoveWindow(::GetDlgItem(dialog, kComposeId), closeLeft - margin.right - width, top, width,
                 height, TRUE);
}

void InitializeDialog(HWND dialog) {
    ::SendDlgItemMessageW(dialog, kIconId, STM_SETICON,
                          reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_ERROR)), 0);
    if (const WorkArea* area = State().workArea.Get())
        ::SetDlgItemTextA(dialog, kReportId, area->report);
    SizeButtons(dialog);
    // The dialog manager's own focusing would select the whole report and scroll to its end;
    // the reader starts at the top instead, with the keys in the report.
    const HWND report = ::GetDlgItem(dialog, kReportId);
    ::SetFocus(report);
    ::SendMessageW(report, EM_SETSEL, 0, 0);
    ::SendMessageW(report, EM_SCROLLCARET, 0, 0);
    ::SetForegroundWindow(dialog);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        InitializeDialog(dialog);
        return FALSE; // the focus is set
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kCloseId:
        case IDCANCEL:
            ::EndDialog(dialog, kCloseId);
            return TRUE;
        case kComposeId:
            StartMailThread();
            ::SetForegroundWindow(dialog);
            return TRUE;
        default:
            return FALSE;
        }
    case WM_CLOSE:
        ::EndDialog(dialog, kCloseId);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void ShowCrashDialog() {
    PrepareTexts(State().config);
    ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), BuildTemplate(), nullptr, &DialogProc,
                              0);
}

} // namespace crash
