#include "identify/signatures.h"

#include <cstring>

#include "core/text.h"

// "\x02" stands for any digit, "\x0A" for a line feed in the patterns below.
const SignatureEntry SignatureTable[] = {
    {2, "-lh\x02-", "LZH", "Archive file"},
    {0, "PK", "ZIP", "Archive file"},
    {0, "Rar!", nullptr, "Archive file"},
    {0, "MZ", nullptr, "ｱﾌﾟﾘｹｰｼｮﾝ"},
    {0, "BM", "BMP", "ﾋﾞｯﾄﾏｯﾌﾟ ｲﾒｰｼﾞ"},
    {0, "GIF", "GIF", "GIF ｲﾒｰｼﾞ"},
    {6, "JFIF", "JPG", "JPEG ｲﾒｰｼﾞ"},
    {0, "MAKI02", "MAG", "MAG ｲﾒｰｼﾞ"},
    {0, "DPX\x0A D-Pixed image", "DPX", "D-Pixed ｲﾒｰｼﾞ"},
    {0, "PF\x0A D-Pixed ver.", "DPF", "D-Pixed ﾊﾟﾚｯﾄ"},
    {106, "Z'sSTAFF KID98", "ZIM", "KID98 ｲﾒｰｼﾞ"},
    {0, "MThd", "MID", "MIDI ｼｰｹﾝｽ"},
    {0, "RCM-", "RCP", "ﾚｺﾝﾎﾟｰｻﾞ ｼｰｹﾝｽ"},
    {8, "WAVEfmt", "WAV", "WAVE ｻｳﾝﾄﾞ"},
    {0, "SNES-SPC", "SPC", "SNES ｻｳﾝﾄﾞ"},
    {0, "TWIN", "VQF", "VQF ｻｳﾝﾄﾞ"},
    {0, "NES\x1A", "NES", "NES ﾛﾑｲﾒｰｼﾞ"},
    {0, "ZSNES Save State", nullptr, "ZSNES ﾘｱﾙﾀｲﾑｾｰﾌﾞ"},
    {0, "GST", nullptr, "Genecyst ﾘｱﾙﾀｲﾑｾｰﾌﾞ"},
    {0, "<!--", "HTML", "HTML"},
    {0, "<HTML", "HTML", "HTML"},
    {0, "<html", "HTML", "HTML"},
    {0, "[InternetShortcut]", "URL", "ｲﾝﾀｰﾈｯﾄ ｼｮｰﾄｶｯﾄ"},
    {0, nullptr, nullptr, nullptr},
};

int MatchSignature(const unsigned char* bytes, const char* pattern)
{
    if (pattern == nullptr) return 0;
    for (; *pattern != 0; ++pattern, ++bytes) {
        const unsigned char want = static_cast<unsigned char>(*pattern);
        if (want == kPatternAnyByte) continue;
        if (want == kPatternDigit) {
            if (*bytes < '0' || *bytes > '9') return 0;
        } else if (*bytes != want) {
            return 0;
        }
    }
    return 1;
}

int MatchSignatureTable(const unsigned char head[kHeadWindow])
{
    for (int row = 0; SignatureTable[row].pattern != nullptr; ++row) {
        const SignatureEntry& entry = SignatureTable[row];
        // Every row fits the head window; the check keeps a future row honest.
        if (entry.offset + static_cast<int>(std::strlen(entry.pattern)) > kHeadWindow) continue;
        if (MatchSignature(head + entry.offset, entry.pattern)) return row + 1;
    }
    return 0;
}

