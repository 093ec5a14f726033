// LZH and ZIP archives end to end: the real tolva.exe with the stand-in
// libraries, its results view, progress window and password prompt operated
// from outside.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/e2e/scenario.h"
#include "tests/support/temp_folder.h"

namespace {

const char kLzhSignature[] = "\\x00\\x00-lh5-";  // as script escapes, inside entries
const std::string kLzhHead = std::string("\0\0-lh5-\n", 8);
const std::string kZipHead = "PK\x03\x04\n";

}  // namespace

TEST(ArchiveEndToEnd, LzhAndZipExtractIntoNewFolders)
{
    Scenario s({"unlha32.dll", "unzip32.dll"});
    const std::string lzh = s.Archive("old data.lzh", kLzhHead, "entry readme.txt hello\nentry sub/deep.txt deep\n");
    const std::string zip = s.Archive("photos.zip", kZipHead, "entry a.jpg A\nentry dir/b.jpg B\n");

    EXPECT_EQ(ResultRows{}, s.Run({lzh, zip})) << "a batch without a message shows no rows";
    EXPECT_EQ((std::vector<std::string>{"old data", "photos"}), WaitForOpenedFolders(2));
    EXPECT_EQ("hello", ReadTextFile(s.out + "\\old data\\readme.txt"));
    EXPECT_EQ("deep", ReadTextFile(s.out + "\\old data\\sub\\deep.txt"));
    EXPECT_EQ("B", ReadTextFile(s.out + "\\photos\\dir\\b.jpg"));

    const std::string log = s.CallLog();
    EXPECT_TRUE(Contains(log, "Unlha\thwnd=set\tcmd=x -u -gm1 " + lzh + " " + s.out + "\\old data\\\tsize=16384")) << log;
    EXPECT_TRUE(Contains(log, "windll_unzip\targs=0,0,0,0\tflags=0,0,0,0,0,0,0,0,0,1,1,0,0,0,0\tarchive=" + zip +
                                  "\tdestination=" + s.out + "\\photos\t")) << log;
}

TEST(ArchiveEndToEnd, FailuresKeepWhatTheUserHadAndRemoveOnlyNewEmptyFolders)
{
    Scenario s({"unlha32.dll", "unzip32.dll"});
    const std::string badLzh = s.Archive("bad.lzh", kLzhHead, "result 0x801B\n");
    const std::string badZip = s.Archive("kept.zip", kZipHead, "result 3\n");
    CreateDirectoryA((s.out + "\\kept").c_str(), nullptr);
    WriteTextFile(s.out + "\\kept\\mine.txt", "mine");

    EXPECT_EQ((ResultRows{{"bad.lzh", "LZH: 指定されたファイルは有効な LZH 書庫ではありません"},
                          {"kept.zip", "ZIP: 解凍できませんでした"}}),
              s.Run({badLzh, badZip}));
    EXPECT_FALSE(FileExists(s.out + "\\bad")) << "the new empty folder is removed";
    EXPECT_EQ("mine", ReadTextFile(s.out + "\\kept\\mine.txt")) << "the folder that was there stays as it was";
    EXPECT_EQ(std::vector<std::string>{}, WaitForOpenedFolders(1, 1500)) << "no folder opens after a failure";
}

TEST(ArchiveEndToEnd, AMissingLibraryCostsOnlyItsOwnFile)
{
    Scenario s({"no-entry\\unzip32.dll"});
    const std::string lzh = s.Archive("a.lzh", kLzhHead, "entry x.txt x\n");
    const std::string zip = s.Archive("b.zip", kZipHead, "entry y.txt y\n");
    WriteTextFile(s.data + "\\c.txt", "plain");
    EXPECT_EQ((ResultRows{{"a.lzh", "Unlha32.dllがありません"},
                          {"b.zip", "Unzip32.dllのエラーです"},
                          {"c.txt", "未知のフォーマットです"}}),
              s.Run({lzh, zip, s.data + "\\c.txt"}));
    EXPECT_FALSE(FileExists(s.out + "\\b")) << "no folder for a library that lacks its entry point";
}

