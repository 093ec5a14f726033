#include "volumes/volume_slots.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

// 表 is 0x95 0x5C: its trail byte is a backslash.
#define HYO "\x95\x5C"

namespace {

// The numbers of the slots that hold a path, as text: "3 100".
std::string FilledSlots()
{
    std::string filled;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (SlotPath(slot)[0] == 0) continue;
        if (!filled.empty()) filled += ' ';
        filled += std::to_string(slot);
    }
    return filled;
}

std::string OrNone(const char* text) { return text != nullptr ? std::string("'") + text + "'" : "none"; }

}  // namespace

TEST(VolumeSlots, SlotIndexOfReadsTheTextsStart)
{
    struct Case { const char* text; int slot; };
    const Case cases[] = {
        {"rar", 100}, {"RAR", 100}, {"r a r", 100}, {"rarx", 100}, {"RARE", 100}, {" rar", 100},
        {"r00", 0}, {"R05", 5}, {"r 5", 5}, {"r5 ", 50}, {"r99", 99}, {"r123", 12}, {"r  ", 0},
        {"r5", -1}, {"r9", -1}, {"r", -1}, {"r ", -1},  // the terminator is no digit
        {"ra0", -1}, {" r05", -1}, {"zip", -1}, {"", -1}, {nullptr, -1},
        {"r\x82\x4F", -1},                              // bytes of 0x80 and above are no digits
    };
    for (const Case& c : cases) EXPECT_EQ(c.slot, SlotIndexOf(c.text)) << OrNone(c.text);
}

TEST(VolumeSlots, SlotExtensionIsTheCanonicalText)
{
    struct Case { int slot; const char* extension; };
    const Case cases[] = {{0, "r00"}, {7, "r07"}, {42, "r42"}, {99, "r99"}, {100, "rar"},
                          {101, nullptr}, {-1, nullptr}, {1000, nullptr}};
    for (const Case& c : cases) EXPECT_EQ(OrNone(c.extension), OrNone(SlotExtension(c.slot))) << c.slot;
    for (int slot = 0; slot <= 100; ++slot) EXPECT_EQ(slot, SlotIndexOf(SlotExtension(slot)));
}

TEST(VolumeSlots, StoreSlotCutsAndIgnoresNumbersWithoutASlot)
{
    ClearSlots();
    StoreSlot(3, "D:\\dl\\Film.r03");
    StoreSlot(-1, "D:\\dl\\none");
    StoreSlot(101, "D:\\dl\\none");
    EXPECT_EQ("3", FilledSlots());
    EXPECT_STREQ("", SlotPath(-1));
    EXPECT_STREQ("", SlotPath(101));

    const std::string longPath = "C:\\" + std::string(300, 'a');
    StoreSlot(100, longPath.c_str());
    EXPECT_EQ(longPath.substr(0, 259), FirstVolumePath());
    EXPECT_EQ(SlotPath(100), FirstVolumePath());

    ClearSlots();
    EXPECT_EQ("", FilledSlots());
}

TEST(VolumeSlots, VolumeLabelOfTakesTheRightmostExtension)
{
    struct Case { const char* name; const char* label; };
    const Case cases[] = {
        {"movie.r05", "r05"}, {"MOVIE.RAR", "rar"}, {"movie.R 5", "r05"}, {"movie.rar.bak", "rar"},
        {"movie.r05.r07", "r07"}, {"rare.txt", "rar"}, {"r01", "r01"}, {"notes.txt", nullptr},
        {"ra", nullptr}, {"r5", nullptr}, {"", nullptr},
        {"movie.r5", nullptr},  // ".r5" is too short to be read as a volume
        {HYO ".r02", "r02"}, {HYO HYO, nullptr},
    };
    for (const Case& c : cases) EXPECT_EQ(OrNone(c.label), OrNone(VolumeLabelOf(c.name))) << c.name;
}

TEST(VolumeSlots, VolumeDisplayNameShowsTheUsersNameOfTheSlot)
{
    ClearSlots();
    StoreSlot(3, "D:\\dl\\Film.r03");
    StoreSlot(100, "D:\\" HYO "\\" HYO ".bin");
    StoreSlot(7, "Film7");
    struct Case { const char* path; const char* name; };
    const Case cases[] = {
        {"C:\\prog\\Tolvatmp\\Tolvatmp.r03", "Film.r03"},
        {"C:\\prog\\Tolvatmp\\Tolvatmp.rar", HYO ".bin"},
        {"C:\\prog\\Tolvatmp\\Tolvatmp.r07", "Film7"},
        {"C:\\prog\\Tolvatmp\\Tolvatmp.r04", ""},  // an empty slot
        {"C:\\prog\\Tolvatmp\\Tolvatmp", nullptr},
        {"C:\\ver.r03\\Tolvatmp", nullptr},        // a dot in a folder is no extension
        {"C:\\prog\\x.zip", nullptr},
    };
    for (const Case& c : cases) EXPECT_EQ(OrNone(c.name), OrNone(VolumeDisplayName(c.path))) << c.path;
}

TEST(VolumeSlots, BuildVolumeNamesFillsEverySlotOrNone)
{
    struct Case { const char* path; const char* first; const char* slot0; const char* slot99; };
    const Case cases[] = {
        {"C:\\a\\b.R07", "C:\\a\\b.rar", "C:\\a\\b.r00", "C:\\a\\b.r99"},
        {"C:\\" HYO "\\" HYO ".r00", "C:\\" HYO "\\" HYO ".rar", "C:\\" HYO "\\" HYO ".r00",
         "C:\\" HYO "\\" HYO ".r99"},
        {"x.zip", "x.rar", "x.r00", "x.r99"},
        {"C:\\a\\b.rar5", nullptr, nullptr, nullptr},
        {"C:\\a\\b.r5", nullptr, nullptr, nullptr},
        {"C:\\a.r01\\b", nullptr, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        StoreSlot(50, "left over");
        const char* first = BuildVolumeNames(c.path);
        EXPECT_EQ(OrNone(c.first), OrNone(first)) << c.path;
        if (c.first == nullptr) {
            EXPECT_EQ("", FilledSlots()) << c.path;
            continue;
        }
        for (int slot = 0; slot < kSlotCount; ++slot) EXPECT_NE(0, SlotPath(slot)[0]) << c.path << " slot " << slot;
        EXPECT_STREQ(c.slot0, SlotPath(0)) << c.path;
        EXPECT_STREQ(c.slot99, SlotPath(99)) << c.path;
        EXPECT_STREQ(c.first, FirstVolumePath()) << c.path;
    }
}

// A path over 323 bytes is cut in the work buffer; the extension of what is
// left is rewritten there, and each slot keeps the first 259 bytes.
TEST(VolumeSlots, BuildVolumeNamesOnACutPath)
{
    const std::string folder = "C:\\" + std::string(314, 'd') + "\\";  // 318 bytes
    const std::string path = folder + "x.r05yz";                      // cut after "x.r05"
    const char* first = BuildVolumeNames(path.c_str());
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(folder + "x.rar", first);
    EXPECT_EQ(folder.substr(0, 259), SlotPath(5));
}
