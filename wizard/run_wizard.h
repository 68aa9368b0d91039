#pragma once

#include <windows.h>

// Reads the installed products, then shows the wizard modally on the calling (main) thread;
// returns when it has been closed by Finish or Cancel.
void RunWizard(HINSTANCE instance);
