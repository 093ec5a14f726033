#include "extract/entry_name.h"

#include <gtest/gtest.h>

TEST(EntryName, OnlyNamesThatStayInsideTheDestination)
{
    struct Case { const char* name; int inside; };
    const Case cases[] = {
        {"inner.lzh", 1},
        {"dir\\inner.lzh", 1},
        {"dir/sub/inner.zip", 1},
        {"\x95\x5C\\inner.lzh", 1},        // 表 ends in 0x5C: still one folder level
        {"\x95\x5C", 1},
        {"..\\outside.lzh", 0},
        {"../outside.lzh", 0},
        {"dir\\..\\..\\outside.lzh", 0},
        {"dir\\..", 0},
        {".\\inner.lzh", 0},
        {"C:\\Windows\\x.zip", 0},
        {"C:x.zip", 0},
        {"\\root.zip", 0},
        {"/root.zip", 0},
        {"\\\\server\\share\\x.zip", 0},
        {"inner.zip:stream", 0},
        {"CON", 0}, {"nul.zip", 0}, {"dir\\Com1.lzh", 0}, {"LPT9", 0}, {"aux .txt", 0},
        {"COM10.zip", 1}, {"CONSOLE.zip", 1}, {"nullable.zip", 1},
        {"trailing.", 0}, {"trailing ", 0}, {"...", 0}, {"dir.\\x.zip", 0},
        {"a\\\\b", 0}, {"dir\\", 0}, {"", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.inside, IsEntryNameInside(c.name)) << c.name;
    EXPECT_EQ(0, IsEntryNameInside(nullptr));
}
