#include "extract/dispatcher.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/files.h"
#include "extract/batch_log.h"
#include "shell/settings.h"
#include "tests/support/samples.h"
#include "tests/support/temp_folder.h"

namespace {

typedef std::vector<std::pair<std::string, std::string>> Rows;

Rows WalkRows()
{
    Rows rows;
    WalkBatchLog([](void* context, const char* name, const char* message) {
        static_cast<Rows*>(context)->emplace_back(name, message);
    }, &rows);
    return rows;
}

struct SettingsScope {
    Settings saved = CurrentSettings();
    ~SettingsScope() { CurrentSettings() = saved; }
};

}  // namespace

TEST(Dispatcher, DestinationFolderFromTheSettings)
{
    SettingsScope scope;
    std::string programFolder = ProgramFolder();
    programFolder.pop_back();
    struct Case { const char* folder; int perArchive; const char* archive; std::string expected; };
    const Case cases[] = {
        {"D:\\out", 1, "C:\\in\\data.zip", "D:\\out\\data"},
        {"D:\\out\\", 1, "C:\\in\\data.zip", "D:\\out\\data"},
        {"D:\\out", 1, "C:\\in\\.zip", "D:\\out\\Untitled"},
        {"D:\\out", 0, "C:\\in\\data.zip", "D:\\out"},
        {"D:\\", 0, "C:\\in\\data.zip", "D:\\"},
        {"D:\\", 1, "C:\\in\\a.b.lzh", "D:\\a.b"},
        {"D:\\\x95\x5C", 0, "x.zip", "D:\\\x95\x5C"},
        {"", 0, "C:\\in\\data.zip", programFolder},
        {"", 1, "C:\\in\\data.zip", programFolder + "\\data"},
    };
    for (const Case& c : cases) {
        std::strcpy(CurrentSettings().RARFname, c.folder);
        CurrentSettings().RARFmake = c.perArchive;
        EXPECT_EQ(c.expected, std::string(DestinationFolderFor(c.archive))) << c.folder << " " << c.archive;
    }
}

TEST(Dispatcher, DestinationNeverOverrunsItsBuffer)
{
    SettingsScope scope;
    std::memset(CurrentSettings().RARFname, 'd', 259);
    CurrentSettings().RARFname[259] = 0;
    CurrentSettings().RARFmake = 1;
    const std::string longName = "C:\\" + std::string(250, 'n') + ".zip";
    const std::string result = DestinationFolderFor(longName.c_str());
    EXPECT_EQ(323u, result.size());
    EXPECT_EQ(std::string(259, 'd') + "\\" + std::string(63, 'n'), result);
}

TEST(Dispatcher, EveryKindGivesItsRowInBatchOrder)
{
    TempFolder temp;
    ClearBatchLog();
    BatchStatus = 0;
    Rows expected;
    for (const Sample& sample : AllSamples()) {
        const std::string path = temp / sample.fileName;
        ASSERT_TRUE(WriteFileBytes(path, sample.bytes));
        ProcessFile(path.c_str());
        expected.emplace_back(sample.fileName, sample.message);
    }
    ProcessFile((temp / "missing.rar").c_str());
    expected.emplace_back("missing.rar", "ファイルが見つかりません");
    ProcessFile(temp.path().c_str());
    expected.emplace_back(temp.path().substr(temp.path().rfind('\\') + 1), "フォルダです");
    EXPECT_EQ(expected, WalkRows());
    EXPECT_EQ(-2, BatchStatus) << "the last archive's library was missing";
}

TEST(Dispatcher, AStoppedBatchSkipsLaterFilesWithoutATrace)
{
    TempFolder temp;
    ASSERT_TRUE(WriteFileBytes(temp / "a.txt", "text"));
    ClearBatchLog();
    BatchStatus = -3;
    ProcessFile((temp / "a.txt").c_str());
    EXPECT_STREQ("", BatchLogText());
    BatchStatus = 0;
}

TEST(Dispatcher, NonArchivesLeaveTheBatchStatus)
{
    TempFolder temp;
    ASSERT_TRUE(WriteFileBytes(temp / "a.zip", "PK"));
    ASSERT_TRUE(WriteFileBytes(temp / "b.txt", "text"));
    ClearBatchLog();
    BatchStatus = 0;
    ProcessFile((temp / "a.zip").c_str());
    ProcessFile((temp / "b.txt").c_str());
    EXPECT_EQ(-2, BatchStatus);
    EXPECT_EQ((Rows{{"a.zip", "Unzip32.dllがありません"}, {"b.txt", "未知のフォーマットです"}}), WalkRows());
}
