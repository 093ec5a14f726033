// RAR archives as users meet them, end to end: the real tolva.exe with the
// real "unrar.dll" built from its public source, on archives that the real rar
// tool made for this run (tests/realrar/make-archives.sh): RAR 5 volume sets
// named "name.partN.rar", encrypted entries and headers, damaged sets.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/e2e/scenario.h"

namespace {

std::string RealRarFolder() { return BuildFolder() + "\\realrar"; }
std::string RealArchive(const std::string& name) { return RealRarFolder() + "\\archives\\" + name; }
std::string Content(const std::string& name) { return RealRarFolder() + "\\archives\\content\\" + name; }

// What the set.partN.rar volumes hold, as Extracted shows it.
const std::vector<std::string> kSetContent = {"data\\", "data\\one.bin same", "data\\two.bin same"};

void ListTree(const std::string& folder, const std::string& prefix, std::vector<std::string>& names)
{
    for (const std::string& name : FilesIn(folder)) {
        const std::string path = folder + "\\" + name;
        if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
            names.push_back(prefix + name + "\\");
            ListTree(path, prefix + name + "\\", names);
        } else {
            names.push_back(prefix + name);
        }
    }
}

// Everything below a destination folder, sorted: folders as "name\", files as
// "name same" when they equal the file the archives were made from, as
// "name N bytes" when not.
std::vector<std::string> Extracted(const std::string& folder)
{
    std::vector<std::string> names, shown;
    ListTree(folder, "", names);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        if (name.back() == '\\') {
            shown.push_back(name);
            continue;
        }
        const std::string bytes = ReadTextFile(folder + "\\" + name);
        shown.push_back(bytes == ReadTextFile(Content(name)) && !bytes.empty()
                            ? name + " same"
                            : name + " " + std::to_string(bytes.size()) + " bytes");
    }
    return shown;
}

HWND VolumeList(HWND main) { return GetDlgItem(main, 100); }

// A scenario whose program folder holds the real library, and whose data
// folder receives copies of the real archives.
struct RealScenario : Scenario {
    struct Copy {
        std::string bytes;  // as the user has them
        std::string path;
    };
    std::vector<Copy> copies;

    RealScenario() : Scenario({}) { CopyInto(RealRarFolder() + "\\unrar.dll", program); }

    // Copies an archive into the data folder (or a folder below it), under
    // its own name or another one, whole or only its first cut bytes; the
    // copy's path.
    std::string Put(const std::string& archive, const std::string& as = "", const std::string& folder = "",
                    size_t cut = 0)
    {
        std::string target = data;
        if (!folder.empty()) {
            target += "\\" + folder;
            CreateDirectoryA(target.c_str(), nullptr);
        }
        std::string bytes = ReadTextFile(RealArchive(archive));
        EXPECT_FALSE(bytes.empty()) << archive << ": make the archives (the realrar fixture)";
        if (cut != 0) bytes.resize(cut);
        const std::string copy = target + "\\" + (as.empty() ? archive : as);
        EXPECT_TRUE(WriteTextFile(copy, bytes)) << copy;
        copies.push_back({bytes, copy});
        return copy;
    }

    // The user's files are all there, byte for byte as they were given.
    void ExpectUserFilesUntouched() const
    {
        for (const Copy& copy : copies) EXPECT_TRUE(copy.bytes == ReadTextFile(copy.path)) << copy.path;
    }

    void ExpectTemporaryFolderEmpty() const
    {
        EXPECT_EQ(std::vector<std::string>{}, FilesIn(TempFolder())) << "every temporary copy is deleted";
    }
};

// The destination folder of an archive with a folder per archive.
std::string FolderFor(const std::string& name) { return name.substr(0, name.rfind('.')); }

// Runs the Extract command of the main menu and returns the rows it shows.
ResultRows ExtractFromMenu(const TolvaProcess& tolva, HWND main)
{
    PostMessageA(main, WM_COMMAND, 40006, 0);
    return AwaitBatch(tolva, main);
}

// After an answer to the password prompt: the prompt shown next, or null
// once the batch is over (its results view or the main window shows, or the
// program ends).
HWND PromptAgain(const TolvaProcess& tolva)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 20000) {
        if (HWND prompt = WaitForDialog(tolva, kPromptTitleEnd, 0, 0)) return prompt;
        if (WaitForResultsView(tolva, 0) != nullptr || WaitForMainWindow(tolva, 0) != nullptr) return nullptr;
        if (WaitForSingleObject(tolva.process, 0) == WAIT_OBJECT_0) return nullptr;
        Sleep(50);
    }
    return nullptr;
}

}  // namespace

