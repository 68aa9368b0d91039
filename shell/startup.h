#pragma once
// The program's run from start to end.

#include <windows.h>

// Start-up, the run of the mode chosen by the command line, and the end. Always returns 0.
int RunProgram(HINSTANCE instance);

// The update itself: the wizard, or the run without user interface with "-hiden"; then the update
// temporary folder is emptied and its final removal handed to an updated product's wizard.
void RunUpdate(HINSTANCE instance);
