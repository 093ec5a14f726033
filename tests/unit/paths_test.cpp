#include "core/paths.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

// 表 is 0x95 0x5C: its trail byte is a backslash. A path ending in a lone lead
// byte must not make any walk run past the terminator.
#define HYO "\x95\x5C"

TEST(Paths, LastPathComponentSkipsTrailBytes)
{
    struct Case { const char* path; const char* expected; };
    const Case cases[] = {
        {"C:\\dir\\", ""}, {"name", "name"}, {"C:name", "name"}, {"C:\\" HYO, HYO},
        {"C:\\a/b", "b"}, {"C:\\dir\\" HYO "\\x.rar", "x.rar"}, {"C:\\ab\x81", "ab\x81"}, {"", ""},
    };
    for (const Case& c : cases) EXPECT_STREQ(c.expected, LastPathComponent(c.path)) << c.path;
}

TEST(Paths, CutToFolderKeepsTheSeparator)
{
    struct Case { const char* path; const char* expected; };
    const Case cases[] = {
        {"C:\\a\\b.rar", "C:\\a\\"}, {HYO, HYO}, {"C:\\a/b", "C:\\a/"}, {"name", "name"},
        {"C:" HYO, "C:"}, {"C:\\" HYO "\\f", "C:\\" HYO "\\"},
    };
    for (const Case& c : cases) {
        char buffer[64];
        std::strcpy(buffer, c.path);
        CutToFolder(buffer);
        EXPECT_STREQ(c.expected, buffer) << c.path;
    }
}

TEST(Paths, ExtensionOfTheLastComponentOnly)
{
    struct Case { const char* path; const char* extension; const char* stripped; };
    const Case cases[] = {
        {"C:\\ver.2\\name", nullptr, "C:\\ver.2\\name"},
        {"x.r00", "r00", "x"},
        {"x.", "", "x"},
        {".rar", "rar", ""},
        {"a.tar.gz", "gz", "a.tar"},
        {"\x82\x2E.txt", "txt", "\x82\x2E"},  // 0x2E as a trail byte is no dot
        {"\x82\x2E", nullptr, "\x82\x2E"},
    };
    for (const Case& c : cases) {
        const char* extension = PathExtension(c.path);
        if (c.extension == nullptr) {
            EXPECT_EQ(nullptr, extension) << c.path;
        } else {
            ASSERT_NE(nullptr, extension) << c.path;
            EXPECT_STREQ(c.extension, extension) << c.path;
        }
        char buffer[64];
        std::strcpy(buffer, c.path);
        StripExtension(buffer);
        EXPECT_STREQ(c.stripped, buffer) << c.path;
    }
}

TEST(Paths, TrailingBackslashAddedAndDroppedOnlyWhenReal)
{
    struct Case { const char* path; const char* ensured; const char* dropped; };
    const Case cases[] = {
        {"C:\\", "C:\\", "C:\\"},
        {"C:\\dir", "C:\\dir\\", "C:\\dir"},
        {"C:\\a\\", "C:\\a\\", "C:\\a"},
        {"ab\\", "ab\\", "ab\\"},  // three bytes: left alone
        {"C:\\a" HYO, "C:\\a" HYO "\\", "C:\\a" HYO},
    };
    for (const Case& c : cases) {
        char buffer[64];
        std::strcpy(buffer, c.path);
        EnsureTrailingBackslash(buffer, sizeof buffer);
        EXPECT_STREQ(c.ensured, buffer) << c.path;
        std::strcpy(buffer, c.path);
        DropTrailingBackslash(buffer);
        EXPECT_STREQ(c.dropped, buffer) << c.path;
    }
}

TEST(Paths, EnsureTrailingBackslashNeverWritesPastTheBuffer)
{
    char buffer[8] = "abcdefg";  // full: 7 bytes and the terminator
    buffer[7] = 0;
    EnsureTrailingBackslash(buffer, sizeof buffer);
    EXPECT_STREQ("abcdefg", buffer);
    char roomy[9] = "abcdefg";
    EnsureTrailingBackslash(roomy, sizeof roomy);
    EXPECT_STREQ("abcdefg\\", roomy);
}