TEST(RealRarEndToEnd, APartSetDroppedAsItsFirstVolumeAsAllItsVolumesOrAsItsLastVolume)
{
    RealScenario s;
    const std::string part1 = s.Put("set.part1.rar");
    const std::string part2 = s.Put("set.part2.rar");
    const std::string part3 = s.Put("set.part3.rar");

    EXPECT_EQ(ResultRows{}, s.Run({part1}));
    EXPECT_EQ(std::vector<std::string>{"set.part1"}, FilesIn(s.out));
    EXPECT_EQ(kSetContent, Extracted(s.out + "\\set.part1"));
    EXPECT_EQ(std::vector<std::string>{"set.part1"}, WaitForOpenedFolders(1));
    EXPECT_FALSE(FileExists(s.TempFolder())) << "a set that lies together is read where it lies";

    // Every volume dropped: the first extracts the set, the later ones add
    // no extraction of their own (each would open a folder window).
    RemoveTree(s.out + "\\set.part1");
    EXPECT_EQ(ResultRows{}, s.Run({part1, part2, part3}));
    EXPECT_EQ(std::vector<std::string>{"set.part1"}, FilesIn(s.out)) << "one destination folder";
    EXPECT_EQ(kSetContent, Extracted(s.out + "\\set.part1"));
    EXPECT_EQ(std::vector<std::string>{"set.part1"}, WaitForOpenedFolders(2, 3000)) << "the set is extracted once";

    // The last volume alone reads the set through its first volume.
    RemoveTree(s.out + "\\set.part1");
    EXPECT_EQ(ResultRows{}, s.Run({part3}));
    EXPECT_EQ(std::vector<std::string>{"set.part3"}, FilesIn(s.out)) << "the folder is named after the dropped file";
    EXPECT_EQ(kSetContent, Extracted(s.out + "\\set.part3"));
    EXPECT_EQ(std::vector<std::string>{"set.part3"}, WaitForOpenedFolders(1));

    EXPECT_FALSE(FileExists(s.TempFolder()));
    s.ExpectUserFilesUntouched();
}

TEST(RealRarEndToEnd, ARenamedSetIsReadInPlaceOrGatheredThroughTheTemporaryFolder)
{
    RealScenario s;
    // Every file dropped at once, some sets by a later volume first: each set
    // is extracted once, into the folder of the first of its files to arrive.
    // Old-style names beside each other: read where they lie.
    const std::string oldNames[] = {s.Put("set.part3.rar", "a.r01", "old"), s.Put("set.part2.rar", "a.r00", "old"),
                                    s.Put("set.part1.rar", "a.rar", "old")};
    // Gathered by their extension window: "film.rar.bak", "film.r00.bak" ...
    const std::string byWindow[] = {s.Put("set.part1.rar", "film.rar.bak"), s.Put("set.part2.rar", "film.r00.bak"),
                                    s.Put("set.part3.rar", "film.r01.bak")};
    // Gathered by one character: "disk_r.bin", "disk_0.bin" ...
    const std::string byCharacter[] = {s.Put("set.part3.rar", "disk_1.bin"), s.Put("set.part1.rar", "disk_r.bin"),
                                       s.Put("set.part2.rar", "disk_0.bin")};
    // A single archive under any name, read as the only volume.
    const std::string single = s.Put("compressed.rar", "data.bin");

    std::vector<std::string> dropped;
    for (const auto* group : {oldNames, byWindow, byCharacter}) dropped.insert(dropped.end(), group, group + 3);
    dropped.push_back(single);
    EXPECT_EQ(ResultRows{}, s.Run(dropped));
    EXPECT_EQ((std::vector<std::string>{"a", "data", "disk_1", "film.rar"}), FilesIn(s.out));
    EXPECT_EQ(kSetContent, Extracted(s.out + "\\a"));
    EXPECT_EQ(kSetContent, Extracted(s.out + "\\film.rar"));
    EXPECT_EQ(kSetContent, Extracted(s.out + "\\disk_1"));
    EXPECT_EQ((std::vector<std::string>{"readme.txt same", "表.txt same"}), Extracted(s.out + "\\data"));
    EXPECT_EQ((std::vector<std::string>{"a", "data", "disk_1", "film.rar"}), WaitForOpenedFolders(5, 3000))
        << "four extractions";
    s.ExpectTemporaryFolderEmpty();
    s.ExpectUserFilesUntouched();
}

