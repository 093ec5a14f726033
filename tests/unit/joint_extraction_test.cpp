// The temporary folder's file work: copying in blocks, deleting copies.
#include "volumes/joint_extraction.h"

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "extract/batch_log.h"
#include "tests/support/samples.h"
#include "tests/support/temp_folder.h"

namespace {

std::string ReadAll(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(missing)";
    std::string bytes(1 << 20, '\0');
    DWORD got = 0;
    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    bytes.resize(got);
    return bytes;
}

}  // namespace

TEST(JointExtraction, CopyFileInBlocksCopiesEveryByteAndReportsWhatFailed)
{
    TempFolder temp;
    std::string content;
    for (int i = 0; i < 200000; ++i) content += static_cast<char>(i * 7);
    ASSERT_TRUE(WriteFileBytes(temp / "source", content));
    EXPECT_EQ(0, CopyFileInBlocks((temp / "source").c_str(), (temp / "copy").c_str()));
    EXPECT_EQ(content, ReadAll(temp / "copy"));
    EXPECT_EQ(-2, CopyFileInBlocks((temp / "missing").c_str(), (temp / "copy2").c_str()));
    EXPECT_EQ(-2, CopyFileInBlocks((temp / "source").c_str(), (temp / "no\\such\\folder").c_str()));
    ASSERT_TRUE(WriteFileBytes(temp / "empty", ""));
    EXPECT_EQ(0, CopyFileInBlocks((temp / "empty").c_str(), (temp / "empty-copy").c_str()));
    EXPECT_EQ("", ReadAll(temp / "empty-copy"));
}

TEST(JointExtraction, DeleteMatchingFilesTouchesOnlyTheCopies)
{
    TempFolder temp;
    for (const char* name : {"Tolvatmp.rar", "Tolvatmp.r00", "Tolvatmp.r99", "Tolvatmp.zip", "mine.rar", "Tolvatmp.r001"}) {
        ASSERT_TRUE(WriteFileBytes(temp / name, "x"));
    }
    EXPECT_EQ(0, DeleteMatchingFiles((temp / "Tolvatmp.r??").c_str()));
    for (const char* gone : {"Tolvatmp.rar", "Tolvatmp.r00", "Tolvatmp.r99"}) EXPECT_EQ("(missing)", ReadAll(temp / gone)) << gone;
    for (const char* kept : {"Tolvatmp.zip", "mine.rar", "Tolvatmp.r001"}) EXPECT_EQ("x", ReadAll(temp / kept)) << kept;
    EXPECT_EQ(0, DeleteMatchingFiles((temp / "Tolvatmp.r??").c_str())) << "nothing left to delete is success";
}

TEST(JointExtraction, TheTemporaryFolderLiesBesideTheProgram)
{
    char folder[324];
    TempFolderPath(folder, sizeof folder);
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string expected = program;
    expected = expected.substr(0, expected.rfind('\\') + 1) + "Tolvatmp";
    EXPECT_EQ(expected, folder);
    EXPECT_EQ(expected + "\\Tolvatmp.rar", TempArchivePath());
}
