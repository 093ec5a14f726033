#include "shell/settings.h"

#include <cstring>

#include "core/files.h"
#include "core/text.h"
#include "shell/settings_text.h"

namespace {

const char kSection[] = "Tolva";
const char kDefaultFace[] = "ＭＳ Ｐゴシック";

// Reads a key as text (at most 63 bytes); empty when missing or empty.
void ReadKey(const char* key, char (&text)[64], const char* file)
{
    GetPrivateProfileStringA(kSection, key, "", text, sizeof text, file);
}

void ReadFlag(const char* key, int& field, const char* file)
{
    char text[64];
    ReadKey(key, text, file);
    if (text[0] != 0) field = TextToFlag(text);
}

}  // namespace

Settings& CurrentSettings()
{
    static Settings settings;
    return settings;
}

const char* SettingsFilePath()
{
    static char path[kJoinedPathBuffer];
    BoundedCopy(path, ProgramFolder(), sizeof path);
    BoundedAppend(path, "Tolva.ini", sizeof path);
    return path;
}

void LoadProfileFont(LOGFONTA& font, const char* prefix, const char* file)
{
    struct FontKey {
        const char* suffix;
        void (*apply)(LOGFONTA&, const char*);
    };
    static const FontKey kKeys[] = {
        // The face is cut to 31 bytes: lfFaceName holds 32 with its terminator.
        {"Face", [](LOGFONTA& f, const char* t) { BoundedCopy(f.lfFaceName, t, sizeof f.lfFaceName); }},
        {"Size", [](LOGFONTA& f, const char* t) { f.lfHeight = HexToValue(t); }},
        {"Bold", [](LOGFONTA& f, const char* t) { f.lfWeight = HexToValue(t); }},
        {"SetC", [](LOGFONTA& f, const char* t) { f.lfCharSet = static_cast<BYTE>(HexToValue(t) & 0xFF); }},
        {"Type", [](LOGFONTA& f, const char* t) { ApplyStyleLetters(t, &f.lfItalic, &f.lfUnderline, &f.lfStrikeOut); }},
    };
    for (const FontKey& key : kKeys) {
        char name[32];
        BoundedCopy(name, prefix, sizeof name);
        BoundedAppend(name, key.suffix, sizeof name);
        char text[64];
        ReadKey(name, text, file);
        if (text[0] != 0) key.apply(font, text);
    }
}

void LoadSettings(Settings& settings) { LoadSettingsFrom(settings, SettingsFilePath()); }

void LoadSettingsFrom(Settings& settings, const char* file)
{
    std::memset(&settings, 0, sizeof settings);
    settings.listFont.lfCharSet = SHIFTJIS_CHARSET;
    BoundedCopy(settings.listFont.lfFaceName, kDefaultFace, sizeof settings.listFont.lfFaceName);

    GetPrivateProfileStringA(kSection, "RARFname", "", settings.RARFname, sizeof settings.RARFname, file);
    TrimTrailingSpaces(settings.RARFname);
    ReadFlag("RARFmake", settings.RARFmake, file);
    ReadFlag("RemeltRZ", settings.RemeltRZ, file);
    ReadFlag("LISTFONT", settings.LISTFONT, file);
    LoadProfileFont(settings.listFont, "FONT", file);
    settings.WinPos_X = static_cast<int>(GetPrivateProfileIntA(kSection, "WinPos_X", 64, file));
    settings.WinPos_Y = static_cast<int>(GetPrivateProfileIntA(kSection, "WinPos_Y", 64, file));
    settings.WinSizeX = static_cast<int>(GetPrivateProfileIntA(kSection, "WinSizeX", 256, file));
    settings.WinSizeY = static_cast<int>(GetPrivateProfileIntA(kSection, "WinSizeY", 256, file));
}
