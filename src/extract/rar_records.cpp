#include "extract/rar_records.h"

#include <cstdio>
#include <cstring>

namespace {

struct RarText {
    int result;
    const char* text;
};

const RarText kRarTexts[] = {
    {12, "CRCエラーです"},
    {13, "ファイルが壊れています"},
    {14, "未知のフォーマットです"},
    {15, "RARファイルが足りないか、開けません"},
    {16, "ファイルが作成できません"},
    {17, "ファイルクローズエラー"},
    {18, "ファイル読み込みエラーです"},
    {19, "ファイルの書き込みが出来ません"},
    {22, "パスワードが必要です"},
    {23, "参照先のファイルがありません"},
    {24, "パスワードが違います"},
    {25, "このライブラリでは扱えない辞書サイズです"},
};

}  // namespace

const char* RarResultText(int result, char (&out)[64])
{
    for (const RarText& entry : kRarTexts) {
        if (entry.result == result) return entry.text;
    }
    std::snprintf(out, sizeof out, "不明なエラーです (コード %d)", result);
    return out;
}

void RarEntryName(const RarHeaderRecord& header, char (&name)[261])
{
    std::memcpy(name, header.fileName, sizeof header.fileName);
    name[260] = 0;
}
