// The main window and the batches it runs.
#pragma once

#include <windows.h>

extern const char kMainWindowClass[];
extern const char kMainWindowTitle[];

bool RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
