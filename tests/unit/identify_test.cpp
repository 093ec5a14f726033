#include "identify/identify.h"

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "tests/support/samples.h"
#include "tests/support/temp_folder.h"

using namespace std::string_literals;

namespace {

// The identification as the results view words it: "short: description".
std::string Described()
{
    const IdentifyResult& result = LastIdentifyResult();
    std::string text = result.shortName != nullptr ? result.shortName + ": "s : "";
    return text + result.description;
}

struct Case {
    const char* name;
    std::string bytes;
    int kind;
    const char* described;
};

void ExpectIdentified(const TempFolder& temp, const Case& c)
{
    const std::string path = temp / c.name;
    ASSERT_TRUE(WriteFileBytes(path, c.bytes)) << c.name;
    EXPECT_EQ(c.kind, IdentifyFile(path.c_str())) << c.name;
    if (c.described != nullptr) {
        EXPECT_EQ(c.described, Described()) << c.name;
    }
}

}  // namespace

TEST(Identify, EverySampleKind)
{
    TempFolder temp;
    for (const Sample& sample : AllSamples()) {
        const std::string path = temp / sample.fileName;
        ASSERT_TRUE(WriteFileBytes(path, sample.bytes));
        EXPECT_EQ(sample.kind, IdentifyFile(path.c_str())) << sample.fileName;
        if (sample.kind < 1 || sample.kind > 3) {
            EXPECT_EQ(sample.message, Described()) << sample.fileName;
        }
    }
}

TEST(Identify, EdgeCasesOfTheTableAndTheComputedChecks)
{
    TempFolder temp;
    const std::string wav = "RIFF\x24\x08\x00\x00WAVEfmt "s + std::string(200, '\0');
    const Case cases[] = {
        {"empty", "", -1, "未知のフォーマットです"},
        {"short", "abc", -1, "未知のフォーマットです"},
        {"lhd", "xx-lhd-", -1, nullptr},
        {"sfx.exe", "MZ" + std::string(300, '\0') + "-lh5-", 4, "ｱﾌﾟﾘｹｰｼｮﾝ"},
        {"tagged.wav", wav + Mp3WithTag("T", "A"), 14, "WAV: WAVE ｻｳﾝﾄﾞ"},
        {"zero.gb", GameBoyRom(std::string(14, '\0')), 128, "GB: Gameboy ﾛﾑｲﾒｰｼﾞ"},
        {"md.smd", SmdRom("SEGA MEGA DRIVE (C)SEGA", "  ROCKET   KNIGHT  "), 129,
         "SMD: MEGA DRIVE ﾛﾑｲﾒｰｼﾞ ( ROCKET KNIGHT)"},
        {"untitled.smd", SmdRom("SEGA GENESIS", ""), 129, "SMD: GENESIS ﾛﾑｲﾒｰｼﾞ"},
        {"other.smd", SmdRom("SEGA SATURN", "X"), -1, "未知のフォーマットです"},
        {"cut.smd", SmdRom("SEGA GENESIS", "X").substr(0, 8911), -1, nullptr},
        {"ab.mp3", Mp3WithTag("B", "A"), 130, "MP3: MPEG layer3 ｻｳﾝﾄﾞ (A - B)"},
        {"blank-artist.mp3", Mp3WithTag("B", std::string(30, ' ')), 130, "MP3: MPEG layer3 ｻｳﾝﾄﾞ (B)"},
        {"artist-only.mp3", Mp3WithTag("", "A"), 130, "MP3: MPEG layer3 ｻｳﾝﾄﾞ (A)"},
        {"bare.mp3", Mp3WithTag("", ""), 130, "MP3: MPEG layer3 ｻｳﾝﾄﾞ"},
        {"kanji.mp3", Mp3WithTag("\x95\x5C\x8E\xA6", "\x89\xCC\x8E\xE8"), 130,
         "MP3: MPEG layer3 ｻｳﾝﾄﾞ (\x89\xCC\x8E\xE8 - \x95\x5C\x8E\xA6)"},
        {"tag-only.mp3", "TAG" + std::string(125, 'x'), 130, nullptr},
        {"short-tag.mp3", "TAG" + std::string(124, 'x'), -1, nullptr},
    };
    for (const Case& c : cases) ExpectIdentified(temp, c);
}

TEST(Identify, PathsThatCannotBeRead)
{
    TempFolder temp;
    EXPECT_EQ(-1, IdentifyFile((temp / "missing.zip").c_str()));
    EXPECT_STREQ("ファイルが見つかりません", LastIdentifyResult().description);
    EXPECT_EQ(0, IdentifyFile(temp.path().c_str()));
    EXPECT_STREQ("フォルダです", LastIdentifyResult().description);

    const std::string held = temp / "held.zip";
    ASSERT_TRUE(WriteFileBytes(held, "PK"));
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    EXPECT_EQ(-1, IdentifyFile(held.c_str()));
    EXPECT_STREQ("他のプロセスで使用中です", LastIdentifyResult().description);
    CloseHandle(holder);
    EXPECT_EQ(2, IdentifyFile(held.c_str())) << "readable again once released";
}
