// RAR archives and volume sets end to end with the stand-in "unrar.dll":
// in place, gathered through the temporary folder, collected in the volume
// list and extracted together.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/e2e/scenario.h"

namespace {

const std::string kRar4 = std::string("Rar!\x1A\x07\x00\n", 8);
const std::string kRar5 = std::string("Rar!\x1A\x07\x01\x00\n", 9);

// A three-volume set of the older format: one.txt and two.txt in the first
// volume (two.txt goes on in the second), three.txt in the second, four.txt
// in the third.
struct ThreeVolumes {
    std::string first = "entry one.txt 1\nentry two.txt 2\ncontinues\n";
    std::string second = "volume 1 two.txt\nentry three.txt 3\nnextvolume\n";
    std::string third = "volume 2\nentry four.txt 4\n";
};

std::vector<std::string> Sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

int Count(const std::string& text, const std::string& part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

// How often the library opened an archive for extraction.
int Extractions(const std::string& log)
{
    int count = 0;
    size_t line = 0;
    while (line < log.size()) {
        const size_t end = log.find('\n', line);
        const std::string text = log.substr(line, end == std::string::npos ? std::string::npos : end - line);
        if (text.compare(0, 15, "RAROpenArchive\t") == 0 && Contains(text, "\tmode=1")) ++count;
        if (end == std::string::npos) break;
        line = end + 1;
    }
    return count;
}

HWND VolumeList(HWND main) { return GetDlgItem(main, 100); }

// Runs the Extract command of the main menu and returns the rows it shows.
ResultRows ExtractFromMenu(const TolvaProcess& tolva, HWND main)
{
    PostMessageA(main, WM_COMMAND, 40006, 0);
    return AwaitBatch(tolva, main);
}

}  // namespace

TEST(RarEndToEnd, ALaterVolumeExtractsItsSetWhereItLies)
{
    Scenario s({"unrar.dll"});
    const ThreeVolumes set;
    const std::string first = s.Archive("movie.rar", kRar4, set.first);
    const std::string second = s.Archive("movie.r00", kRar4, set.second);
    const std::string third = s.Archive("movie.r01", kRar4, set.third);

    EXPECT_EQ(ResultRows{}, s.Run({third}));
    EXPECT_EQ((std::vector<std::string>{"four.txt", "one.txt", "three.txt", "two.txt"}), FilesIn(s.out + "\\movie"));
    EXPECT_EQ(std::vector<std::string>{"movie"}, WaitForOpenedFolders(1));
    EXPECT_FALSE(FileExists(s.TempFolder())) << "a set that lies together needs no temporary folder";
    EXPECT_TRUE(Contains(s.CallLog(), "RAROpenArchive\tarc=" + first + "\tmode=1")) << s.CallLog();

    // All three dropped together: one extraction, one folder, no row.
    RemoveTree(s.out + "\\movie");
    const std::string before = s.CallLog();
    EXPECT_EQ(ResultRows{}, s.Run({first, second, third}));
    EXPECT_EQ(1, Extractions(s.CallLog().substr(before.size()))) << "the set is extracted once";
    EXPECT_EQ(std::vector<std::string>{"movie"}, WaitForOpenedFolders(1));
}

TEST(RarEndToEnd, EachWayOfGatheringVolumesThroughTheTemporaryFolder)
{
    Scenario s({"unrar.dll"});
    const ThreeVolumes set;
    // By the extension window: "film.rar.bak", "film.r00.bak" ...
    const std::string byWindow = s.Archive("film.rar.bak", kRar4, set.first);
    s.Archive("film.r00.bak", kRar4, set.second);
    s.Archive("film.r01.bak", kRar4, set.third);
    // By one character: "disk_r.bin", "disk_0.bin" ...
    const std::string byCharacter = s.Archive("disk_r.bin", kRar4, set.first);
    s.Archive("disk_0.bin", kRar4, set.second);
    s.Archive("disk_1.bin", kRar4, set.third);
    // A single archive under any name.
    const std::string single = s.Archive("data.bin", kRar4, "entry solo.txt solo\n");

    EXPECT_EQ(ResultRows{}, s.Run({byWindow, byCharacter, single}));
    EXPECT_EQ(4u, FilesIn(s.out + "\\film.rar").size());
    EXPECT_EQ(4u, FilesIn(s.out + "\\disk_r").size());
    EXPECT_EQ(std::vector<std::string>{"solo.txt"}, FilesIn(s.out + "\\data"));
    EXPECT_EQ(std::vector<std::string>{}, FilesIn(s.TempFolder())) << "every copy is deleted";
    EXPECT_EQ(7u, FilesIn(s.data).size()) << "the user's files stay";
    WaitForOpenedFolders(3);
}

TEST(RarEndToEnd, AnIncompleteSetJoinsTheVolumeListAndIsRelabelled)
{
    Scenario s({"unrar.dll"});
    const ThreeVolumes set;
    CreateDirectoryA((s.data + "\\a").c_str(), nullptr);
    CreateDirectoryA((s.data + "\\b").c_str(), nullptr);
    const std::string first = s.Archive("a\\first part.dat", kRar4, set.first);
    const std::string second = s.Archive("b\\movie.r07", kRar4, set.second);  // wrongly named
    const std::string third = s.Archive("b\\movie.r01", kRar4, set.third);

    TolvaProcess tolva = s.Start({first, second, third});
    ResultRows rows;
    HWND main = s.FinishToMainWindow(tolva, rows);
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(ResultRows{}, rows) << "joining the list adds no row";
    HWND list = VolumeList(main);
    EXPECT_EQ((std::vector<std::string>{"|first part.dat|" + s.data + "\\a", "r07|movie.r07|" + s.data + "\\b",
                                        "r01|movie.r01|" + s.data + "\\b"}),
              ReadListRows(tolva, list, 3));

    EXPECT_TRUE(ChooseFromRowMenu(tolva, list, 0, 10)) << "the menu: r00 ... r09, rar";
    EXPECT_TRUE(ChooseFromRowMenu(tolva, list, 1, 0));
    EXPECT_EQ((std::vector<std::string>{"rar", "r00", "r01"}),
              (std::vector<std::string>{ReadListRows(tolva, list, 1)[0], ReadListRows(tolva, list, 1)[1],
                                        ReadListRows(tolva, list, 1)[2]}));

    EXPECT_EQ(ResultRows{}, ExtractFromMenu(tolva, main));
    EXPECT_EQ(4u, FilesIn(s.out + "\\first part").size()) << "the destination follows the file labelled rar";
    EXPECT_EQ(std::vector<std::string>{}, FilesIn(s.TempFolder()));
    EXPECT_EQ(3, static_cast<int>(ReadListRows(tolva, list, 1).size())) << "extracting keeps the rows";
    WaitForOpenedFolders(1);
    s.Close(tolva, main);
}

TEST(RarEndToEnd, TheExtractCommandRefusesAmbiguousOrHeadlessLists)
{
    Scenario s({"unrar.dll"});
    const ThreeVolumes set;
    const std::string a = s.Archive("a.r01", kRar4, set.second);
    const std::string b = s.Archive("b.r01", kRar4, set.third);
    TolvaProcess tolva = s.Start({a, b});
    ResultRows rows;
    HWND main = s.FinishToMainWindow(tolva, rows);
    ASSERT_NE(nullptr, main);
    EXPECT_EQ((ResultRows{{"Tolva!", "r01が複数あります"}}), ExtractFromMenu(tolva, main));
    SelectListRows(tolva, VolumeList(main), {1});
    PostMessageA(main, WM_COMMAND, 40003, 0);  // Edit > Delete
    EXPECT_EQ((ResultRows{{"Tolva!", "rarファイルがありません"}}), ExtractFromMenu(tolva, main));
    PostMessageA(main, WM_COMMAND, 40010, 0);  // Edit > Delete all
    EXPECT_EQ((ResultRows{{"Tolva!", "ファイルが選択されていません"}}), ExtractFromMenu(tolva, main));
    EXPECT_FALSE(FileExists(s.TempFolder())) << "nothing was copied";
    s.Close(tolva, main);
}

TEST(RarEndToEnd, TheUserSeesTheirOwnNamesWhileTheLibraryReadsTheCopies)
{
    Scenario s({"unrar.dll"});
    WriteTextFile(s.program + "\\pass.txt", "secret\r\n");
    const std::string first = s.Archive("Holiday.dat", kRar4, "entry one.txt 1\nnextvolume\n");
    const std::string second = s.Archive("More.dat", kRar4, "volume 1\npassword secret\nentry two.txt 2\nentry three.txt 3\n");
    TolvaProcess tolva = s.Start({first, second});
    ResultRows rows;
    HWND main = s.FinishToMainWindow(tolva, rows);
    ASSERT_NE(nullptr, main);
    HWND list = VolumeList(main);
    SelectListRows(tolva, list, {0});
    SendMessageA(list, WM_COMMAND, 1300, 0);  // rar
    SelectListRows(tolva, list, {1});
    SendMessageA(list, WM_COMMAND, 1200, 0);  // r00
    PostMessageA(main, WM_COMMAND, 40006, 0);

    HWND prompt = WaitForDialog(tolva, kPromptTitleEnd, 1009);
    ASSERT_NE(nullptr, prompt);
    EXPECT_EQ("Holiday.dat:ﾊﾟｽﾜｰﾄﾞが必要です", WindowText(prompt));
    HWND progress = WaitForDialog(tolva, "", 1002);
    ASSERT_NE(nullptr, progress);
    EXPECT_EQ("More.dat", WindowText(GetDlgItem(progress, 1001))) << "the volume being read, by the user's name";
    EXPECT_EQ("two.txt", WindowText(GetDlgItem(progress, 1002)));
    // One batch at a time: while this one waits in the prompt, the main window
    // is disabled and a further Extract command starts nothing.
    EXPECT_FALSE(IsWindowEnabled(main));
    PostMessageA(main, WM_COMMAND, 40006, 0);
    SendMessageA(GetDlgItem(prompt, 1009), CB_SETCURSEL, 0, 0);
    PressButton(prompt, IDOK);

    EXPECT_EQ(ResultRows{}, AwaitBatch(tolva, main));
    EXPECT_EQ((std::vector<std::string>{"one.txt", "three.txt", "two.txt"}), FilesIn(s.out + "\\Holiday"));
    EXPECT_EQ(1, Count(s.CallLog(), "RARSetPassword\t")) << "asked once for the whole archive";
    EXPECT_EQ(1, Extractions(s.CallLog())) << "the command posted during the batch did nothing";
    EXPECT_TRUE(IsWindowEnabled(main));
    WaitForOpenedFolders(1);
    s.Close(tolva, main);
}

TEST(RarEndToEnd, PasswordCancelledAndWrong)
{
    {
        Scenario s({"unrar.dll"});
        const std::string locked = s.Archive("locked.rar", kRar5, "password pw\nentry a.txt A\n");
        const std::string later = s.Archive("later.rar", kRar5, "entry b.txt B\n");
        TolvaProcess tolva = s.Start({locked, later});
        HWND prompt = WaitForDialog(tolva, kPromptTitleEnd, 1000);
        ASSERT_NE(nullptr, prompt);
        PressButton(prompt, IDOK);  // empty: the prompt stays
        Sleep(300);
        EXPECT_TRUE(IsWindowVisible(prompt));
        PressButton(prompt, IDCANCEL);
        EXPECT_EQ((ResultRows{{"locked.rar", "RAR: キャンセルされました"}}), s.Finish(tolva))
            << "the batch ends: later.rar is skipped, nothing joins the list";
        EXPECT_FALSE(FileExists(s.out + "\\locked")) << "the folder made for it is removed again";
        EXPECT_FALSE(FileExists(s.out + "\\later"));
    }
    {
        Scenario s({"unrar.dll"});
        // Gathered by one character: the wrong password must not be asked
        // again for the single-file way of gathering.
        const std::string locked = s.Archive("lock_r.bin", kRar5, "password pw\nentry a.txt A\n");
        TolvaProcess tolva = s.Start({locked});
        HWND prompt = WaitForDialog(tolva, kPromptTitleEnd, 1000);
        ASSERT_NE(nullptr, prompt);
        SetWindowTextA(GetDlgItem(prompt, 1000), "nope");
        PressButton(prompt, IDOK);
        ResultRows rows;
        HWND main = s.FinishToMainWindow(tolva, rows);
        EXPECT_EQ((ResultRows{{"lock_r.bin", "RAR: パスワードが違います"}}), rows);
        EXPECT_EQ(1, Extractions(s.CallLog())) << "one extraction, one prompt";
        EXPECT_EQ(std::vector<std::string>{}, FilesIn(s.TempFolder()));
        if (main != nullptr) s.Close(tolva, main);
    }
}

TEST(RarEndToEnd, EveryFailureOfTheLibraryHasItsRow)
{
    struct Case {
        std::string script;
        const char* row;
        bool extractedSome = false;  // entries before the failure stay, and so does their folder
    };
    const Case cases[] = {
        {"openresult 11\n", "RAR: メモリが足りません"},
        {"openresult 12\n", "RAR: x.rarは破損しています"},
        {"openresult 13\n", "RAR: x.rarはRARファイルではありません"},
        {"openresult 15\n", "RAR: x.rarが開けません"},
        {"openresult 21\n", "RAR: x.rar: 不明なエラーです (コード 21)"},
        {"entry a.txt a\nheaderresult 12 after 1\n", "RAR: ヘッダーファイルが壊れています.", true},
        {"entry a.txt a\nheaderresult 18 after 1\n", "RAR: ファイル読み込みエラーです", true},
        {"entry a.txt a\nprocessresult 12 at 1\n", "RAR: CRCエラーです"},
        {"entry a.txt a\nprocessresult 15 at 1\n", "RAR: RARファイルが足りないか、開けません"},
        {"entry a.txt a\nprocessresult 16 at 1\n", "RAR: ファイルが作成できません"},
        {"entry a.txt a\nprocessresult 19 at 1\n", "RAR: ファイルの書き込みが出来ません"},
        {"entry a.txt a\nprocessresult 23 at 1\n", "RAR: 参照先のファイルがありません"},
        {"entry a.txt a\nprocessresult 25 at 1\n", "RAR: このライブラリでは扱えない辞書サイズです"},
    };
    for (const Case& c : cases) {
        Scenario s({"unrar.dll"});
        const std::string archive = s.Archive("x.rar", kRar4, c.script);
        TolvaProcess tolva = s.Start({archive});
        ResultRows rows;
        HWND main = s.FinishToMainWindow(tolva, rows);
        ASSERT_NE(nullptr, main) << c.script << ": a set that fails its check joins the list";
        EXPECT_EQ(ResultRows{}, rows);
        EXPECT_EQ((ResultRows{{"Tolva!", c.row}}), ExtractFromMenu(tolva, main)) << c.script;
        if (c.extractedSome) {
            EXPECT_EQ(std::vector<std::string>{"a.txt"}, FilesIn(s.out + "\\x")) << c.script;
        } else {
            EXPECT_FALSE(FileExists(s.out + "\\x")) << c.script << ": the empty new folder is removed";
        }
        s.Close(tolva, main);
    }
}

TEST(RarEndToEnd, AMissingLibraryOrTemporaryFolderSaysSo)
{
    {
        Scenario s({});
        const std::string inPlace = s.Archive("x.rar", kRar4, "entry a.txt a\n");
        const std::string gathered = s.Archive("data.bin", kRar4, "entry a.txt a\n");
        EXPECT_EQ((ResultRows{{"x.rar", "Unrar.dllがありません"}, {"data.bin", "Unrar.dllがありません"}}),
                  s.Run({inPlace, gathered}))
            << "the program ends after the view: nothing joined the list";
    }
    {
        Scenario s({"unrar.dll"});
        WriteTextFile(s.program + "\\Tolvatmp", "a file in the way");
        const std::string gathered = s.Archive("data.bin", kRar4, "entry a.txt a\n");
        TolvaProcess tolva = s.Start({gathered});
        ResultRows rows;
        HWND main = s.FinishToMainWindow(tolva, rows);
        EXPECT_EQ((ResultRows{{"data.bin", "テンポラリフォルダが作れません"}}), rows);
        ASSERT_NE(nullptr, main);
        EXPECT_EQ(1u, ReadListRows(tolva, VolumeList(main), 1).size());
        EXPECT_EQ("a file in the way", ReadTextFile(s.program + "\\Tolvatmp"));
        s.Close(tolva, main);
    }
}

TEST(RarEndToEnd, LabelsAreEditedInPlaceAndColumnsSort)
{
    Scenario s({"unrar.dll"});
    const std::string b = s.Archive("b.r01", kRar4, "openresult 13\n");
    const std::string a = s.Archive("a.r00", kRar4, "openresult 13\n");
    const std::string c = s.Archive("c.rar", kRar4, "openresult 13\n");
    TolvaProcess tolva = s.Start({b, a, c});
    ResultRows rows;
    HWND main = s.FinishToMainWindow(tolva, rows);
    ASSERT_NE(nullptr, main);
    HWND list = VolumeList(main);

    // The typed text is taken however the edit ends, Esc included, cut to 63 bytes.
    const std::string typed[] = {"r09", std::string(100, 'x')};
    const int keys[] = {VK_ESCAPE, VK_RETURN};
    for (int i = 0; i < 2; ++i) {
        SetFocus(list);
        HWND edit = reinterpret_cast<HWND>(SendMessageA(list, LVM_EDITLABELA, i, 0));
        ASSERT_NE(nullptr, edit);
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed[i].c_str()));
        PostMessageA(edit, WM_KEYDOWN, keys[i], 0);
        for (int wait = 0; wait < 100 && IsWindow(edit); ++wait) Sleep(20);
    }
    EXPECT_EQ("r09", ReadListRows(tolva, list, 1)[0]);
    EXPECT_EQ(std::string(63, 'x'), ReadListRows(tolva, list, 1)[1]);

    // Clicks on the name column's header: ascending, descending, ascending.
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    const std::vector<std::string> ascending = {"a.r00", "b.r01", "c.rar"};
    const std::vector<std::string> descending = {"c.rar", "b.r01", "a.r00"};
    for (const auto& expected : {ascending, descending, ascending}) {
        PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(75, 5));
        PostMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(75, 5));
        Sleep(300);
        std::vector<std::string> names;
        for (const std::string& row : ReadListRows(tolva, list, 2)) names.push_back(row.substr(row.find('|') + 1));
        EXPECT_EQ(expected, names);
    }
    s.Close(tolva, main);
}
