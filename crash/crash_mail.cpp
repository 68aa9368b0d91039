#include "crash/crash_mail.h"

#include "crash/crash_handler.h"
#include "crash/handler_state.h"
#include "crash/report_text.h"
#include "platform/unique_resource.h"

#include <mapi.h>

namespace crash {
namespace {

constexpr int kMaxAttachments = 16;

// Static: the mail is put together after the fault, where nothing may be allocated.
struct MailParts {
    char subject[2 * kConfigTextSize + 16];
    char address[kConfigTextSize + 8];
    char notAvailable[kConfigTextSize + 128];
    MapiRecipDesc recipient;
    MapiFileDesc attachments[kMaxAttachments];
    MapiMessage message;
};
MailParts g_mail;
platform::UniqueHandle g_mailThread;

int CollectAttachments(const WorkArea& area, MapiFileDesc (&files)[kMaxAttachments]) {
    int count = 0;
    if (area.tempDumpPath[0] && count < kMaxAttachments) {
        files[count] = {};
        files[count].nPosition = static_cast<ULONG>(-1);
        files[count].lpszPathName = const_cast<char*>(area.tempDumpPath);
        ++count;
    }
    return count;
}

bool SendReport() {
    const HandlerState& state = State();
    const CrashHandlerConfig& config = state.config;
    const WorkArea* area = state.workArea.Get();
    if (!area)
        return false;
    platform::UniqueLibrary library(
        ::LoadLibraryA(config.mailLibrary[0] ? config.mailLibrary : "MAPI32.DLL"));
    if (!library)
        return false;
    const auto send = reinterpret_cast<LPMAPISENDMAIL>(
        reinterpret_cast<void*>(::GetProcAddress(library.Get(), "MAPISendMail")));
    if (!send)
        return false;
    MailParts& mail = g_mail;
    mail = {};
    FormatInto(mail.subject, "%s %s crash report", config.applicationName, config.versionText);
    FormatInto(mail.address, "SMTP:%s", config.supportAddress);
    mail.recipient.ulRecipClass = MAPI_TO;
    mail.recipient.lpszName = const_cast<char*>(config.supportAddress);
    mail.recipient.lpszAddress = mail.address;
    mail.message.lpszSubject = mail.subject;
    mail.message.lpszNoteText = const_cast<char*>(area->report);
    mail.message.nRecipCount = 1;
    mail.message.lpRecips = &mail.recipient;
    mail.message.nFileCount = static_cast<ULONG>(CollectAttachments(*area, mail.attachments));
    mail.message.lpFiles = mail.message.nFileCount ? mail.attachments : nullptr;
    return send(0, 0, &mail.message, MAPI_LOGON_UI | MAPI_DIALOG, 0) == SUCCESS_SUCCESS;
}

void ShowMailNotAvailable() {
    const CrashHandlerConfig& config = State().config;
    FormatInto(g_mail.notAvailable,
               "Can't create e-mail report automatically.\nPlease copy contents of the report and "
               "send it to %s.",
               config.supportAddress);
    ::MessageBoxA(nullptr, g_mail.notAvailable, config.applicationName,
                  MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
}

DWORD WINAPI MailThread(void*) {
    if (!SendReport())
        ShowMailNotAvailable();
    ::InterlockedCompareExchange(&State().stage, kStageDialogShown, kStageMailing);
    return 0;
}

} // namespace

bool StartMailThread() {
    HandlerState& state = State();
    if (::InterlockedCompareExchange(&state.stage, kStageMailing, kStageDialogShown) !=
        kStageDialogShown)
        return false;
    g_mailThread.Reset(::CreateThread(nullptr, 0, &MailThread, nullptr, 0, nullptr));
    if (!g_mailThread) {
        ::InterlockedExchange(&state.stage, kStageDialogShown);
        return false;
    }
    return true;
}

void WaitForMailThread() {
    if (g_mailThread)
        ::WaitForSingleObject(g_mailThread.Get(), INFINITE);
}

} // namespace crash