TEST(RealRarEndToEnd, PartVolumesInTheListTakeTheirPositionsAndAreJoinedFromDifferentFolders)
{
    RealScenario s;
    const std::string part1 = s.Put("set.part1.rar", "", "a");
    const std::string part2 = s.Put("set.part2.rar", "", "b");
    const std::string part3 = s.Put("set.part3.rar", "", "c");

    TolvaProcess tolva = s.Start({part2, part3, part1});
    ResultRows rows;
    HWND main = s.FinishToMainWindow(tolva, rows);
    ASSERT_NE(nullptr, main) << "volumes apart from their set wait in the list";
    EXPECT_EQ(ResultRows{}, rows);
    EXPECT_EQ(std::vector<std::string>{}, FilesIn(s.out)) << "nothing extracted";
    HWND list = VolumeList(main);
    EXPECT_EQ((std::vector<std::string>{"r00|set.part2.rar|" + s.data + "\\b", "r01|set.part3.rar|" + s.data + "\\c",
                                        "rar|set.part1.rar|" + s.data + "\\a"}),
              ReadListRows(tolva, list, 3));

    EXPECT_EQ(ResultRows{}, ExtractFromMenu(tolva, main)) << "joined without relabelling";
    EXPECT_EQ(kSetContent, Extracted(s.out + "\\set.part1")) << "the destination follows the file labelled rar";
    EXPECT_EQ(std::vector<std::string>{"set.part1"}, WaitForOpenedFolders(1));
    EXPECT_EQ(3u, ReadListRows(tolva, list, 1).size());
    s.ExpectTemporaryFolderEmpty();
    s.ExpectUserFilesUntouched();
    s.Close(tolva, main);
}

