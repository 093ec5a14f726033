#include "extract/rar_records.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

TEST(RarRecords, ResultTexts)
{
    struct Case { int result; const char* text; };
    const Case cases[] = {
        {12, "CRCエラーです"}, {15, "RARファイルが足りないか、開けません"}, {19, "ファイルの書き込みが出来ません"},
        {22, "パスワードが必要です"}, {23, "参照先のファイルがありません"}, {24, "パスワードが違います"},
        {25, "このライブラリでは扱えない辞書サイズです"}, {21, "不明なエラーです (コード 21)"},
        {-7, "不明なエラーです (コード -7)"}, {99999, "不明なエラーです (コード 99999)"},
    };
    for (const Case& c : cases) {
        char unknown[64];
        EXPECT_STREQ(c.text, RarResultText(c.result, unknown)) << c.result;
    }
}

TEST(RarRecords, AnEntryNameFillingItsFieldStaysInside)
{
    RarHeaderRecord header;
    std::memset(&header, 'x', sizeof header);  // no terminator anywhere in the name field
    header.flags = 0;
    char name[261];
    RarEntryName(header, name);
    EXPECT_EQ(std::string(260, 'x'), name);
}
