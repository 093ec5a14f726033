#include "volumes/joint_extraction.h"

#include <windows.h>

#include <string>
#include <vector>

#include "core/files.h"
#include "core/paths.h"
#include "core/text.h"
#include "extract/batch_log.h"
#include "extract/dispatcher.h"
#include "extract/extract_status.h"
#include "extract/rar_adapter.h"
#include "identify/signatures.h"
#include "volumes/rar_volume_header.h"
#include "volumes/volume_list.h"
#include "volumes/volume_siblings.h"
#include "volumes/volume_slots.h"

namespace {

const int kCopyBlock = 65536;

// Every volume path of the sets this batch extracted, so that a later volume
// of the same set dropped in the same batch adds nothing.
std::vector<std::string> g_extractedVolumes;

bool SamePath(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

bool AlreadyExtracted(const char* path)
{
    for (const std::string& volume : g_extractedVolumes) {
        if (SamePath(volume, path)) return true;
    }
    return false;
}

void RememberExtractedSet()
{
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (SlotPath(slot)[0] != 0) g_extractedVolumes.push_back(SlotPath(slot));
    }
}

// The check pass's answer for a library that is missing or incomplete is
// that library's problem, not the set's: report it like the extraction would.
int ReportLibraryProblem(int checked)
{
    LogText("Unrar.dll");
    LogRow(checked == kLibraryNotLoaded ? "がありません" : "のエラーです");
    return kJobLibraryProblem;
}

bool IsLibraryProblem(int checked) { return checked == kLibraryNotLoaded || checked == kEntryPointMissing; }

// Extracts the set whose names the slots now hold, through its first volume,
// where it lies.
int ExtractInPlace(const char* first, const char* destination)
{
    if (first == nullptr) return kJobFailed;
    char firstVolume[kVolumeNameBuffer];
    BoundedCopy(firstVolume, first, sizeof firstVolume);
    const int checked = CheckRar(firstVolume);
    if (IsLibraryProblem(checked)) return ReportLibraryProblem(checked);
    if (checked != 0) return kJobFailed;
    const int result = RunExtractionJob(kKindRar, firstVolume, destination);
    if (result == kJobSuccess) RememberExtractedSet();
    return result;
}

}  // namespace

void ForgetExtractedSets() { g_extractedVolumes.clear(); }

void TempFolderPath(char* buffer, int size)
{
    BoundedCopy(buffer, ProgramFolder(), size - 1);
    CutToFolder(buffer);
    EnsureTrailingBackslash(buffer, size);
    BoundedAppend(buffer, "Tolvatmp", size);
}

const char* TempArchivePath()
{
    static char path[kJoinedPathBuffer];
    TempFolderPath(path, sizeof path);
    BoundedAppend(path, "\\Tolvatmp.rar", sizeof path);
    return path;
}

int CreateTempFolder()
{
    char folder[kJoinedPathBuffer];
    TempFolderPath(folder, sizeof folder);
    if (EnsureFolder(folder) < 0) {
        LogRow("テンポラリフォルダが作れません");
        return -1;
    }
    return 0;
}

int DeleteMatchingFiles(const char* pattern)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int result = 0;
    do {
        char path[kPathBuffer];
        BoundedCopy(path, pattern, sizeof path - 1);
        CutToFolder(path);
        EnsureTrailingBackslash(path, sizeof path);
        BoundedAppend(path, found.cFileName, sizeof path);
        if (RemoveFile(path) != 0) {
            result = -1;
            break;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return result;
}

int DeleteTempVolumes()
{
    char pattern[kJoinedPathBuffer];
    TempFolderPath(pattern, sizeof pattern);
    BoundedAppend(pattern, "\\Tolvatmp.r??", sizeof pattern);
    if (DeleteMatchingFiles(pattern) != 0) {
        LogRow("テンポラリファイルが削除できません");
        return -1;
    }
    return 0;
}

int CopyFileInBlocks(const char* source, const char* destination)
{
    HANDLE from = CreateFileA(source, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (from == INVALID_HANDLE_VALUE) return -2;
    HANDLE to = CreateFileA(destination, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (to == INVALID_HANDLE_VALUE) {
        CloseHandle(from);
        return -2;
    }
    static char block[kCopyBlock];
    int result = 0;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(from, block, sizeof block, &got, nullptr) || got == 0) break;
        DWORD written = 0;
        if (!WriteFile(to, block, got, &written, nullptr) || written < got) {
            result = -1;
            break;
        }
    }
    CloseHandle(to);
    CloseHandle(from);
    return result;
}

int CopyVolumesToTemp()
{
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const char* source = SlotPath(slot);
        if (source[0] == 0) continue;
        char copy[kJoinedPathBuffer];
        TempFolderPath(copy, 308);
        BoundedAppend(copy, "\\Tolvatmp.", sizeof copy);
        BoundedAppend(copy, SlotExtension(slot), sizeof copy);
        const int copied = CopyFileInBlocks(source, copy);
        if (copied != 0) {
            LogRow(copied == -1 ? "ディスクがいっぱいです" : "テンポラリファイルが作成できません");
            DeleteTempVolumes();
            return copied;
        }
    }
    return 0;
}

