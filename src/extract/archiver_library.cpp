#include "extract/archiver_library.h"

#include <cstdlib>
#include <cstring>

#include "core/files.h"
#include "core/paths.h"
#include "core/text.h"

namespace {

// "C:\x" or "\\server\share": folders that do not depend on the current one.
bool IsAbsoluteFolder(const char* folder)
{
    const bool drive = ((folder[0] | 0x20) >= 'a' && (folder[0] | 0x20) <= 'z') && folder[1] == ':' &&
                       (folder[2] == '\\' || folder[2] == '/');
    const bool unc = folder[0] == '\\' && folder[1] == '\\';
    return drive || unc;
}

HMODULE LoadFrom(const char* folder, const char* name)
{
    if (!IsAbsoluteFolder(folder)) return nullptr;
    char path[kJoinedPathBuffer];
    BoundedCopy(path, folder, sizeof path);
    EnsureTrailingBackslash(path, sizeof path);
    BoundedAppend(path, name, sizeof path);
    if (ProbePath(path) != 0) return nullptr;
    // The library's own dependencies are looked for beside it first.
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

HMODULE LoadArchiverLibrary(const char* name)
{
    if (HMODULE library = LoadFrom(ProgramFolder(), name)) return library;
    char folder[MAX_PATH];
    if (GetSystemDirectoryA(folder, sizeof folder) != 0) {
        if (HMODULE library = LoadFrom(folder, name)) return library;
    }
    if (GetWindowsDirectoryA(folder, sizeof folder) != 0) {
        if (HMODULE library = LoadFrom(folder, name)) return library;
    }
    const char* path = std::getenv("PATH");
    if (path == nullptr) return nullptr;
    while (*path != 0) {
        const char* end = std::strchr(path, ';');
        const size_t length = end != nullptr ? static_cast<size_t>(end - path) : std::strlen(path);
        if (length > 0 && length < sizeof folder) {
            std::memcpy(folder, path, length);
            folder[length] = 0;
            if (HMODULE library = LoadFrom(folder, name)) return library;
        }
        if (end == nullptr) break;
        path = end + 1;
    }
    return nullptr;
}
