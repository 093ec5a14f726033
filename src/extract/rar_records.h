// The RAR library's records and result codes, as its 32-bit interface lays
// them out. No platform calls.
#pragma once

#include <cstddef>
#include <cstdint>

struct RarOpenRecord {
    const char* archive;     // 0
    uint32_t openMode;       // 4: 0 list, 1 extract
    uint32_t openResult;     // 8: written by the library
    char* commentBuffer;     // 12
    uint32_t commentSize;    // 16
    uint32_t commentLength;  // 20: written by the library
    uint32_t commentState;   // 24: written by the library
};
// The byte positions hold for the library's 32-bit interface; a native build
// of the parsers for another word size lays the pointers out its own way.
constexpr bool kRar32 = sizeof(void*) == 4;
static_assert(!kRar32 || sizeof(RarOpenRecord) == 28, "the library reads a 28-byte open record");

struct RarHeaderRecord {
    char archiveName[260];  // 0
    char fileName[260];     // 260: the library may fill all 260 bytes without a terminator
    uint32_t flags;         // 520: 4 = encrypted
    uint32_t packSize;
    uint32_t unpackSize;
    uint32_t hostOs;
    uint32_t fileCrc;
    uint32_t fileTime;
    uint32_t unpackVersion;
    uint32_t method;
    uint32_t fileAttributes;
    char* commentBuffer;    // 556
    uint32_t commentBufferSize;
    uint32_t commentSize;
    uint32_t commentState;
};
static_assert(!kRar32 || sizeof(RarHeaderRecord) == 572, "the library fills a 572-byte header record");
static_assert(offsetof(RarHeaderRecord, flags) == 520, "entry flags at offset 520");
static_assert(!kRar32 || offsetof(RarHeaderRecord, commentBuffer) == 556, "comment pointer at offset 556");

enum {
    kRarEncryptedEntry = 4,
    kRarOperationSkip = 0,
    kRarOperationExtract = 2,
};

enum RarResult {
    kRarSuccess = 0,
    kRarEndOfArchive = 10,
    kRarNoMemory = 11,
    kRarBadData = 12,
    kRarBadArchive = 13,
    kRarUnknownFormat = 14,
    kRarOpenError = 15,
    kRarMissingPassword = 22,
    kRarBadPassword = 24,
};

// The row text (after "RAR: ") for a result: processing results 12 to 19,
// the password and reference results, or "unknown error (code N)" in out.
const char* RarResultText(int result, char (&out)[64]);

// The entry name of a header record, terminated within its 260 bytes.
void RarEntryName(const RarHeaderRecord& header, char (&name)[261]);