TEST(ArchiveEndToEnd, ALibraryInTheCurrentFolderIsNeverLoaded)
{
    Scenario s({});
    CopyStandin("unlha32.dll", s.data);  // planted beside the archive, none beside the program
    const std::string lzh = s.Archive("a.lzh", kLzhHead, "entry x.txt x\n");
    TolvaProcess tolva = StartTolva(s.program + "\\tolva.exe", {lzh}, s.data);
    EXPECT_EQ((ResultRows{{"a.lzh", "Unlha32.dllがありません"}}), s.Finish(tolva));
    EXPECT_EQ("", ReadTextFile(s.data + "\\standin-calls.log")) << "the planted library was loaded";
}

TEST(ArchiveEndToEnd, TheCommandLineFormOfTheZipLibrary)
{
    Scenario s({"unzip-only\\unzip32.dll"}, "RARFmake=FALSE\r\n");
    const std::string good = s.Archive("a b.zip", kZipHead, "entry one.txt 1\nprintfill 20000\nentry two.txt 2\n");
    const std::string bad = s.Archive("bad.zip", kZipHead, "result 0x8018\n");
    EXPECT_EQ((ResultRows{{"bad.zip", "zip: 書庫を開く事が出来ません"}}), s.Run({good, bad}));
    EXPECT_EQ("2", ReadTextFile(s.out + "\\two.txt"));
    EXPECT_TRUE(Contains(s.CallLog(), "UnZip\thwnd=set\tcmd=-x -u " + good + " " + s.out + "\\\tsize=16384"))
        << s.CallLog();
}

TEST(ArchiveEndToEnd, PasswordFromTheCandidatesOfPassTxt)
{
    Scenario s({"unzip32.dll"});
    WriteTextFile(s.program + "\\pass.txt", "first one\r\n\r\nright\tlast\r\n");
    const std::string zip = s.Archive("secret.zip", kZipHead, "password right\nentry s.txt secret\n");
    TolvaProcess tolva = s.Start({zip});
    HWND prompt = WaitForDialog(tolva, kPromptTitleEnd, 1009);
    ASSERT_NE(nullptr, prompt);
    EXPECT_EQ("secret.zip:ﾊﾟｽﾜｰﾄﾞが必要です", WindowText(prompt));
    HWND combo = GetDlgItem(prompt, 1009);
    EXPECT_TRUE(IsWindowVisible(combo));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(prompt, 1000)));
    EXPECT_EQ((std::vector<std::string>{"first one", "right", "last"}), ReadComboItems(combo));
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    PressButton(prompt, IDOK);
    EXPECT_EQ(ResultRows{}, s.Finish(tolva));
    EXPECT_EQ("secret", ReadTextFile(s.out + "\\secret\\s.txt"));
}

TEST(ArchiveEndToEnd, TypedPasswordAndEmptyPassword)
{
    Scenario s({"unzip32.dll"});
    const std::string zip = s.Archive("typed.zip", kZipHead, "password pw\nentry t.txt typed\n");
    TolvaProcess tolva = s.Start({zip});
    HWND prompt = WaitForDialog(tolva, kPromptTitleEnd, 1000);
    ASSERT_NE(nullptr, prompt);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(prompt, 1009))) << "no pass.txt: the masked field";
    PressButton(prompt, IDOK);  // an empty password is accepted and is wrong
    // The library asks again; this time the right one.
    Sleep(300);
    prompt = WaitForDialog(tolva, kPromptTitleEnd, 1000);
    ASSERT_NE(nullptr, prompt);
    SetWindowTextA(GetDlgItem(prompt, 1000), "pw");
    PressButton(prompt, IDOK);
    EXPECT_EQ(ResultRows{}, s.Finish(tolva));
    EXPECT_EQ("typed", ReadTextFile(s.out + "\\typed\\t.txt"));
    EXPECT_TRUE(Contains(s.CallLog(), "returned=0\ttext=\n")) << s.CallLog();
}

