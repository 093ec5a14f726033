#include "shell/settings.h"

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "core/text.h"
#include "shell/settings_text.h"
#include "tests/support/samples.h"
#include "tests/support/temp_folder.h"

namespace {

Settings LoadFromText(const TempFolder& temp, const std::string& ini)
{
    const std::string path = temp / "Tolva.ini";
    EXPECT_TRUE(WriteFileBytes(path, ini));
    Settings settings;
    std::memset(&settings, 0x5A, sizeof settings);  // loading must set every field
    LoadSettingsFrom(settings, path.c_str());
    return settings;
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Settings DefaultSettings(const TempFolder& temp)
{
    Settings settings;
    LoadSettingsFrom(settings, (temp / "none.ini").c_str());
    return settings;
}

// The fields that the file holds; the other font members are not saved.
void ExpectSameSavedFields(const Settings& expected, const Settings& actual)
{
    EXPECT_EQ(expected.WinPos_X, actual.WinPos_X);
    EXPECT_EQ(expected.WinPos_Y, actual.WinPos_Y);
    EXPECT_EQ(expected.WinSizeX, actual.WinSizeX);
    EXPECT_EQ(expected.WinSizeY, actual.WinSizeY);
    EXPECT_EQ(expected.LISTFONT, actual.LISTFONT);
    EXPECT_STREQ(expected.RARFname, actual.RARFname);
    EXPECT_EQ(expected.RARFmake, actual.RARFmake);
    EXPECT_EQ(expected.RemeltRZ, actual.RemeltRZ);
    EXPECT_STREQ(expected.listFont.lfFaceName, actual.listFont.lfFaceName);
    EXPECT_EQ(expected.listFont.lfHeight, actual.listFont.lfHeight);
    EXPECT_EQ(expected.listFont.lfWeight, actual.listFont.lfWeight);
    EXPECT_EQ(expected.listFont.lfCharSet, actual.listFont.lfCharSet);
    EXPECT_EQ(expected.listFont.lfItalic, actual.listFont.lfItalic);
    EXPECT_EQ(expected.listFont.lfUnderline, actual.listFont.lfUnderline);
    EXPECT_EQ(expected.listFont.lfStrikeOut, actual.listFont.lfStrikeOut);
}

}  // namespace

TEST(Settings, DefaultsWithoutAFile)
{
    TempFolder temp;
    Settings settings;
    std::memset(&settings, 0x5A, sizeof settings);
    LoadSettingsFrom(settings, (temp / "none.ini").c_str());
    EXPECT_EQ(64, settings.WinPos_X);
    EXPECT_EQ(64, settings.WinPos_Y);
    EXPECT_EQ(256, settings.WinSizeX);
    EXPECT_EQ(256, settings.WinSizeY);
    EXPECT_EQ(0, settings.LISTFONT);
    EXPECT_EQ(0, settings.RARFmake);
    EXPECT_EQ(0, settings.RemeltRZ);
    EXPECT_STREQ("", settings.RARFname);
    EXPECT_EQ(128, settings.listFont.lfCharSet);
    EXPECT_STREQ("ＭＳ Ｐゴシック", settings.listFont.lfFaceName);
    EXPECT_EQ(0, settings.listFont.lfHeight);
    EXPECT_EQ(0, settings.listFont.lfWeight);
    EXPECT_EQ(0, settings.listFont.lfItalic);
    EXPECT_EQ(0, settings.listFont.lfQuality);
}

TEST(Settings, ValuesAndTheirConversions)
{
    TempFolder temp;
    const Settings s = LoadFromText(temp,
        "[tolva]\r\n"
        "rarfname=  D:\\out dir   \r\n"
        "RARFmake=TRUE   \r\n"
        "RemeltRZ=True\r\n"
        "LISTFONT=true\r\n"
        "FONTFace=\r\n"
        "FONTSize=fffffff4\r\n"
        "FONTBold=12 and more\r\n"
        "FONTSetC=1234\r\n"
        "FONTType=Strike\r\n"
        "WinPos_X=-8\r\n"
        "WinSizeY=300\r\n");
    // The profile functions drop the blanks around a value; inner ones stay.
    EXPECT_STREQ("D:\\out dir", s.RARFname);
    EXPECT_EQ(1, s.RARFmake);
    EXPECT_EQ(0, s.RemeltRZ);
    EXPECT_EQ(1, s.LISTFONT);
    EXPECT_STREQ("ＭＳ Ｐゴシック", s.listFont.lfFaceName) << "an empty face keeps the default";
    EXPECT_EQ(-12, s.listFont.lfHeight);
    EXPECT_EQ(0x12, s.listFont.lfWeight);
    EXPECT_EQ(0x34, s.listFont.lfCharSet);
    EXPECT_EQ(1, s.listFont.lfItalic);
    EXPECT_EQ(0, s.listFont.lfUnderline);
    EXPECT_EQ(1, s.listFont.lfStrikeOut);
    EXPECT_EQ(-8, s.WinPos_X);
    EXPECT_EQ(64, s.WinPos_Y);
    EXPECT_EQ(256, s.WinSizeX);
    EXPECT_EQ(300, s.WinSizeY);
}

TEST(Settings, OverlongValuesAreCutInsideTheirFields)
{
    TempFolder temp;
    const std::string longFolder(400, 'd');
    const std::string longFace(60, 'F');
    const Settings s = LoadFromText(temp, "[Tolva]\r\nRARFname=" + longFolder + "\r\nFONTFace=" + longFace +
                                              "\r\nFONTSize=123456789\r\n");
    EXPECT_EQ(259u, std::strlen(s.RARFname));
    EXPECT_EQ(longFace.substr(0, 31), s.listFont.lfFaceName);
    EXPECT_EQ(0x12345678, s.listFont.lfHeight) << "only the first eight hex digits count";
}

TEST(Settings, TextConversions)
{
    struct FlagCase { const char* text; int flag; };
    const FlagCase flags[] = {{"TRUE", 1}, {"true", 1}, {"TRUE  ", 1}, {"True", 0}, {"1", 0}, {" TRUE", 0}, {"", 0}};
    for (const FlagCase& c : flags) EXPECT_EQ(c.flag, TextToFlag(c.text)) << c.text;
    EXPECT_STREQ("TRUE", FlagToText(7));
    EXPECT_STREQ("FALSE", FlagToText(0));

    struct HexCase { const char* text; int32_t value; };
    const HexCase hexes[] = {{"fffffff4", -12}, {"12 ab", 0x12}, {"123456789", 0x12345678}, {"-12", 0},
                             {"", 0}, {"00000190", 400}, {"aBcD", 0xABCD}, {"xyz", 0}};
    for (const HexCase& c : hexes) EXPECT_EQ(c.value, HexToValue(c.text)) << c.text;

    char hex[9];
    ValueToHex(400, hex);
    EXPECT_STREQ("00000190", hex);
    ValueToHex(-12, hex);
    EXPECT_STREQ("FFFFFFF4", hex);

    struct StyleCase { int i, u, s; const char* letters; };
    const StyleCase styles[] = {{1, 1, 1, "IUS"}, {0, 1, 1, "US"}, {0, 0, 0, "normal"}, {1, 0, 0, "I"}};
    for (const StyleCase& c : styles) {
        char letters[7];
        StyleLetters(c.i, c.u, c.s, letters);
        EXPECT_STREQ(c.letters, letters);
    }
    unsigned char i = 0, u = 0, s = 0;
    ApplyStyleLetters("Bold", &i, &u, &s);
    ApplyStyleLetters("normal", &i, &u, &s);
    EXPECT_EQ(0, i + u + s);
}

TEST(SettingsSave, ANewFileListsTheThirteenKeysInOrder)
{
    TempFolder temp;
    const std::string path = temp / "Tolva.ini";
    SaveSettingsTo(DefaultSettings(temp), path.c_str());
    EXPECT_EQ("[Tolva]\r\n"
              "RARFname=\r\n"
              "RARFmake=FALSE\r\n"
              "RemeltRZ=FALSE\r\n"
              "LISTFONT=FALSE\r\n"
              "FONTFace=ＭＳ Ｐゴシック\r\n"
              "FONTSize=00000000\r\n"
              "FONTBold=00000000\r\n"
              "FONTSetC=80\r\n"
              "FONTType=normal\r\n"
              "WinPos_X=64\r\n"
              "WinPos_Y=64\r\n"
              "WinSizeX=256\r\n"
              "WinSizeY=256\r\n",
              ReadWholeFile(path));
}

TEST(SettingsSave, ValuesKeepTheirWrittenForms)
{
    TempFolder temp;
    Settings settings = DefaultSettings(temp);
    settings.WinPos_X = -8;
    settings.WinPos_Y = -32000;
    settings.WinSizeX = 1024;
    settings.WinSizeY = 7;
    settings.LISTFONT = 1;
    settings.RARFmake = 5;  // any non-zero value is on
    BoundedCopy(settings.RARFname, "C:\\\x95\x5C\\out", sizeof settings.RARFname);
    settings.listFont.lfHeight = -12;
    settings.listFont.lfWeight = 700;
    settings.listFont.lfCharSet = 0;
    settings.listFont.lfUnderline = 1;
    settings.listFont.lfStrikeOut = 1;
    BoundedCopy(settings.listFont.lfFaceName, "Arial", sizeof settings.listFont.lfFaceName);
    const std::string path = temp / "Tolva.ini";
    SaveSettingsTo(settings, path.c_str());
    EXPECT_EQ("[Tolva]\r\n"
              "RARFname=C:\\\x95\x5C\\out\r\n"
              "RARFmake=TRUE\r\n"
              "RemeltRZ=FALSE\r\n"
              "LISTFONT=TRUE\r\n"
              "FONTFace=Arial\r\n"
              "FONTSize=FFFFFFF4\r\n"
              "FONTBold=000002BC\r\n"
              "FONTSetC=00\r\n"
              "FONTType=US\r\n"
              "WinPos_X=-8\r\n"
              "WinPos_Y=-32000\r\n"
              "WinSizeX=1024\r\n"
              "WinSizeY=7\r\n",
              ReadWholeFile(path));
}

TEST(SettingsSave, RoundTrips)
{
    TempFolder temp;
    const std::string path = temp / "Tolva.ini";
    struct Case {
        const char* folder;
        const char* face;
        int height, weight, charSet, italic, underline, strikeOut;
        int flags;  // LISTFONT, RARFmake, RemeltRZ as bits 0, 1, 2
        int x, y, width, height2;
    };
    const Case cases[] = {
        {"", "ＭＳ Ｐゴシック", 0, 0, 128, 0, 0, 0, 0, 64, 64, 256, 256},
        {"D:\\dest folder", "Courier New", -12, 400, 0, 1, 1, 1, 7, -8, -8, 1936, 1056},
        {"\x83\x5C\x83\x74\x83\x67", "\x82\x6C\x82\x72 \x96\xBE\x92\xA9", 16, 700, 0xFF, 1, 0, 0, 2, 0, 0, 1, 1},
        {"X", "F234567890123456789012345678901", 0x7FFFFFFF, -1, 1, 0, 0, 1, 4, 32767, -32000, 0, 0},
    };
    for (const Case& c : cases) {
        Settings saved = DefaultSettings(temp);
        BoundedCopy(saved.RARFname, c.folder, sizeof saved.RARFname);
        BoundedCopy(saved.listFont.lfFaceName, c.face, sizeof saved.listFont.lfFaceName);
        saved.listFont.lfHeight = c.height;
        saved.listFont.lfWeight = c.weight;
        saved.listFont.lfCharSet = static_cast<BYTE>(c.charSet);
        saved.listFont.lfItalic = static_cast<BYTE>(c.italic);
        saved.listFont.lfUnderline = static_cast<BYTE>(c.underline);
        saved.listFont.lfStrikeOut = static_cast<BYTE>(c.strikeOut);
        saved.LISTFONT = c.flags & 1;
        saved.RARFmake = (c.flags >> 1) & 1;
        saved.RemeltRZ = (c.flags >> 2) & 1;
        saved.WinPos_X = c.x;
        saved.WinPos_Y = c.y;
        saved.WinSizeX = c.width;
        saved.WinSizeY = c.height2;
        SaveSettingsTo(saved, path.c_str());
        Settings loaded;
        LoadSettingsFrom(loaded, path.c_str());
        SCOPED_TRACE(c.face);
        ExpectSameSavedFields(saved, loaded);
    }
}

TEST(SettingsSave, AnExistingFileIsUpdatedInPlace)
{
    TempFolder temp;
    const std::string path = temp / "Tolva.ini";
    ASSERT_TRUE(WriteFileBytes(path,
                               "[Other]\r\nkey=kept\r\n"
                               "[tolva]\r\nwinsizey=1\r\nrarfmake=TRUE\r\nNote=mine\r\n"
                               "[Last]\r\nx=1\r\n"));
    SaveSettingsTo(DefaultSettings(temp), path.c_str());
    const std::string text = ReadWholeFile(path);
    // The keys already there keep their place (and spelling); the others follow
    // them at the end of the section, in the saving order; nothing else changes.
    EXPECT_EQ("[Other]\r\nkey=kept\r\n"
              "[tolva]\r\nwinsizey=256\r\nrarfmake=FALSE\r\nNote=mine\r\n"
              "RARFname=\r\nRemeltRZ=FALSE\r\nLISTFONT=FALSE\r\nFONTFace=ＭＳ Ｐゴシック\r\n"
              "FONTSize=00000000\r\nFONTBold=00000000\r\nFONTSetC=80\r\nFONTType=normal\r\n"
              "WinPos_X=64\r\nWinPos_Y=64\r\nWinSizeX=256\r\n"
              "[Last]\r\nx=1\r\n",
              text);
}

TEST(SettingsSave, AFaceWithoutTerminatorStaysInsideItsField)
{
    TempFolder temp;
    const std::string path = temp / "Tolva.ini";
    struct {
        LOGFONTA font;
        char after[16];
        char end;
    } record;
    std::memset(&record, 'F', sizeof record);  // the face runs on past the record
    record.end = 0;
    SaveProfileFont(record.font, "FONT", path.c_str());
    char face[64] = "";
    GetPrivateProfileStringA("Tolva", "FONTFace", "", face, sizeof face, path.c_str());
    EXPECT_EQ(std::string(31, 'F'), face);
}

TEST(SettingsSave, AnUnwritableFileIsIgnored)
{
    TempFolder temp;
    // A folder in the way of the file: every write fails, and nothing breaks.
    const std::string path = temp / "Tolva.ini";
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
    SaveSettingsTo(DefaultSettings(temp), path.c_str());
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}
