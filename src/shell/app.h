// Program-wide handles set by the shell.
#pragma once

#include <windows.h>

HINSTANCE AppInstance();
void SetAppInstance(HINSTANCE instance);

// Known from the main window's first message on, so that a batch run during
// its creation has an owner for its dialogs.
HWND MainWindow();
void SetMainWindow(HWND window);

HWND VolumeListWindow();
void SetVolumeListWindow(HWND list);

// The pointing hand shown over the about box's link, loaded once the main
// window exists.
void LoadHandCursor();
HCURSOR HandCursor();
