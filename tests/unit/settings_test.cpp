#include "shell/settings.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

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
