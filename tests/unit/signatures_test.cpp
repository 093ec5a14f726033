#include "identify/signatures.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

std::string Cleaned(const std::string& field)
{
    const char* text = CleanHeaderText(reinterpret_cast<const unsigned char*>(field.data()), static_cast<int>(field.size()));
    return text != nullptr ? text : "(none)";
}

}  // namespace

TEST(Signatures, PatternBytesMatchAnyByteAndDigits)
{
    struct Case { std::string bytes; const char* pattern; int expected; };
    const Case cases[] = {
        {"-lh5-", "-lh\x02-", 1}, {"-lhd-", "-lh\x02-", 0}, {"-lh0-", "-lh\x02-", 1}, {"-lh9-", "-lh\x02-", 1},
        {"AxC", "A\x01" "C", 1}, {"A\0C"s, "A\x01" "C", 1}, {"anything", "", 1}, {"anything", nullptr, 0},
        {"PK", "PK", 1}, {"Pk", "PK", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, MatchSignature(reinterpret_cast<const unsigned char*>(c.bytes.c_str()), c.pattern))
            << c.bytes;
    }
}

TEST(Signatures, TableHasTwentyThreeRowsInsideTheHeadWindow)
{
    int rows = 0;
    while (SignatureTable[rows].pattern != nullptr) {
        EXPECT_LE(SignatureTable[rows].offset + static_cast<int>(std::strlen(SignatureTable[rows].pattern)), 128);
        ++rows;
    }
    EXPECT_EQ(23, rows);
}

TEST(Signatures, CleanHeaderTextFoldsRunsIntoOneBlank)
{
    struct Case { std::string field; const char* expected; };
    const Case cases[] = {
        {"AB  \0C"s, "AB C"},
        {" X", " X"},
        {"A\x81\x40" "B", "A B"},                  // full-width space
        {"\x88\x9F   ", "\x88\x9F"},
        {"A\x81\x7F" "B", "(none)"},               // broken trail byte spoils the whole field
        {"A\x81\x20", "(none)"},
        {"AB\x88", "AB"},                          // lone lead byte at the end
        {"TETRIS\0\0\0\0\0\0\0\0"s, "TETRIS"},
        {std::string(14, '\0'), "(none)"},
        {"   ", "(none)"},
        {"\xB1\xB2\x80\xFD", "\xB1\xB2\x80\xFD"},  // half-width kana and single bytes stay
        {"A\tB\r\nC", "A B C"},
        {"", "(none)"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, Cleaned(c.field)) << c.field;
}

TEST(Signatures, CleanHeaderTextNeverWritesPastItsBuffer)
{
    const std::string field(1000, 'A');
    EXPECT_EQ(255u, Cleaned(field).size());
}
