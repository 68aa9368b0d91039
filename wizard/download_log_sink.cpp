#include "wizard/download_log_sink.h"

#include "platform/resource_strings.h"
#include "platform/run_log.h"
#include "resources/resource_ids.h"

void ShowLogMessage(HWND page, const platform::LogMessage& message) {
    if (message.flags & platform::kLogClearsProgress) {
        for (const int id : {IDC_TRANSFER_RATE, IDC_REMAINING_TIME, IDC_STATUS_LINE})
            ::SetDlgItemTextW(page, id, L"");
    }
    if (!(message.flags & platform::kLogForTheUser))
        return;
    if (message.flags & platform::kLogInStatusLine)
        ::SetDlgItemTextW(page, IDC_STATUS_LINE, message.text.c_str());
    else {
        platform::LogRunStepF(L"message shown: %s", message.text.c_str());
        ::MessageBoxW(nullptr, message.text.c_str(),
                      platform::ResourceString(IDS_WIZARD_TITLE).c_str(), MB_OK);
    }
}
