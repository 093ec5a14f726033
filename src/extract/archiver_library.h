// Loading an archiver library for one archive.
#pragma once

#include <windows.h>

// Loads the library from the places a user may have put it, in this order:
// beside the program, the system folders, then every absolute folder of the
// search path. Never from the current folder, which may be a download folder
// holding a planted copy. Null when it is nowhere.
HMODULE LoadArchiverLibrary(const char* name);

// An entry point of the library as the function type the caller declares.
template <typename Function>
Function LibraryEntry(HMODULE library, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}
