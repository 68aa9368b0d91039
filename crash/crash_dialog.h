#pragma once
// The crash dialog: tells the user what happened, shows the report and offers to mail it.

namespace crash {

// Shows the dialog modally, built in memory; returns when the user closed it.
void ShowCrashDialog();

} // namespace crash
