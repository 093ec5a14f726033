#include "core/files.h"

#include <windows.h>

#include <cstring>

#include "core/paths.h"
#include "core/text.h"

namespace {

bool HasWildcard(const char* path)
{
    // '*' and '?' are below 0x40, so they never occur as a trail byte.
    return std::strpbrk(path, "*?") != nullptr;
}

}  // namespace

bool ProbeWouldAcceptAsFile(const char* path)
{
    if (*path == 0 || HasWildcard(path)) return false;
    // "name\" for a file is no path at all.
    const int last = static_cast<int>(std::strlen(path)) - 1;
    return !(path[last] == '\\' && !IsTrailByteAt(path, last));
}

int ProbePath(const char* path)
{
    // GetFileAttributesA costs a thirtieth of a directory search under Wine and,
    // unlike the search, answers for drive roots and for "folder\".
    if (*path == 0 || HasWildcard(path)) return -1;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return -1;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return 1;
    return ProbeWouldAcceptAsFile(path) ? 0 : -1;
}

int EnsureFolder(const char* folder)
{
    switch (ProbePath(folder)) {
    case 1: return 0;
    case 0: return -2;
    default: return MakeFolder(folder) == 0 ? 1 : -1;
    }
}

int RemoveFile(const char* path) { return DeleteFileA(path) ? 0 : -1; }

int MakeFolder(const char* path) { return CreateDirectoryA(path, nullptr) ? 0 : -1; }

int RemoveFolder(const char* path) { return RemoveDirectoryA(path) ? 0 : -1; }

int RemoveEmptyFolderTree(const char* folder)
{
    char prefix[MAX_PATH];
    BoundedCopy(prefix, folder, sizeof prefix);
    EnsureTrailingBackslash(prefix, sizeof prefix);
    char pattern[MAX_PATH];
    BoundedCopy(pattern, prefix, sizeof pattern);
    BoundedAppend(pattern, "*", sizeof pattern);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
            if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0) continue;
            // A link to a folder leads outside this tree: the folders behind
            // it are not ours to remove, and the link itself keeps the tree.
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
            char inner[MAX_PATH];
            BoundedCopy(inner, prefix, sizeof inner);
            BoundedAppend(inner, found.cFileName, sizeof inner);
            RemoveEmptyFolderTree(inner);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return RemoveFolder(folder);
}

int ReplaceWithLongName(char* buffer, int capacity)
{
    if (HasWildcard(buffer)) return 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(buffer, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    FindClose(search);
    const int length = static_cast<int>(std::strlen(found.cFileName));
    if (length >= capacity) return 0;
    std::memcpy(buffer, found.cFileName, length + 1);
    return length;
}

const char* LongNameOf(const char* path)
{
    static char result[292];
    char name[kPathBuffer];
    BoundedCopy(name, path, sizeof name);
    if (ReplaceWithLongName(name, sizeof name) == 0) {
        // Not found (or a wildcard): keep the path as given, so that the file
        // is reported as missing under the name the user typed.
        BoundedCopy(result, path, sizeof result);
        return result;
    }
    // The folder part is kept exactly as written ("C:name" stays drive-relative).
    BoundedCopy(result, path, sizeof result - 1);
    result[FolderPartLength(result)] = 0;
    BoundedAppend(result, name, sizeof result);
    return result;
}

const char* ProgramFolder()
{
    static char folder[kPathBuffer];
    if (folder[0] == 0) {
        // The module's own path, not argv[0]: a program started by a relative
        // name would otherwise look for its files in the wrong place.
        const DWORD length = GetModuleFileNameA(nullptr, folder, sizeof folder);
        if (length == 0 || length >= sizeof folder) folder[0] = 0;
        CutToFolder(folder);
        EnsureTrailingBackslash(folder, sizeof folder);
    }
    return folder;
}