TEST(RealRarEndToEnd, PasswordsForEncryptedHeadersAndEntries)
{
    enum Answer { kFromList, kTyped, kCancelled };
    struct Case {
        std::vector<std::string> archives;  // dropped together (archive, or archive>name for a renamed copy);
                                            // the first names the prompt and the folder
        const char* passList;               // pass.txt, when there is one
        Answer answer;
        const char* typed;                  // the password typed or the candidate chosen
        ResultRows rows;
        std::vector<std::string> extracted;
        std::vector<std::string> listed;    // label|name of the rows waiting in the list
    };
    const std::vector<std::string> locked = {"locked.part1.rar", "locked.part2.rar", "locked.part3.rar"};
    const Case cases[] = {
        {{"headers.rar"}, "wrong\r\ntolva-header\r\n", kFromList, "tolva-header", {}, {"secret.txt same"}, {}},
        {{"headers.rar"}, nullptr, kTyped, "tolva-header", {}, {"secret.txt same"}, {}},
        {{"headers.rar"}, nullptr, kCancelled, "", {{"headers.rar", "RAR: キャンセルされました"}}, {}, {}},
        {{"headers.rar"}, nullptr, kTyped, "nope", {{"headers.rar", "RAR: パスワードが違います"}}, {}, {"rar|headers.rar"}},
        {{"encrypted.rar"}, nullptr, kTyped, "nope", {{"encrypted.rar", "RAR: パスワードが違います"}}, {"readme.txt same"},
         {"rar|encrypted.rar"}},
        // Gathered through the temporary folder: the prompt names the user's file.
        {{"headers.rar>secret.bin"}, nullptr, kTyped, "tolva-header", {}, {"secret.txt same"}, {}},
        // A set with encrypted headers: asked once for the whole set, and its
        // volumes keep their positions when they wait in the list.
        {locked, nullptr, kTyped, "tolva-header", {}, kSetContent, {}},
        {locked, nullptr, kTyped, "nope", {{"locked.part1.rar", "RAR: パスワードが違います"}}, {},
         {"rar|locked.part1.rar", "r00|locked.part2.rar", "r01|locked.part3.rar"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.archives[0] + (c.passList != nullptr ? " from pass.txt: " : ": ") + c.typed);
        RealScenario s;
        if (c.passList != nullptr) WriteTextFile(s.program + "\\pass.txt", c.passList);
        std::vector<std::string> dropped, names;
        for (const std::string& archive : c.archives) {
            const size_t renamed = archive.find('>');
            names.push_back(renamed == std::string::npos ? archive : archive.substr(renamed + 1));
            dropped.push_back(s.Put(archive.substr(0, renamed), names.back()));
        }
        const std::string destination = s.out + "\\" + FolderFor(names[0]);
        TolvaProcess tolva = s.Start(dropped);

        const int input = c.passList != nullptr ? 1009 : 1000;
        HWND prompt = WaitForDialog(tolva, kPromptTitleEnd, input);
        ASSERT_NE(nullptr, prompt);
        EXPECT_EQ(names[0] + kPromptTitleEnd, WindowText(prompt));
        if (c.answer == kFromList) {
            EXPECT_EQ((std::vector<std::string>{"wrong", c.typed}), ReadComboItems(GetDlgItem(prompt, input)));
            SendMessageA(GetDlgItem(prompt, input), CB_SETCURSEL, 1, 0);
        } else if (c.answer == kTyped) {
            SetWindowTextA(GetDlgItem(prompt, input), c.typed);
        }
        PressButton(prompt, c.answer == kCancelled ? IDCANCEL : IDOK);
        for (int i = 0; i < 100 && IsWindow(prompt); ++i) Sleep(20);
        HWND again = PromptAgain(tolva);
        EXPECT_EQ(nullptr, again) << "asked once";
        if (again != nullptr) PressButton(again, IDCANCEL);

        ResultRows rows;
        HWND main = s.FinishToMainWindow(tolva, rows);
        EXPECT_EQ(c.rows, rows);
        EXPECT_EQ(c.extracted, Extracted(destination));
        if (c.extracted.empty()) {
            EXPECT_FALSE(FileExists(destination)) << "the folder made for it is removed again";
        }
        if (!c.listed.empty()) {
            ASSERT_NE(nullptr, main);
            EXPECT_EQ(c.listed, ReadListRows(tolva, VolumeList(main), 2));
            s.Close(tolva, main);
        } else {
            EXPECT_EQ(nullptr, main) << "nothing waits in the list: the program ends after its results";
            EXPECT_EQ(0, WaitForExit(tolva));
            CloseTolva(tolva);
        }
        if (c.rows.empty()) {
            EXPECT_EQ(std::vector<std::string>{FolderFor(names[0])}, WaitForOpenedFolders(1));
        }
        s.ExpectTemporaryFolderEmpty();
        s.ExpectUserFilesUntouched();
    }
}

TEST(RealRarEndToEnd, ATruncatedOrIncompleteSetWaitsInTheListAndSaysWhyWhenExtracted)
{
    struct Volume {
        const char* archive;
        const char* as;  // the user's name of it
        size_t cut;      // only its first bytes, when not 0
    };
    struct Case {
        std::vector<Volume> volumes;              // all dropped together
        ResultRows dropRows;                      // what dropping them says
        std::vector<std::string> listed;          // label|name
        std::vector<std::string> extracted;       // in the destination folder, after the drop and after Extract
        const char* row;                          // the library's answer to the Extract command
    };
    const Case cases[] = {
        // The first volume cut short: the check asks for a next volume that
        // is not there; extracting it meets the cut.
        {{{"trunc.rar", "trunc.rar", 0}}, {}, {"rar|trunc.rar"}, {}, "RAR: CRCエラーです"},
        {{{"gap.part1.rar", "gap.part1.rar", 0}, {"gap.part3.rar", "gap.part3.rar", 0}},
         {},
         {"rar|gap.part1.rar", "r01|gap.part3.rar"},
         {},
         "RAR: RARファイルが足りないか、開けません"},
        // The last volume cut short: skipping entries reads no data, so the
        // check passes; the extraction stops at the cut entry and says so.
        {{{"set.part1.rar", "cut.part1.rar", 0}, {"set.part2.rar", "cut.part2.rar", 0},
          {"set.part3.rar", "cut.part3.rar", 5000}},
         {{"cut.part1.rar", "RAR: CRCエラーです"}},
         {"rar|cut.part1.rar", "r00|cut.part2.rar", "r01|cut.part3.rar"},
         {"data\\", "data\\one.bin same"},
         "RAR: CRCエラーです"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.volumes[0].as);
        RealScenario s;
        std::vector<std::string> dropped;
        for (const Volume& volume : c.volumes) dropped.push_back(s.Put(volume.archive, volume.as, "", volume.cut));
        const std::string destination = s.out + "\\" + FolderFor(c.volumes[0].as);
        TolvaProcess tolva = s.Start(dropped);
        ResultRows rows;
        HWND main = s.FinishToMainWindow(tolva, rows);
        ASSERT_NE(nullptr, main);
        EXPECT_EQ(c.dropRows, rows);
        EXPECT_EQ(c.listed, ReadListRows(tolva, VolumeList(main), 2));
        EXPECT_EQ(c.extracted, Extracted(destination));
        if (c.extracted.empty()) {
            EXPECT_EQ(std::vector<std::string>{}, FilesIn(s.out)) << "nothing extracted";
        }
        s.ExpectTemporaryFolderEmpty();

        EXPECT_EQ((ResultRows{{"Tolva!", c.row}}), ExtractFromMenu(tolva, main));
        EXPECT_EQ(c.extracted, Extracted(destination));
        if (c.extracted.empty()) {
            EXPECT_FALSE(FileExists(destination)) << "the folder made for it is removed again";
        }
        s.ExpectTemporaryFolderEmpty();
        s.ExpectUserFilesUntouched();
        s.Close(tolva, main);
    }
}