int ExtractGatheredSet(const char* destination)
{
    if (DeleteTempVolumes() != 0) return kJobFailed;
    if (CopyVolumesToTemp() != 0) return kJobFailed;
    const int checked = CheckRar(TempArchivePath());
    if (checked != 0) {
        DeleteTempVolumes();
        return IsLibraryProblem(checked) ? ReportLibraryProblem(checked) : kJobFailed;
    }
    const int result = RunExtractionJob(kKindRar, TempArchivePath(), destination);
    DeleteTempVolumes();
    if (result == kJobSuccess) RememberExtractedSet();
    return result;
}

int ExtractDroppedRar(const char* path)
{
    if (AlreadyExtracted(path)) return kJobSuccess;
    char destination[kJoinedPathBuffer];
    BoundedCopy(destination, DestinationFolderFor(path), sizeof destination);

    // Sets that number their volumes in the name ("name.part2.rar") say so in
    // their own header; the first volume beside the dropped one reads them all.
    if (PartNumberOf(LastPathComponent(path), nullptr, nullptr) > 0 && RarNamingOfFile(path) == kRarNamingInName) {
        const char* first = BuildPartVolumeNames(path);
        if (first == nullptr || RarNamingOfFile(first) != kRarNamingInName) return kJobFailed;
        return ExtractInPlace(first, destination);
    }
    const char* extension = PathExtension(path);
    if (extension != nullptr && lstrlenA(extension) == 3 && SlotIndexOf(extension) != kNoSlot) {
        return ExtractInPlace(BuildVolumeNames(path), destination);
    }
    if (CreateTempFolder() != 0) return kJobFailed;
    static const int kModes[] = {kSiblingsByExtension, kSiblingsByCharacter, kSiblingsSingleFile};
    for (int mode : kModes) {
        if (FindSiblingVolumes(mode, path) == 0) continue;
        const int result = ExtractGatheredSet(destination);
        if (result != kJobFailed) return result;
        // A wrong password is the set's, not the gathering's: another way of
        // gathering would only ask again.
        if (RarFailedForPassword()) return kJobFailed;
    }
    return kJobFailed;
}

void ExtractVolumeList()
{
    LogFileName("Tolva!");
    const int rows = VolumeRowCount();
    if (rows == 0) {
        LogRow("ファイルが選択されていません");
        return;
    }
    ClearSlots();
    bool taken[kSlotCount] = {};
    for (int row = 0; row < rows; ++row) {
        char label[4];
        char name[kPathBuffer];
        char folder[kPathBuffer];
        ReadVolumeRow(row, label, sizeof label, name, sizeof name, folder, sizeof folder);
        const int slot = SlotIndexOf(label);
        if (slot == kNoSlot) continue;
        if (taken[slot]) {
            LogText(label);
            LogRow("が複数あります");
            return;
        }
        taken[slot] = true;
        char path[kJoinedPathBuffer];
        BoundedCopy(path, folder, sizeof path);
        EnsureTrailingBackslash(path, sizeof path);
        BoundedAppend(path, name, sizeof path);
        StoreSlot(slot, path);
    }
    if (!taken[kFirstVolumeSlot]) {
        LogRow("rarファイルがありません");
        return;
    }
    if (CreateTempFolder() != 0 || DeleteTempVolumes() != 0 || CopyVolumesToTemp() != 0) return;
    char destination[kJoinedPathBuffer];
    BoundedCopy(destination, DestinationFolderFor(FirstVolumePath()), sizeof destination);
    RunExtractionJob(kKindRar, TempArchivePath(), destination);
    DeleteTempVolumes();
}
