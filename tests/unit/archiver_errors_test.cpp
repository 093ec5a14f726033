#include "extract/archiver_errors.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "extract/batch_log.h"
#include "extract/command_line.h"

TEST(ArchiverErrors, EveryCodeGivesOneRowWithItsText)
{
    const char* skipped = "スキップしたファイルがありました";
    const char* unknown = "原因不明エラーにより解凍できません";
    struct Case { int code; const char* text; };
    std::vector<Case> cases = {
        {1, skipped}, {0x7FFF, skipped}, {0x8000, unknown}, {0x8008, unknown}, {0x800B, unknown},
        {0x8011, unknown}, {0x8015, unknown}, {0x8021, unknown}, {0x8022, unknown}, {0x8034, unknown},
        {0, unknown}, {-1, unknown}, {static_cast<int>(0x80000000), unknown},
        {0x801B, "指定されたファイルは有効な LZH 書庫ではありません"},
        {0x8005, "ディスクの空きが足りません"}, {0x8033, "デバイスが見つかりません"},
    };
    int listed = 0;
    for (const ArchiverError* entry = ArchiverErrorTable; entry->text != nullptr; ++entry, ++listed) {
        cases.push_back({entry->code, entry->text});
    }
    EXPECT_EQ(39, listed);
    for (const Case& c : cases) {
        ClearBatchLog();
        LogArchiverError("LZH: ", c.code);
        EXPECT_EQ(std::string("LZH: ") + c.text + "\x02", BatchLogText()) << std::hex << c.code;
    }
}

TEST(ArchiverErrors, CommandLinesTakePathsAsTheyAre)
{
    struct Case { const char* command; const char* archive; const char* destination; const char* expected; };
    const Case cases[] = {
        {"x -u -gm1 ", "C:\\in dir\\a b.lzh", "D:\\out dir", "x -u -gm1 C:\\in dir\\a b.lzh D:\\out dir\\"},
        {"-x -u ", "C:\\a.zip", "D:\\out\\", "-x -u C:\\a.zip D:\\out\\"},
        {"-x -u ", "C:\\a.zip", "D:\\\x95\x5C", "-x -u C:\\a.zip D:\\\x95\x5C\\"},
    };
    for (const Case& c : cases) {
        char line[kCommandLineSize];
        BuildCommandLine(line, c.command, c.archive, c.destination);
        EXPECT_STREQ(c.expected, line);
    }
    char line[kCommandLineSize];
    const std::string huge(2000, 'a');
    BuildCommandLine(line, "x ", huge.c_str(), "D:\\out");
    EXPECT_EQ(static_cast<size_t>(kCommandLineSize - 1), std::string(line).size());
}
