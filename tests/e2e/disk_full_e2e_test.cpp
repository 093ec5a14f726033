// Gathering volumes on a disk that fills up: the user is told, and every
// copy goes again. Runs only where a small file system was mounted for it
// (tests/e2e/with-small-disk.sh).
#include <windows.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/e2e/scenario.h"

TEST(DiskFullEndToEnd, ACopyThatFallsShortRemovesEveryCopy)
{
    const char* disk = std::getenv("TOLVA_SMALL_DISK");
    if (disk == nullptr) GTEST_SKIP() << "no small file system mounted";
    Scenario s({});
    const std::string program = std::string(disk) + "\\program";
    PrepareProgramFolder(program);
    CopyFileA(StandinPath("unrar.dll").c_str(), (program + "\\unrar.dll").c_str(), FALSE);

    const std::string head("Rar!\x1A\x07\x00\n", 8);
    const std::string padding = "# " + std::string(1 << 20, 'p') + "\n";
    const std::string first = s.Archive("vol_r.bin", head, "entry one.txt 1\nnextvolume\n" + padding);
    const std::string second = s.Archive("vol_0.bin", head, "volume 1\nentry two.txt 2\nnextvolume\n" + padding);
    std::string bigPadding;
    for (int i = 0; i < 4; ++i) bigPadding += padding;
    const std::string third = s.Archive("vol_1.bin", head, "volume 2\nentry three.txt 3\n" + bigPadding);

    TolvaProcess tolva = StartTolva(program + "\\tolva.exe", {first});
    ResultRows rows;
    HWND main = s.FinishToMainWindow(tolva, rows);
    EXPECT_EQ((ResultRows{{"vol_r.bin", "ディスクがいっぱいです"}}), rows);
    EXPECT_EQ(std::vector<std::string>{}, FilesIn(program + "\\Tolvatmp")) << "every copy is deleted";
    EXPECT_EQ(3u, FilesIn(s.data).size()) << "the user's files stay";
    EXPECT_EQ(std::vector<std::string>{}, FilesIn(s.out));
    ASSERT_NE(nullptr, main) << "the file waits in the volume list";
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, WaitForExit(tolva));
    CloseTolva(tolva);
}
