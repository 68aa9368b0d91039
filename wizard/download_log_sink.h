#pragma once
// What the download page shows of the program's log messages.

#include "platform/logger.h"

#include <windows.h>

// The levels the download page listens to.
inline constexpr platform::LogLevelRange kDownloadPageLogLevels[] = {
    {-256, -256}, {15, 15}, {0, 0}};

// Shows `message` in `page`, a window with the download page's controls: a message for the
// user in the status line or in a message box, and blank progress details when it says so.
void ShowLogMessage(HWND page, const platform::LogMessage& message);
