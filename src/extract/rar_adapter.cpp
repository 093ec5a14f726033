// RAR archives and volume sets through "unrar.dll", entry by entry.
#include "core/files.h"
#include "core/text.h"
#include "extract/adapters.h"
#include "extract/archiver_library.h"
#include "extract/batch_log.h"
#include "extract/extract_status.h"
#include "extract/output_buffer.h"
#include "extract/password_prompt.h"
#include "extract/progress_window.h"
#include "extract/rar_adapter.h"
#include "extract/rar_records.h"
#include "volumes/volume_slots.h"

namespace {

bool g_passwordFailure;

bool IsPasswordResult(int result) { return result == kRarMissingPassword || result == kRarBadPassword; }

typedef int(CALLBACK* ChangeVolumeCallback)(char* volume, int mode);
typedef int(CALLBACK* ProcessDataCallback)(unsigned char* block, int size);

struct RarLibrary {
    HMODULE module;
    HANDLE(WINAPI* open)(RarOpenRecord*);
    int(WINAPI* close)(HANDLE);
    int(WINAPI* readHeader)(HANDLE, RarHeaderRecord*);
    int(WINAPI* processFile)(HANDLE, int operation, char* folder, char* name);
    void(WINAPI* setChangeVolume)(HANDLE, ChangeVolumeCallback);
    void(WINAPI* setProcessData)(HANDLE, ProcessDataCallback);
    void(WINAPI* setPassword)(HANDLE, char*);
};

// 0, or the ExtractStatus for a library that is missing (-2) or lacks one of
// its seven entry points (-3, the library released again).
int LoadRarLibrary(RarLibrary& library)
{
    library.module = LoadArchiverLibrary("unrar.dll");
    if (library.module == nullptr) return kLibraryNotLoaded;
    const bool complete =
        (library.open = LibraryEntry<decltype(library.open)>(library.module, "RAROpenArchive")) &&
        (library.close = LibraryEntry<decltype(library.close)>(library.module, "RARCloseArchive")) &&
        (library.readHeader = LibraryEntry<decltype(library.readHeader)>(library.module, "RARReadHeader")) &&
        (library.processFile = LibraryEntry<decltype(library.processFile)>(library.module, "RARProcessFile")) &&
        (library.setChangeVolume =
             LibraryEntry<decltype(library.setChangeVolume)>(library.module, "RARSetChangeVolProc")) &&
        (library.setProcessData =
             LibraryEntry<decltype(library.setProcessData)>(library.module, "RARSetProcessDataProc")) &&
        (library.setPassword = LibraryEntry<decltype(library.setPassword)>(library.module, "RARSetPassword"));
    if (complete) return 0;
    FreeLibrary(library.module);
    return kEntryPointMissing;
}

const char* DisplayName(const char* path)
{
    const char* name = VolumeDisplayName(path);
    return name != nullptr ? name : "";
}

void LogRarRow(const char* text)
{
    LogText("RAR: ");
    LogRow(text);
}

void LogRarResult(int result)
{
    char unknown[64];
    LogRarRow(RarResultText(result, unknown));
}

void LogOpenFailure(int result, const char* archive)
{
    struct OpenText {
        int result;
        bool named;
        const char* text;
    };
    static const OpenText kOpenTexts[] = {
        {kRarNoMemory, false, "メモリが足りません"},
        {kRarBadData, true, "は破損しています"},
        {kRarBadArchive, true, "はRARファイルではありません"},
        {kRarOpenError, true, "が開けません"},
    };
    LogText("RAR: ");
    for (const OpenText& entry : kOpenTexts) {
        if (entry.result != result) continue;
        if (entry.named) LogText(DisplayName(archive));
        LogRow(entry.text);
        return;
    }
    char unknown[64];
    LogText(DisplayName(archive));
    LogText(": ");
    LogRow(RarResultText(static_cast<int>(result), unknown));
}

int CALLBACK RarVolumeCallback(char* volume, int mode)
{
    // The user's own name of the volume, also when the library reads a copy.
    SetProgressArchive(DisplayName(volume));
    PollProgressMessages();
    return mode != 0 ? 1 : 0;
}

int CALLBACK RarCheckVolumeCallback(char*, int mode) { return mode != 0 ? 1 : 0; }

HANDLE OpenForExtraction(const RarLibrary& library, const char* archive, int& openResult)
{
    RarOpenRecord record = {};
    record.archive = archive;
    record.openMode = 1;
    record.commentBuffer = OutputBuffer();
    record.commentSize = kOutputBufferSize;
    HANDLE handle = library.open(&record);
    openResult = static_cast<int>(record.openResult);
    return handle;
}

// Asks once per archive; false when no password was given.
bool AskPassword()
{
    if (RarPassword[0] != 0) return true;
    if (RunRarPasswordPrompt() == 1) return true;
    g_passwordFailure = true;
    return false;
}

// The entries of an open archive; 0 or -1. *askedForHeaders is set when the
// headers themselves are encrypted and a password was given for them: the
// archive must be opened again with it.
int ExtractEntries(const RarLibrary& library, HANDLE handle, const char* destination, bool& reopenWithPassword)
{
    reopenWithPassword = false;
    RarHeaderRecord header = {};
    header.commentBuffer = nullptr;
    int read = library.readHeader(handle, &header);
    if (read == kRarMissingPassword && RarPassword[0] == 0) {
        // Encrypted headers: nothing can be read without the password.
        if (!AskPassword()) return -1;
        reopenWithPassword = true;
        return 0;
    }
    while (read == kRarSuccess) {
        char name[261];
        RarEntryName(header, name);
        SetProgressEntry(name);
        CountEntry();
        RecordEntryName(name);
        if ((header.flags & kRarEncryptedEntry) && RarPassword[0] == 0) {
            if (!AskPassword()) return -1;
            library.setPassword(handle, RarPassword);
        }
        PollProgressMessages();
        if (IsCancelled()) return -1;
        const int processed = library.processFile(handle, kRarOperationExtract, const_cast<char*>(destination), nullptr);
        if (processed != kRarSuccess) {
            g_passwordFailure = IsPasswordResult(processed);
            LogRarResult(processed);
            return -1;
        }
        read = library.readHeader(handle, &header);
    }
    if (read == kRarEndOfArchive) return 0;
    if (read == kRarBadData) {
        LogRow("RAR: ヘッダーファイルが壊れています.");
    } else {
        g_passwordFailure = IsPasswordResult(read);
        LogRarResult(read);
    }
    return -1;
}

int ExtractionLoop(const RarLibrary& library, const char* archive, const char* destination)
{
    RarPassword[0] = 0;
    for (int opening = 0; opening < 2; ++opening) {
        int openResult = 0;
        HANDLE handle = OpenForExtraction(library, archive, openResult);
        if (openResult != 0) {
            LogOpenFailure(openResult, archive);
            return -1;
        }
        library.setChangeVolume(handle, RarVolumeCallback);
        // A password given for encrypted headers is kept across the reopening.
        if (RarPassword[0] != 0) library.setPassword(handle, RarPassword);
        bool reopen = false;
        const int result = ExtractEntries(library, handle, destination, reopen);
        library.close(handle);
        if (!reopen) return result;
    }
    return -1;
}

char g_checkComments[kOutputBufferSize];

}  // namespace

