// The real tolva.exe started on files, its results view read from outside.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/support/samples.h"
#include "tests/support/temp_folder.h"

namespace {

// Runs tolva.exe on the files, returns the rows of its results view after
// pressing OK, and checks that the program then ends with code 0.
ResultRows RunBatch(const TempFolder& temp, const std::vector<std::string>& files)
{
    TolvaProcess tolva = StartTolva(PrepareProgramFolder(temp / "program"), files);
    EXPECT_NE(nullptr, tolva.process);
    HWND view = WaitForResultsView(tolva);
    EXPECT_NE(nullptr, view) << "the results view never showed";
    ResultRows rows;
    if (view != nullptr) {
        rows = ReadResultRows(tolva, view);
        PressOk(view);
    }
    EXPECT_EQ(0, WaitForExit(tolva)) << "the program must end with code 0 once the view is closed";
    CloseTolva(tolva);
    return rows;
}

}  // namespace

TEST(BatchEndToEnd, OneBatchOfEveryKindInOrder)
{
    TempFolder temp;
    const std::string data = temp / "data";
    CreateDirectoryA(data.c_str(), nullptr);
    std::vector<std::string> files;
    ResultRows expected;
    for (const Sample& sample : AllSamples()) {
        files.push_back(data + "\\" + sample.fileName);
        ASSERT_TRUE(WriteFileBytes(files.back(), sample.bytes));
        expected.emplace_back(sample.fileName, sample.message);
    }
    files.push_back(data + "\\missing.zip");
    expected.emplace_back("missing.zip", "ファイルが見つかりません");
    CreateDirectoryA((data + "\\\x95\x5C folder").c_str(), nullptr);
    files.push_back(data + "\\\x95\x5C folder");
    expected.emplace_back("\x95\x5C folder", "フォルダです");

    // Held open without sharing by this process while tolva runs.
    const std::string held = data + "\\held.lzh";
    ASSERT_TRUE(WriteFileBytes(held, AllSamples()[0].bytes));
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    files.push_back(held);
    expected.emplace_back("held.lzh", "他のプロセスで使用中です");

    files.push_back(data + "\\*.zip");  // a wildcard never picks some matching file
    expected.emplace_back("*.zip", "ファイルが見つかりません");

    EXPECT_EQ(expected, RunBatch(temp, files));
    CloseHandle(holder);
}

TEST(BatchEndToEnd, ASecondStartEndsAtOnceWhileTheFirstRuns)
{
    TempFolder temp;
    ASSERT_TRUE(WriteFileBytes(temp / "a.txt", "text"));
    TolvaProcess first = StartTolva(PrepareProgramFolder(temp / "program"), {temp / "a.txt"});
    HWND view = WaitForResultsView(first);
    ASSERT_NE(nullptr, view);

    TolvaProcess second = StartTolva(temp / "program\\tolva.exe", {temp / "a.txt"});
    EXPECT_EQ(0, WaitForExit(second, 10000)) << "the second start must end at once with code 0";
    EXPECT_EQ(nullptr, FindProcessWindow(second.pid, "#32770", nullptr)) << "the second start showed a window";
    CloseTolva(second);

    EXPECT_EQ((ResultRows{{"a.txt", "未知のフォーマットです"}}), ReadResultRows(first, view));
    PressOk(view);
    EXPECT_EQ(0, WaitForExit(first));
    CloseTolva(first);
}
