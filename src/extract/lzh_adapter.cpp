// LZH archives through "unlha32.dll" and its one entry point.
#include "core/files.h"
#include "extract/adapters.h"
#include "extract/archiver_errors.h"
#include "extract/archiver_library.h"
#include "extract/command_line.h"
#include "extract/extract_status.h"
#include "extract/output_buffer.h"

namespace {
typedef int(WINAPI* UnlhaEntry)(HWND owner, LPCSTR commandLine, LPSTR output, DWORD outputSize);
}  // namespace

int ExtractLzh(HWND owner, const char* archive, const char* destination)
{
    HMODULE library = LoadArchiverLibrary("unlha32.dll");
    if (library == nullptr) return kLibraryNotLoaded;
    const UnlhaEntry unlha = LibraryEntry<UnlhaEntry>(library, "Unlha");
    if (unlha == nullptr) {
        FreeLibrary(library);
        return kEntryPointMissing;
    }
    const int ensured = EnsureFolder(destination);
    if (ensured < 0) {
        FreeLibrary(library);
        return kFolderNotMade;
    }
    char commandLine[kCommandLineSize];
    BuildCommandLine(commandLine, "x -u -gm1 ", archive, destination);
    if (AcquireOutputBuffer() != 0) {
        FreeLibrary(library);
        return kSystemFailure;
    }
    const int result = unlha(owner, commandLine, OutputBuffer(), kOutputBufferSize);
    ReleaseOutputBuffer();
    FreeLibrary(library);
    if (result == 0) return kExtracted;

    // Only a folder this call made, and only while empty.
    if (ensured == 1) RemoveFolder(destination);
    LogArchiverError("LZH: ", result);
    return kExtractFailedLogged;
}
