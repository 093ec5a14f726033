#include "core/files.h"

#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/samples.h"
#include "tests/support/temp_folder.h"

TEST(Files, ProbePathTellsFilesFoldersAndNothing)
{
    TempFolder temp;
    ASSERT_TRUE(WriteFileBytes(temp / "file.txt", "x"));
    ASSERT_TRUE(CreateDirectoryA((temp / "\x95\x5C").c_str(), nullptr));  // 表
    struct Case { std::string path; int expected; };
    const Case cases[] = {
        {temp / "file.txt", 0},
        {temp.path(), 1},
        {temp.path() + "\\", 1},          // a folder with its trailing backslash is found
        {temp / "\x95\x5C", 1},
        {temp / "missing", -1},
        {temp / "file.txt\\", -1},
        {temp / "*.txt", -1},             // a wildcard matches nothing, even when a file would fit
        {temp / "fil?.txt", -1},
        {"Z:\\", 1},                      // a drive root is a folder
        {"", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, ProbePath(c.path.c_str())) << c.path;
}

TEST(Files, EnsureFolderMakesOneLevelAndNeverOverAFile)
{
    TempFolder temp;
    ASSERT_TRUE(WriteFileBytes(temp / "file", "x"));
    EXPECT_EQ(-2, EnsureFolder((temp / "file").c_str()));
    EXPECT_EQ(0, ProbePath((temp / "file").c_str())) << "the file must stay a file";
    EXPECT_EQ(1, EnsureFolder((temp / "new").c_str()));
    EXPECT_EQ(0, EnsureFolder((temp / "new").c_str()));
    EXPECT_EQ(-1, EnsureFolder((temp / "a\\b").c_str()));
    EXPECT_EQ(-1, ProbePath((temp / "a").c_str())) << "only one level is ever made";
    EXPECT_EQ(0, EnsureFolder("Z:\\"));
}

TEST(Files, RemovePrimitivesReportFailure)
{
    TempFolder temp;
    ASSERT_TRUE(WriteFileBytes(temp / "f", "x"));
    ASSERT_EQ(0, MakeFolder((temp / "d").c_str()));
    ASSERT_TRUE(WriteFileBytes(temp / "d\\inner", "x"));
    EXPECT_EQ(-1, RemoveFolder((temp / "d").c_str())) << "a folder with content stays";
    EXPECT_EQ(0, RemoveFile((temp / "d\\inner").c_str()));
    EXPECT_EQ(0, RemoveFolder((temp / "d").c_str()));
    EXPECT_EQ(-1, RemoveFile((temp / "d\\inner").c_str()));
    EXPECT_EQ(-1, MakeFolder((temp / "f").c_str()));
}

TEST(Files, LongNameOfReplacesOnlyTheFinalComponent)
{
    TempFolder temp;
    const std::string longName = "a long name with blanks \x95\x5C.zip";
    ASSERT_TRUE(WriteFileBytes(temp / longName, "PK"));
    char shortPath[MAX_PATH] = "";
    GetShortPathNameA((temp / longName).c_str(), shortPath, sizeof shortPath);

    struct Case { std::string input; std::string expected; };
    const Case cases[] = {
        {temp / longName, temp / longName},
        {temp / "missing.zip", temp / "missing.zip"},  // unchanged, reported missing later
        {temp / "*.zip", temp / "*.zip"},              // never picks some matching file
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, std::string(LongNameOf(c.input.c_str()))) << c.input;
    if (shortPath[0] != 0) {
        const std::string result = LongNameOf(shortPath);
        EXPECT_EQ(longName, result.substr(result.size() - longName.size())) << shortPath;
    }
}

TEST(Files, ReplaceWithLongNameRefusesANameLongerThanTheCapacity)
{
    TempFolder temp;
    ASSERT_TRUE(WriteFileBytes(temp / "abcdefgh.txt", "x"));
    char buffer[MAX_PATH];
    std::strcpy(buffer, (temp / "abcdefgh.txt").c_str());
    EXPECT_EQ(0, ReplaceWithLongName(buffer, 12));
    EXPECT_EQ(temp / "abcdefgh.txt", buffer) << "untouched on refusal";
    EXPECT_EQ(12, ReplaceWithLongName(buffer, 13));
    EXPECT_STREQ("abcdefgh.txt", buffer);
}

TEST(Files, RemoveEmptyFolderTreeKeepsEveryFile)
{
    TempFolder temp;
    ASSERT_EQ(0, MakeFolder((temp / "empty").c_str()));
    ASSERT_EQ(0, MakeFolder((temp / "empty\\a").c_str()));
    ASSERT_EQ(0, MakeFolder((temp / "empty\\a\\b").c_str()));
    EXPECT_EQ(0, RemoveEmptyFolderTree((temp / "empty").c_str()));
    EXPECT_EQ(-1, ProbePath((temp / "empty").c_str()));

    ASSERT_EQ(0, MakeFolder((temp / "kept").c_str()));
    ASSERT_EQ(0, MakeFolder((temp / "kept\\a").c_str()));
    ASSERT_EQ(0, MakeFolder((temp / "kept\\z").c_str()));
    ASSERT_TRUE(WriteFileBytes(temp / "kept\\a\\file.txt", "x"));
    EXPECT_EQ(-1, RemoveEmptyFolderTree((temp / "kept").c_str()));
    EXPECT_EQ(0, ProbePath((temp / "kept\\a\\file.txt").c_str()));
    EXPECT_EQ(-1, ProbePath((temp / "kept\\z").c_str())) << "an empty sub-folder beside it goes";
}

// Runs a tool of the Unix system under Wine in folder, waiting for its end.
static void RunUnixTool(const char* tool, std::string commandLine, const std::string& folder)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(tool, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        return;
    }
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// A folder link the library left behind (an archive may hold one) points
// outside the tree: the empty folders behind it must stay.
TEST(Files, RemoveEmptyFolderTreeDoesNotFollowFolderLinks)
{
    TempFolder temp;
    ASSERT_EQ(0, MakeFolder((temp / "elsewhere").c_str()));
    ASSERT_EQ(0, MakeFolder((temp / "elsewhere\\empty").c_str()));
    ASSERT_EQ(0, MakeFolder((temp / "made").c_str()));
    // Wine 8 makes no links of its own (CreateSymbolicLinkA does nothing)
    // and cannot delete one, but shows a Unix link to a folder as a link.
    RunUnixTool("Z:\\bin\\ln", "ln -s ../elsewhere link", temp / "made");
    const std::string link = temp / "made\\link";
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    for (int i = 0; i < 50 && attributes == INVALID_FILE_ATTRIBUTES; ++i, Sleep(20)) {
        attributes = GetFileAttributesA(link.c_str());
    }
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        GTEST_SKIP() << "no folder link can be made here";
    }
    EXPECT_EQ(-1, RemoveEmptyFolderTree((temp / "made").c_str())) << "the link keeps the tree";
    EXPECT_EQ(1, ProbePath((temp / "elsewhere\\empty").c_str())) << "nothing behind the link is removed";
    RunUnixTool("Z:\\bin\\rm", "rm link", temp / "made");
    for (int i = 0; i < 50 && GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES; ++i) Sleep(20);
}
