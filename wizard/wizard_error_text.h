#pragma once

#include <string>

// The text that the error page shows; a page that jumps there stores it first.
// User-interface thread only.
std::wstring& WizardErrorText();
