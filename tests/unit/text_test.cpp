#include "core/text.h"

#include <algorithm>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

TEST(Text, BoundedCopyCutsByBytesAndAlwaysTerminates)
{
    struct Case { const char* source; int size; const char* expected; };
    const Case cases[] = {
        {"abcdef", 4, "abc"}, {"abcdef", 1, ""}, {"abc", 10, "abc"}, {"", 5, ""},
        {"\x95\x5C\x95\x5C", 4, "\x95\x5C\x95"},  // may split a double-byte character
    };
    for (const Case& c : cases) {
        char buffer[16];
        std::fill(buffer, buffer + sizeof buffer, 'Z');
        BoundedCopy(buffer, c.source, c.size);
        EXPECT_STREQ(c.expected, buffer) << c.source << " size " << c.size;
    }
}

TEST(Text, BoundedAppendKeepsTheWholeUnderTheLimit)
{
    struct Case { const char* start; const char* source; int size; const char* expected; int cut; };
    const Case cases[] = {
        {"abcdef", "xyz", 4, "abc", 1},        // destination already over the limit
        {"abcdef", "xyz", 10, "abcdefxyz", 0},
        {"abcdef", "xyz", 1, "", 1},           // limit 0 empties the destination
        {"ab", "xyz", 4, "abx", 1},
        {"ab", "", 3, "ab", 0},
    };
    for (const Case& c : cases) {
        char buffer[16];
        std::strcpy(buffer, c.start);
        EXPECT_EQ(c.cut, BoundedAppend(buffer, c.source, c.size)) << c.start << "+" << c.source;
        EXPECT_STREQ(c.expected, buffer) << c.start << "+" << c.source << " size " << c.size;
    }
}

TEST(Text, TrimTrailingSpacesTouchesOnlyBlanks)
{
    struct Case { const char* text; const char* expected; };
    const Case cases[] = {{"a b  ", "a b"}, {"   ", ""}, {" a\t", " a\t"}, {"", ""}};
    for (const Case& c : cases) {
        char buffer[16];
        std::strcpy(buffer, c.text);
        TrimTrailingSpaces(buffer);
        EXPECT_STREQ(c.expected, buffer);
    }
}

TEST(Text, IsTrailByteAtCountsTheLeadRunBeforeThePosition)
{
    struct Case { const char* text; int position; int expected; };
    const Case cases[] = {
        {"\x95\x5C", 1, 1},           // 表: 0x5C is its trail byte
        {"a\\", 1, 0},
        {"\x95\x5C\\", 2, 0},         // a real backslash after 表
        {"\x81\x81\x5C", 2, 0},       // even run: 0x81 0x81 is one character
        {"\x81\x81\x81\x5C", 3, 1},
        {"\\", 0, 0},
        {"\xE0\xFC\x9F\x5C", 3, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, IsTrailByteAt(c.text, c.position)) << c.position;
}

TEST(Text, MatchLeadingTextSkipsBlanksAndFoldsCase)
{
    struct Case { const char* subject; const char* pattern; int expected; };
    const Case cases[] = {
        {"rar", "RAR", 3}, {" r a r5", "RAR", 6}, {"ra", "RAR", 0}, {"RAR", "", 0},
        {nullptr, "RAR", 0}, {"rax", "RAR", 0}, {"PART", "PART", 4}, {"part", "part", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, MatchLeadingText(c.subject, c.pattern)) << (c.subject ? c.subject : "(none)");
    }
}

TEST(Text, ParseSpacedNumberReadsExactlyLengthBytes)
{
    struct Case { const char* text; int length; int expected; };
    const Case cases[] = {
        {"07", 2, 7}, {" 7", 2, 7}, {"7 ", 2, 70}, {"  ", 2, 0}, {"7", 2, -1},
        {"5 ", 2, 50}, {"", 0, 0}, {"x1", 2, -1}, {"1\xA0", 2, -1}, {"99", 2, 99},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, ParseSpacedNumber(c.text, c.length)) << c.text;
}
