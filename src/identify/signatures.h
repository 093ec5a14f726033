// What a file is, judged from fixed windows of its bytes. No platform calls.
#pragma once

enum FileKind {
    kKindUnknown = -1,
    kKindFolder = 0,
    kKindLzh = 1,
    kKindZip = 2,
    kKindRar = 3,
    kKindGameBoy = 128,
    kKindMegaDrive = 129,
    kKindMp3 = 130,
};

// Pattern bytes with a meaning of their own.
enum { kPatternAnyByte = 0x01, kPatternDigit = 0x02 };

struct SignatureEntry {
    int offset;               // where the pattern must stand in the file
    const char* pattern;      // nullptr ends the table
    const char* shortName;    // may be nullptr
    const char* description;
};

// Row i is FileKind i + 1; the row after the last has a null pattern.
extern const SignatureEntry SignatureTable[];

// Sizes of the windows identification reads.
enum {
    kHeadWindow = 128,
    kGameBoyOffset = 0x130, kGameBoyWindow = 18,
    kSmdOffsetA = 640, kSmdOffsetB = 8832, kSmdWindow = 80,
    kTagWindow = 128,
    kDescriptionBuffer = 160,
};

// 1 when the pattern matches the start of bytes; nullptr pattern 0, "" 1.
int MatchSignature(const unsigned char* bytes, const char* pattern);

// The table row (FileKind 1..23) matching the first 128 bytes, or 0.
int MatchSignatureTable(const unsigned char head[kHeadWindow]);

// A fixed-width header field as a one-line title (static 256-byte buffer,
// overwritten by the next call), or nullptr when nothing shows or the field
// holds a broken double-byte character.
const char* CleanHeaderText(const unsigned char* bytes, int count);

// The computed checks. Each takes its window and how many bytes of it were
// read, and on a match writes the description into a kDescriptionBuffer-byte
// buffer and returns 1.
int DescribeGameBoy(const unsigned char* window, int count, char* description);
int DescribeMegaDrive(const unsigned char* blockA, int countA, const unsigned char* blockB, int countB,
                      char* description);
// Whether block A (the odd header bytes) can start a Mega Drive header at
// all; when it cannot, block B need not be read.
int MegaDriveBlockAMayMatch(const unsigned char* blockA, int countA);
int DescribeMp3(const unsigned char* tag, int count, char* description);
