#include "shell/settings.h"

#include <cstdio>
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

void WriteKey(const char* key, const char* text, const char* file)
{
    WritePrivateProfileStringA(kSection, key, text, file);
}

void FontKeyName(char (&name)[32], const char* prefix, const char* suffix)
{
    BoundedCopy(name, prefix, sizeof name);
    BoundedAppend(name, suffix, sizeof name);
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
        FontKeyName(name, prefix, key.suffix);
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

void SaveProfileFont(const LOGFONTA& font, const char* prefix, const char* file)
{
    // Copied with a bound: a face name without its terminator must not carry
    // the bytes behind it into the file.
    char face[sizeof font.lfFaceName];
    BoundedCopy(face, font.lfFaceName, sizeof face);
    char height[9];
    char weight[9];
    char charSet[9];
    char style[7];
    ValueToHex(font.lfHeight, height);
    ValueToHex(font.lfWeight, weight);
    ValueToHex(font.lfCharSet, charSet);
    StyleLetters(font.lfItalic, font.lfUnderline, font.lfStrikeOut, style);

    const struct {
        const char* suffix;
        const char* text;
    } kKeys[] = {
        {"Face", face}, {"Size", height}, {"Bold", weight},
        {"SetC", charSet + 6},  // the charset is one byte: its last two digits
        {"Type", style},
    };
    for (const auto& key : kKeys) {
        char name[32];
        FontKeyName(name, prefix, key.suffix);
        WriteKey(name, key.text, file);
    }
}

void SaveSettings(const Settings& settings) { SaveSettingsTo(settings, SettingsFilePath()); }

void SaveSettingsTo(const Settings& settings, const char* file)
{
    // A new key goes to the end of the section: this order is the file's order.
    char folder[sizeof settings.RARFname];
    BoundedCopy(folder, settings.RARFname, sizeof folder);
    WriteKey("RARFname", folder, file);
    WriteKey("RARFmake", FlagToText(settings.RARFmake), file);
    WriteKey("RemeltRZ", FlagToText(settings.RemeltRZ), file);
    WriteKey("LISTFONT", FlagToText(settings.LISTFONT), file);
    SaveProfileFont(settings.listFont, "FONT", file);

    const struct {
        const char* key;
        int value;
    } kPlacement[] = {
        {"WinPos_X", settings.WinPos_X},
        {"WinPos_Y", settings.WinPos_Y},
        {"WinSizeX", settings.WinSizeX},
        {"WinSizeY", settings.WinSizeY},
    };
    for (const auto& entry : kPlacement) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", entry.value);
        WriteKey(entry.key, text, file);
    }
}