TEST(ArchiveEndToEnd, CancelInThePromptEndsTheBatch)
{
    Scenario s({"unzip32.dll"});
    const std::string zip = s.Archive("locked.zip", kZipHead, "password pw\nentry t.txt x\n");
    const std::string later = s.Archive("later.zip", kZipHead, "entry l.txt x\n");
    TolvaProcess tolva = s.Start({zip, later, s.data + "\\missing.txt"});
    HWND prompt = WaitForDialog(tolva, kPromptTitleEnd, 1000);
    ASSERT_NE(nullptr, prompt);
    PressButton(prompt, IDCANCEL);
    EXPECT_EQ((ResultRows{{"locked.zip", "ZIP: キャンセルされました"}}), s.Finish(tolva));
    EXPECT_FALSE(FileExists(s.out + "\\later")) << "the rest of the batch is skipped";
}

TEST(ArchiveEndToEnd, CancelInTheProgressWindowDuringALongExtraction)
{
    Scenario s({"unzip32.dll"});
    std::string script = "delay 300\n";
    for (int i = 0; i < 20; ++i) script += "entry file" + std::to_string(i) + ".txt x\n";
    const std::string zip = s.Archive("long.zip", kZipHead, script);
    const std::string later = s.Archive("later.zip", kZipHead, "entry l.txt x\n");
    TolvaProcess tolva = s.Start({zip, later});
    HWND progress = WaitForDialog(tolva, "", 1002);
    ASSERT_NE(nullptr, progress);
    EXPECT_EQ("long.zip", WindowText(GetDlgItem(progress, 1001)));
    Sleep(700);
    EXPECT_EQ("file1.txt", WindowText(GetDlgItem(progress, 1002)).substr(0, 9));
    PressButton(progress, IDCANCEL);
    EXPECT_EQ((ResultRows{{"long.zip", "ZIP: キャンセルされました"}}), s.Finish(tolva));
    EXPECT_FALSE(FileExists(s.out + "\\later"));
}

TEST(ArchiveEndToEnd, ASingleNestedArchiveIsExtractedOnceMore)
{
    const std::string inner = std::string("entry inner.lzh ") + kLzhSignature + "\\nentry\\sdeep.txt\\sdeep\\n\n";
    {
        Scenario s({"unlha32.dll", "unzip32.dll"}, "RARFmake=TRUE\r\nRemeltRZ=TRUE\r\n");
        EXPECT_EQ(ResultRows{}, s.Run({s.Archive("nest.zip", kZipHead, inner)}));
        EXPECT_EQ("deep", ReadTextFile(s.out + "\\nest\\deep.txt"));
        EXPECT_FALSE(FileExists(s.out + "\\nest\\inner.lzh")) << "the intermediate file is deleted";
    }
    {
        Scenario s({"unlha32.dll", "unzip32.dll"}, "RARFmake=TRUE\r\nRemeltRZ=FALSE\r\n");
        EXPECT_EQ(ResultRows{}, s.Run({s.Archive("nest.zip", kZipHead, inner)}));
        EXPECT_TRUE(FileExists(s.out + "\\nest\\inner.lzh"));
        EXPECT_FALSE(FileExists(s.out + "\\nest\\deep.txt"));
    }
    {
        Scenario s({"unlha32.dll", "unzip32.dll"}, "RARFmake=TRUE\r\nRemeltRZ=TRUE\r\n");
        const std::string two = inner + "entry other.txt x\n";
        EXPECT_EQ(ResultRows{}, s.Run({s.Archive("two.zip", kZipHead, two)}));
        EXPECT_TRUE(FileExists(s.out + "\\two\\inner.lzh")) << "two entries: nothing is re-extracted";
    }
    {
        Scenario s({"unlha32.dll", "unzip32.dll"}, "RARFmake=TRUE\r\nRemeltRZ=TRUE\r\n");
        const std::string outside = std::string("entry ../evil.lzh ") + kLzhSignature + "\\nentry\\sowned.txt\\sx\\n\n";
        CreateDirectoryA((s.out + "\\out-of-bounds").c_str(), nullptr);
        EXPECT_EQ(ResultRows{}, s.Run({s.Archive("out-of-bounds.zip", kZipHead, outside)}));
        EXPECT_TRUE(FileExists(s.out + "\\evil.lzh")) << "an entry outside the destination is left alone";
        EXPECT_FALSE(FileExists(s.out + "\\owned.txt"));
        EXPECT_FALSE(FileExists(s.out + "\\out-of-bounds\\owned.txt"));
    }
}
