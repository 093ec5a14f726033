// The program's own images and version block, read back from the resources
// linked into this test program, as the system loads them.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "resources/resource.h"

namespace {

#pragma pack(push, 2)
struct GroupHeader {
    WORD reserved;
    WORD type;  // 1 icon, 2 cursor
    WORD count;
};
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
struct CursorGroupEntry {
    WORD width;
    WORD height;  // colour and mask images together
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

const BYTE* GroupOf(int id, LPCSTR type)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    return found != nullptr ? static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found))) : nullptr;
}

std::string VersionString(const std::string& name)
{
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, sizeof module);
    DWORD unused = 0;
    std::string block(GetFileVersionInfoSizeA(module, &unused), '\0');
    if (block.empty() || !GetFileVersionInfoA(module, 0, static_cast<DWORD>(block.size()), &block[0])) return "";
    char* value = nullptr;
    UINT length = 0;
    const std::string path = "\\StringFileInfo\\041103a4\\" + name;
    if (!VerQueryValueA(&block[0], path.c_str(), reinterpret_cast<void**>(&value), &length)) return "";
    return value;
}

}  // namespace

TEST(Resources, IconIsOne32By32ImageOf16Colours)
{
    const BYTE* group = GroupOf(IDI_TOLVA, RT_GROUP_ICON);
    ASSERT_NE(nullptr, group);
    GroupHeader header;
    std::memcpy(&header, group, sizeof header);
    EXPECT_EQ(1, header.type);
    ASSERT_EQ(1, header.count);
    IconGroupEntry entry;
    std::memcpy(&entry, group + sizeof header, sizeof entry);
    EXPECT_EQ(32, entry.width);
    EXPECT_EQ(32, entry.height);
    EXPECT_EQ(16, entry.colourCount);
    EXPECT_EQ(4, entry.bitCount);
    EXPECT_NE(nullptr, LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TOLVA)));
}

TEST(Resources, HandCursorIsTwoColouredWithItsHotSpotOnTheFingertip)
{
    const BYTE* group = GroupOf(IDC_HAND_CURSOR, RT_GROUP_CURSOR);
    ASSERT_NE(nullptr, group);
    CursorGroupEntry entry;
    std::memcpy(&entry, group + sizeof(GroupHeader), sizeof entry);
    EXPECT_EQ(32, entry.width);
    EXPECT_EQ(64, entry.height);
    EXPECT_EQ(1, entry.bitCount);

    HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    ASSERT_NE(nullptr, cursor);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(7u, info.xHotspot);
    EXPECT_EQ(8u, info.yHotspot);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
}

TEST(Resources, VersionBlockIsJapaneseWithItsTexts)
{
    EXPECT_EQ("Tolva", VersionString("ProductName"));
    EXPECT_EQ("1.0.0.0", VersionString("FileVersion"));
    EXPECT_EQ("Tolva 書庫解凍ツール", VersionString("FileDescription"));
}
