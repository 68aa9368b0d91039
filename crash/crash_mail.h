#pragma once
// Mailing the report through the system's mail library, on a thread of its own.

namespace crash {

// Starts the mail thread when the crash routine shows its dialog and no mail is under way; false
// when none was started.
bool StartMailThread();

// Waits until a started mail thread has ended.
void WaitForMailThread();

} // namespace crash
