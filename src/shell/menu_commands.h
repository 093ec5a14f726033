// The main menu's commands.
#pragma once

#include <windows.h>

// Runs the command; false when the id is not a menu command (the caller then
// leaves it to the default window procedure).
bool RunMenuCommand(HWND window, int id);
