// ZIP archives through "unzip32.dll": the option and callback records of
// windll_unzip when the library has it, else the command line of UnZip.
#include <cstddef>
#include <cstdint>

#include "core/files.h"
#include "core/paths.h"
#include "extract/adapters.h"
#include "extract/archiver_errors.h"
#include "extract/archiver_library.h"
#include "extract/batch_log.h"
#include "extract/command_line.h"
#include "extract/extract_status.h"
#include "extract/output_buffer.h"
#include "extract/password_prompt.h"
#include "extract/progress_window.h"
#include "extract/zip_output.h"

namespace {

// The library reads these records as 32-bit words at fixed offsets.
struct UnzipOptions {
    int32_t flags[15];        // offsets 0 to 56; 36 and 40 are set to 1
    const char* archive;      // offset 60
    const char* destination;  // offset 64
};
static_assert(sizeof(UnzipOptions) == 68, "the library reads a 68-byte option record");
static_assert(offsetof(UnzipOptions, archive) == 60, "archive path at offset 60");
static_assert(offsetof(UnzipOptions, destination) == 64, "destination at offset 64");

typedef int(WINAPI* PrintCallback)(LPSTR text, unsigned long count);
typedef int(WINAPI* ReplaceCallback)(LPSTR name);
typedef int(WINAPI* PasswordCallback)(LPSTR buffer, int size, LPCSTR prompt, LPCSTR name);
typedef void(WINAPI* MessageCallback)(unsigned long, unsigned long, unsigned long, unsigned long, unsigned long,
                                      unsigned long, unsigned long, unsigned long, unsigned long, unsigned long,
                                      unsigned long, unsigned long, unsigned long);

struct UnzipCallbacks {
    PrintCallback print;        // offset 0
    void* unused;               // offset 4
    ReplaceCallback replace;    // offset 8
    PasswordCallback password;  // offset 12
    MessageCallback message;    // offset 16
    uint32_t reserved[5];       // offsets 20 to 39
};
static_assert(sizeof(UnzipCallbacks) == 40, "the library reads a 40-byte callback record");
static_assert(offsetof(UnzipCallbacks, password) == 12, "password callback at offset 12");
static_assert(offsetof(UnzipCallbacks, message) == 16, "message callback at offset 16");

typedef int(WINAPI* WindllUnzipEntry)(int, char**, int, char**, UnzipOptions*, UnzipCallbacks*);
typedef int(WINAPI* UnZipEntry)(HWND owner, LPCSTR commandLine, LPSTR output, DWORD outputSize);

int WINAPI ZipPrintCallback(LPSTR text, unsigned long count)
{
    if (text != nullptr) {
        if (const char* entry = TakePrintedText(text, count, OutputBuffer(), kOutputBufferSize)) {
            SetProgressEntry(entry);
        }
    }
    PollProgressMessages();
    return static_cast<int>(count);
}

int WINAPI ZipReplaceCallback(LPSTR)
{
    PollProgressMessages();
    return 1;
}

void WINAPI ZipMessageCallback(unsigned long, unsigned long, unsigned long, unsigned long, unsigned long,
                               unsigned long, unsigned long, unsigned long, unsigned long, unsigned long,
                               unsigned long, unsigned long, unsigned long)
{
    PollProgressMessages();
}

// A fixed, zero-filled record from global memory, locked for one call.
template <typename Record>
Record* LockedRecord(HGLOBAL& handle)
{
    handle = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(Record));
    if (handle == nullptr) return nullptr;
    Record* record = static_cast<Record*>(GlobalLock(handle));
    if (record == nullptr) {
        GlobalFree(handle);
        handle = nullptr;
    }
    return record;
}

void ReleaseRecord(HGLOBAL handle)
{
    if (handle == nullptr) return;
    GlobalUnlock(handle);
    GlobalFree(handle);
}

int ExtractWithCallbacks(WindllUnzipEntry windllUnzip, const char* archive, const char* destination)
{
    ResetProgressLine();
    HGLOBAL optionsHandle = nullptr;
    HGLOBAL callbacksHandle = nullptr;
    UnzipOptions* options = LockedRecord<UnzipOptions>(optionsHandle);
    UnzipCallbacks* callbacks = options != nullptr ? LockedRecord<UnzipCallbacks>(callbacksHandle) : nullptr;
    auto releaseRecords = [&] {
        ReleaseRecord(callbacksHandle);
        ReleaseRecord(optionsHandle);
    };
    if (callbacks == nullptr || OpenProgress(LastPathComponent(archive)) != 0) {
        releaseRecords();
        return kSystemFailure;
    }
    const int ensured = EnsureFolder(destination);
    if (ensured < 0) {
        releaseRecords();
        CloseProgress();
        return kFolderNotMade;
    }
    options->flags[9] = 1;   // offset 36
    options->flags[10] = 1;  // offset 40
    options->archive = archive;
    options->destination = destination;
    callbacks->print = ZipPrintCallback;
    callbacks->replace = ZipReplaceCallback;
    callbacks->password = ZipPasswordCallback;
    callbacks->message = ZipMessageCallback;
    SetZipPromptArchive(archive);

    const int result = windllUnzip(0, nullptr, 0, nullptr, options, callbacks);
    releaseRecords();
    PumpProgressMessages();  // a Cancel pressed during the last entry
    CloseProgress();

    // A Cancel that the library could not act on still ends the batch: the
    // user asked to stop, whatever the library managed to finish.
    if (result == 0 && !IsCancelled()) return kExtracted;
    if (result != 0 && ensured == 1) RemoveFolder(destination);
    if (IsCancelled()) {
        LogRow("ZIP: キャンセルされました");
        return kCancelled;
    }
    LogRow("ZIP: 解凍できませんでした");
    return kExtractFailedLogged;
}

int ExtractWithCommandLine(UnZipEntry unZip, HWND owner, const char* archive, const char* destination)
{
    const int ensured = EnsureFolder(destination);
    if (ensured < 0) return kFolderNotMade;
    char commandLine[kCommandLineSize];
    BuildCommandLine(commandLine, "-x -u ", archive, destination);
    const int result = unZip(owner, commandLine, OutputBuffer(), kOutputBufferSize);
    if (result == 0) return kExtracted;
    if (ensured == 1) RemoveFolder(destination);
    LogArchiverError("zip: ", result);
    return kExtractFailedLogged;
}

void TallyEntry(char* name)
{
    CountEntry();
    RecordEntryName(name);
}

}  // namespace

int ExtractZip(HWND owner, const char* archive, const char* destination)
{
    if (AcquireOutputBuffer() != 0) return kSystemFailure;
    OutputBuffer()[0] = 0;
    HMODULE library = LoadArchiverLibrary("unzip32.dll");
    if (library == nullptr) {
        ReleaseOutputBuffer();
        return kLibraryNotLoaded;
    }
    int status = kEntryPointMissing;
    if (auto windllUnzip = LibraryEntry<WindllUnzipEntry>(library, "windll_unzip")) {
        status = ExtractWithCallbacks(windllUnzip, archive, destination);
    } else if (auto unZip = LibraryEntry<UnZipEntry>(library, "UnZip")) {
        status = ExtractWithCommandLine(unZip, owner, archive, destination);
    }
    FreeLibrary(library);
    // The library may have filled the buffer to its last byte without a terminator.
    CountReportedEntries(OutputBuffer(), kOutputBufferSize, TallyEntry);
    ReleaseOutputBuffer();
    return status;
}
