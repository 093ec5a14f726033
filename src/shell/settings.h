// The program's options and window placement, kept in "Tolva.ini".
#pragma once

#include <windows.h>

struct Settings {
    int WinPos_X;
    int WinPos_Y;
    int WinSizeX;
    int WinSizeY;
    int LISTFONT;
    LOGFONTA listFont;
    char RARFname[260];
    int RARFmake;
    int RemeltRZ;
};

Settings& CurrentSettings();

// The settings file's path: "Tolva.ini" in the program folder.
const char* SettingsFilePath();

// Fills the record from the file; whatever is missing takes its default.
void LoadSettings(Settings& settings);
void LoadSettingsFrom(Settings& settings, const char* file);

// Writes all thirteen keys, in a fixed order, so that a new file lists them
// in that order. Write failures (a read-only folder) are ignored.
void SaveSettings(const Settings& settings);
void SaveSettingsTo(const Settings& settings, const char* file);

// The five font keys, the prefix followed by Face, Size, Bold, SetC, Type.
void LoadProfileFont(LOGFONTA& font, const char* prefix, const char* file);
void SaveProfileFont(const LOGFONTA& font, const char* prefix, const char* file);