const char* CleanHeaderText(const unsigned char* bytes, int count)
{
    static char text[256];
    if (count <= 0) return nullptr;
    int length = 0;
    bool pendingSpace = false;
    auto emit = [&](unsigned char byte) {
        if (length < static_cast<int>(sizeof text) - 1) text[length++] = static_cast<char>(byte);
    };
    auto emitPendingSpace = [&] {
        if (pendingSpace) emit(' ');
        pendingSpace = false;
    };
    for (int i = 0; i < count; ++i) {
        const unsigned char byte = bytes[i];
        const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        if (byte < 0x20 || byte == 0x20) {
            pendingSpace = true;
        } else if (lead) {
            if (i + 1 == count) break;  // a lone lead byte at the end: keep what came before
            const unsigned char trail = bytes[++i];
            if (trail < 0x40 || trail > 0xFC || trail == 0x7F) return nullptr;
            if (byte == 0x81 && trail == 0x40) {  // full-width space
                pendingSpace = true;
            } else {
                emitPendingSpace();
                emit(byte);
                emit(trail);
            }
        } else {
            emitPendingSpace();
            emit(byte);
        }
    }
    text[length] = 0;
    return length > 0 ? text : nullptr;
}

namespace {

// description = first + second [+ " (" + title + ")"]
void ComposeDescription(char* description, const char* first, const char* second, const char* title)
{
    BoundedCopy(description, first, kDescriptionBuffer);
    BoundedAppend(description, second, kDescriptionBuffer);
    if (title == nullptr) return;
    BoundedAppend(description, " (", kDescriptionBuffer);
    BoundedAppend(description, title, kDescriptionBuffer);
    BoundedAppend(description, ")", kDescriptionBuffer);
}

}  // namespace

int DescribeGameBoy(const unsigned char* window, int count, char* description)
{
    static const unsigned char kLogoStart[] = {0xBB, 0xB9, 0x33, 0x3E};
    if (count != kGameBoyWindow || std::memcmp(window, kLogoStart, sizeof kLogoStart) != 0) return 0;
    ComposeDescription(description, "Gameboy ﾛﾑｲﾒｰｼﾞ", "", CleanHeaderText(window + 4, 14));
    return 1;
}

int DescribeMegaDrive(const unsigned char* blockA, int countA, const unsigned char* blockB, int countB,
                      char* description)
{
    if (countA != kSmdWindow || countB != kSmdWindow) return 0;
    // SMD blocks hold the odd ROM bytes in their first half and the even ones
    // in their second: header byte 2i comes from B, 2i+1 from A.
    unsigned char header[2 * kSmdWindow];
    for (int i = 0; i < kSmdWindow; ++i) {
        header[2 * i] = blockB[i];
        header[2 * i + 1] = blockA[i];
    }
    const char* firstWord;
    if (std::memcmp(header, "SEGA MEGA DRIVE", 15) == 0) {
        firstWord = "MEGA DRIVE ";
    } else if (std::memcmp(header, "SEGA GENESIS", 12) == 0) {
        firstWord = "GENESIS ";
    } else {
        return 0;
    }
    ComposeDescription(description, firstWord, "ﾛﾑｲﾒｰｼﾞ", CleanHeaderText(header + 32, 48));
    return 1;
}

int MegaDriveBlockAMayMatch(const unsigned char* blockA, int countA)
{
    // "SEGA MEGA DRIVE" and "SEGA GENESIS" both have 'E' and 'A' at odd positions 1 and 3.
    return countA == kSmdWindow && blockA[0] == 'E' && blockA[1] == 'A';
}

int DescribeMp3(const unsigned char* tag, int count, char* description)
{
    if (count != kTagWindow || std::memcmp(tag, "TAG", 3) != 0) return 0;
    char artist[64] = "";
    const char* cleaned = CleanHeaderText(tag + 33, 30);
    if (cleaned != nullptr) BoundedCopy(artist, cleaned, sizeof artist);
    const char* title = CleanHeaderText(tag + 3, 30);

    char both[128];
    const char* shown = nullptr;
    if (artist[0] != 0 && title != nullptr) {
        BoundedCopy(both, artist, sizeof both);
        BoundedAppend(both, " - ", sizeof both);
        BoundedAppend(both, title, sizeof both);
        shown = both;
    } else if (artist[0] != 0) {
        shown = artist;
    } else {
        shown = title;
    }
    ComposeDescription(description, "MPEG layer3 ｻｳﾝﾄﾞ", "", shown);
    return 1;
}
