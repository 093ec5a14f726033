#include "volumes/volume_siblings.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/samples.h"
#include "tests/support/temp_folder.h"
#include "volumes/volume_slots.h"

// 表 is 0x95 0x5C: its trail byte is a backslash.
#define HYO "\x95\x5C"

namespace {

struct Case {
    const char* dropped;               // the file given to the mode
    std::vector<const char*> present;  // files in the folder
    int result;
    std::string slots;                 // "slot=name ..." of every filled slot
};

// The filled slots as "slot=name", each path checked to lie in the folder.
std::string FilledSlots(const std::string& folder)
{
    std::string filled;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const std::string path = SlotPath(slot);
        if (path.empty()) continue;
        if (!filled.empty()) filled += ' ';
        if (path.compare(0, folder.size() + 1, folder + "\\") == 0) {
            filled += std::to_string(slot) + "=" + path.substr(folder.size() + 1);
        } else {
            filled += std::to_string(slot) + "=?" + path;
        }
    }
    return filled;
}

void RunCases(int mode, const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        TempFolder temp;
        for (const char* name : c.present) ASSERT_TRUE(WriteFileBytes(temp / name, "Rar!")) << name;
        StoreSlot(50, "left over from an earlier set");
        EXPECT_EQ(c.result, FindSiblingVolumes(mode, (temp / c.dropped).c_str())) << c.dropped;
        EXPECT_EQ(c.slots, FilledSlots(temp.path())) << c.dropped;
    }
}

}  // namespace

TEST(VolumeSiblings, ByExtensionRewritesTheRightmostVolumeExtension)
{
    RunCases(kSiblingsByExtension, {
        {"x.r03", {"x.rar", "x.r03"}, 1, "3=x.r03 100=x.rar"},
        {"x.R03", {"x.rar", "x.r00", "x.r99"}, 1, "0=x.r00 99=x.r99 100=x.rar"},
        {"x.rar", {"x.r00", "x.r01", "y.r02"}, 1, "0=x.r00 1=x.r01"},  // the dropped file need not exist
        {"movie.r05.bak", {"movie.rar.bak", "movie.r00.bak", "movie.r05.bak", "movie.r01"}, 1,
         "0=movie.r00.bak 5=movie.r05.bak 100=movie.rar.bak"},
        {"x.7z", {"x.7z", "x.rar"}, 0, ""},
        {"ab", {"ab"}, 0, ""},
        {"rare.txt", {"rare.txt", "r01e.txt"}, 1, "1=r01e.txt 100=rare.txt"},  // the window may begin the name
        {HYO ".r01", {HYO ".rar", HYO ".r01"}, 1, "1=" HYO ".r01 100=" HYO ".rar"},
    });
}

TEST(VolumeSiblings, ByCharacterGathersElevenAtMost)
{
    RunCases(kSiblingsByCharacter, {
        {"data.ra5", {"data.rar", "data.ra0", "data.ra5", "data.ra9", "data.r10"}, 1,
         "0=data.ra0 5=data.ra5 9=data.ra9 100=data.rar"},
        {"data.ra5", {"data.ra0", "data.ra5"}, 0, ""},  // no first volume: nothing at all
        {"disk_r.bin", {"disk_r.bin", "disk_0.bin", "disk_1.bin"}, 1,
         "0=disk_0.bin 1=disk_1.bin 100=disk_r.bin"},
        {"a2b3.dat", {"a2br.dat", "a2b0.dat", "arb3.dat"}, 1, "0=a2b0.dat 100=a2br.dat"},  // the rightmost
        {"1abc", {"1abc", "rabc"}, 0, ""},   // the first byte never counts
        {"xyz", {"xyz"}, 0, ""},
        // After the trail backslash of 表 comes the name's second byte, which may
        // be the volume character; a walk that split the name there would not see it.
        {HYO "1.dat", {HYO "r.dat", HYO "1.dat", HYO "2.dat"}, 1,
         "1=" HYO "1.dat 2=" HYO "2.dat 100=" HYO "r.dat"},
    });
}

TEST(VolumeSiblings, OnlyFilesCount)
{
    TempFolder temp;
    ASSERT_TRUE(CreateDirectoryA((temp / "x.rar").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((temp / "x.r01").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(temp / "x.r00", "Rar!"));
    EXPECT_EQ(1, FindSiblingVolumes(kSiblingsByExtension, (temp / "x.r00").c_str()));
    EXPECT_EQ("0=x.r00", FilledSlots(temp.path()));
    EXPECT_EQ(0, FindSiblingVolumes(kSiblingsByCharacter, (temp / "x.r00").c_str())) << "x.r0r missing";
    ASSERT_TRUE(CreateDirectoryA((temp / "x.r0r").c_str(), nullptr));
    EXPECT_EQ(0, FindSiblingVolumes(kSiblingsByCharacter, (temp / "x.r00").c_str())) << "x.r0r is a folder";
    EXPECT_EQ("", FilledSlots(temp.path()));
}

TEST(VolumeSiblings, SingleFileNeedsNoFile)
{
    TempFolder temp;
    StoreSlot(3, "left over");
    EXPECT_EQ(1, FindSiblingVolumes(kSiblingsSingleFile, (temp / "missing.bin").c_str()));
    EXPECT_EQ("100=missing.bin", FilledSlots(temp.path()));
}