bool RarFailedForPassword() { return g_passwordFailure; }

int ExtractRar(HWND, const char* archive, const char* destination)
{
    g_passwordFailure = false;
    RarLibrary library;
    if (const int missing = LoadRarLibrary(library)) return missing;
    const int ensured = EnsureFolder(destination);
    if (ensured < 0) {
        FreeLibrary(library.module);
        return kFolderNotMade;
    }
    if (AcquireOutputBuffer() != 0) {
        FreeLibrary(library.module);
        return kSystemFailure;
    }
    if (OpenProgress(DisplayName(archive)) != 0) {
        RemoveFolder(destination);
        ReleaseOutputBuffer();
        FreeLibrary(library.module);
        return kFolderNotMade;
    }
    int result = ExtractionLoop(library, archive, destination);
    if (result != 0) {
        PumpProgressMessages();
        if (IsCancelled()) {
            LogRow("RAR: キャンセルされました");
            result = kCancelled;
        }
        // The library may have made folders for entries it then failed to
        // write; a destination this call made goes if nothing else is in it.
        if (ensured == 1) RemoveEmptyFolderTree(destination);
    }
    CloseProgress();
    ReleaseOutputBuffer();
    FreeLibrary(library.module);
    return result;
}

int CheckRar(const char* archive)
{
    RarLibrary library;
    if (const int missing = LoadRarLibrary(library)) return missing;
    RarOpenRecord record = {};
    record.archive = archive;
    record.openMode = 0;
    record.commentBuffer = g_checkComments;
    record.commentSize = sizeof g_checkComments;
    HANDLE handle = library.open(&record);
    if (record.openResult != 0) {
        FreeLibrary(library.module);
        return -1;
    }
    library.setChangeVolume(handle, RarCheckVolumeCallback);
    RarHeaderRecord header = {};
    header.commentBuffer = nullptr;
    int result = 0;
    int read;
    while ((read = library.readHeader(handle, &header)) == kRarSuccess) {
        if (library.processFile(handle, kRarOperationSkip, nullptr, nullptr) != kRarSuccess) {
            result = -1;
            break;
        }
    }
    // The end, or headers that need the password the extraction will ask
    // for, mean readable; any other answer means the set cannot be read.
    if (result == 0 && read != kRarEndOfArchive && read != kRarMissingPassword) result = -1;
    library.close(handle);
    FreeLibrary(library.module);
    return result;
}
