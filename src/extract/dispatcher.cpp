#include "extract/dispatcher.h"

#include <windows.h>
#include <shellapi.h>

#include "core/files.h"
#include "core/paths.h"
#include "core/text.h"
#include "extract/adapters.h"
#include "extract/batch_log.h"
#include "extract/entry_name.h"
#include "extract/extract_status.h"
#include "extract/output_buffer.h"
#include "identify/identify.h"
#include "shell/app.h"
#include "shell/settings.h"
#include "volumes/joint_extraction.h"
#include "volumes/volume_list.h"

int BatchStatus = 0;

namespace {

typedef int (*Adapter)(HWND, const char*, const char*);

struct ArchiveRoute {
    Adapter extract;
    const char* libraryName;  // for the messages only
};

const ArchiveRoute kRoutes[] = {
    {ExtractLzh, "Unlha32.dll"},
    {ExtractZip, "Unzip32.dll"},
    {ExtractRar, "Unrar.dll"},
};

int ReportStatus(int status, const char* libraryName)
{
    switch (status) {
    case kExtracted: return kJobSuccess;
    case kExtractFailedLogged: return kJobFailed;
    case kLibraryNotLoaded:
        LogText(libraryName);
        LogRow("がありません");
        return kJobLibraryProblem;
    case kEntryPointMissing:
        LogText(libraryName);
        LogRow("のエラーです");
        return kJobLibraryProblem;
    case kFolderNotMade:
        LogRow("解凍先フォルダ作成に失敗しました");
        return kJobFailed;
    case kSystemFailure:
        LogRow("Tolvaのシステムエラーです");
        return kJobStopBatch;
    case kCancelled: return kJobStopBatch;
    default: return kJobLibraryProblem;
    }
}

void OpenFolder(const char* folder)
{
    ShellExecuteA(MainWindow(), nullptr, folder, nullptr, nullptr, SW_SHOWNORMAL);
}

// Extracts a single nested LZH or ZIP archive that the job left in the
// destination; 0 when the job goes on normally, else the inner job result.
int ReextractSingleEntry(const char* destination)
{
    // The entry's name was chosen by the archive: act on it only when it
    // stays inside the destination.
    if (!IsEntryNameInside(LastEntryName())) return 0;
    char inner[kJoinedPathBuffer];
    BoundedCopy(inner, destination, sizeof inner - 1);
    EnsureTrailingBackslash(inner, sizeof inner);
    // A name cut to fit could name another file than the one extracted.
    if (BoundedAppend(inner, LastEntryName(), sizeof inner)) return 0;

    const int innerKind = IdentifyFile(inner);
    if (innerKind != kKindLzh && innerKind != kKindZip) return 0;
    LogText("再解凍>");
    const int innerResult = ExtractByKind(innerKind, inner, destination);
    if (innerResult != kJobSuccess) return innerResult;
    LogRestart();
    if (RemoveFile(inner) != 0) LogRow("中間ファイルの削除に失敗しました");
    return 0;
}

}  // namespace

int ExtractByKind(int kind, const char* path, const char* destination)
{
    if (kind >= kKindLzh && kind <= kKindRar) {
        const ArchiveRoute& route = kRoutes[kind - kKindLzh];
        return ReportStatus(route.extract(MainWindow(), path, destination), route.libraryName);
    }
    const IdentifyResult& result = LastIdentifyResult();
    if (kind != kKindUnknown && kind != kKindFolder && result.shortName != nullptr) {
        LogText(result.shortName);
        LogText(": ");
    }
    LogRow(result.description);
    return kJobFailed;
}

int RunExtractionJob(int kind, const char* archive, const char* destination)
{
    ResetTally();
    const int result = ExtractByKind(kind, archive, destination);
    if (result != kJobSuccess) return result;

    int finalResult = kJobSuccess;
    if ((kind == kKindRar || kind == kKindZip) && TallyCount() == 1 && CurrentSettings().RemeltRZ) {
        finalResult = ReextractSingleEntry(destination);
    }
    OpenFolder(destination);
    return finalResult;
}

const char* DestinationFolderFor(const char* archive)
{
    static char destination[kJoinedPathBuffer];
    BoundedCopy(destination, CurrentSettings().RARFname, sizeof destination);
    if (destination[0] == 0) {
        BoundedCopy(destination, ProgramFolder(), sizeof destination);
        CutToFolder(destination);
    }
    DropTrailingBackslash(destination);
    if (CurrentSettings().RARFmake) {
        EnsureTrailingBackslash(destination, sizeof destination);
        char name[kPathBuffer];
        BoundedCopy(name, LastPathComponent(archive), sizeof name);
        StripExtension(name);
        BoundedAppend(destination, name[0] != 0 ? name : "Untitled", sizeof destination);
    }
    DropTrailingBackslash(destination);
    return destination;
}

void ProcessFile(const char* path)
{
    if (BatchStatus == kJobStopBatch) return;
    LogFileName(path);
    const int kind = IdentifyFile(path);
    if (kind == kKindLzh || kind == kKindZip) {
        BatchStatus = RunExtractionJob(kind, path, DestinationFolderFor(path));
    } else if (kind == kKindRar) {
        // A RAR file waits in the volume list when the list already has
        // rows, or when it could not be extracted on its own. A library
        // problem is no reason to list it: the list could not help.
        if (VolumeRowCount() == 0) {
            BatchStatus = ExtractDroppedRar(path);
            if (BatchStatus == kJobSuccess || BatchStatus == kJobStopBatch || BatchStatus == kJobLibraryProblem) return;
        }
        AddVolumeFile(path);
    } else {
        RunExtractionJob(kind, path, DestinationFolderFor(path));
    }
}
