#pragma once

#include <windows.h>

// Puts the busy animation (animated cursor 138 of the program's module) into an icon static.
void ShowBusyAnimation(HWND control);
