// The dialogs of the main menu: extraction settings, the about box and the
// list font. All are modal and owned by the window given; none writes the
// settings file: their changes stay in the settings record until exit.
#pragma once

#include <windows.h>

// The destination folder and the two extraction options.
void ShowExtractionSettings(HWND owner);

// The version line and the web link, which opens in the shell.
void ShowAboutBox(HWND owner);

// The shell's folder browser: the chosen folder's path (a static buffer, valid
// until the next browse), or null when the user cancels or the choice has no
// file-system path.
const char* BrowseForFolder(HWND owner);

// The system's font dialog, starting from font; true when the user chose a
// font with OK, and only then is font replaced by the choice.
bool ChooseListFont(HWND owner, LOGFONTA& font);

// The Font command: on OK the list font is switched on and the volume list
// redrawn in the chosen font.
void RunFontCommand(HWND owner);
