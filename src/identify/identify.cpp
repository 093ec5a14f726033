#include "identify/identify.h"

#include <windows.h>

#include <cstring>

#include "core/files.h"

namespace {

IdentifyResult g_result;
char g_description[kDescriptionBuffer];

int Finish(int kind, const char* shortName, const char* description)
{
    g_result.shortName = shortName;
    g_result.description = description;
    return kind;
}

// Reads count bytes at offset; the number of bytes that arrived. Windows that
// lie wholly beyond the end of the file are not read at all.
int ReadWindow(HANDLE file, DWORD fileSize, DWORD offset, unsigned char* buffer, int count)
{
    if (fileSize != INVALID_FILE_SIZE && offset >= fileSize) return 0;
    LARGE_INTEGER position;
    position.QuadPart = offset;
    if (!SetFilePointerEx(file, position, nullptr, FILE_BEGIN)) return 0;
    DWORD got = 0;
    if (!ReadFile(file, buffer, count, &got, nullptr)) return 0;
    return static_cast<int>(got);
}

int Classify(HANDLE file)
{
    DWORD sizeHigh = 0;
    DWORD size = GetFileSize(file, &sizeHigh);
    // Beyond 4 GiB only the position of the tag matters; the size test that
    // skips windows past the end is then unnecessary.
    const bool large = sizeHigh != 0;
    if (large) size = INVALID_FILE_SIZE;

    unsigned char head[kHeadWindow] = {};
    DWORD got = 0;
    ReadFile(file, head, sizeof head, &got, nullptr);
    if (const int row = MatchSignatureTable(head)) {
        return Finish(row, SignatureTable[row - 1].shortName, SignatureTable[row - 1].description);
    }

    unsigned char gameBoy[kGameBoyWindow];
    if (DescribeGameBoy(gameBoy, ReadWindow(file, size, kGameBoyOffset, gameBoy, sizeof gameBoy), g_description)) {
        return Finish(kKindGameBoy, "GB", g_description);
    }

    unsigned char blockA[kSmdWindow];
    unsigned char blockB[kSmdWindow];
    const int countA = ReadWindow(file, size, kSmdOffsetA, blockA, sizeof blockA);
    const int countB = countA == kSmdWindow ? ReadWindow(file, size, kSmdOffsetB, blockB, sizeof blockB) : 0;
    if (DescribeMegaDrive(blockA, countA, blockB, countB, g_description)) {
        return Finish(kKindMegaDrive, "SMD", g_description);
    }

    unsigned char tag[kTagWindow];
    int tagCount = 0;
    LARGE_INTEGER fromEnd;
    fromEnd.QuadPart = -kTagWindow;
    if ((large || size >= kTagWindow) && SetFilePointerEx(file, fromEnd, nullptr, FILE_END)) {
        DWORD tagGot = 0;
        if (ReadFile(file, tag, sizeof tag, &tagGot, nullptr)) tagCount = static_cast<int>(tagGot);
    }
    if (DescribeMp3(tag, tagCount, g_description)) return Finish(kKindMp3, "MP3", g_description);

    return Finish(kKindUnknown, nullptr, "未知のフォーマットです");
}

}  // namespace

int IdentifyFile(const char* path)
{
    switch (ProbePath(path)) {
    case -1: return Finish(kKindUnknown, nullptr, "ファイルが見つかりません");
    case 1: return Finish(kKindFolder, nullptr, "フォルダです");
    default: break;
    }
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Finish(kKindUnknown, nullptr, "他のプロセスで使用中です");
    const int kind = Classify(file);
    CloseHandle(file);
    return kind;
}

const IdentifyResult& LastIdentifyResult() { return g_result; }
