// Splitting and joining code page 932 paths. No platform calls: the double-byte
// walk goes through core/dbcs.h. Separators are '\\', '/' and ':'.
#pragma once

// Pointer just after the last separator; the path itself when it has none.
char* LastPathComponent(char* path);
const char* LastPathComponent(const char* path);

// Terminates the path just after its last separator; unchanged without one.
void CutToFolder(char* path);

// Pointer just after the last dot of the last component; nullptr without one.
const char* PathExtension(const char* path);

// Terminates the path at the last dot of its last component.
void StripExtension(char* path);

// Appends a backslash unless the path already ends in a real one (not the
// trail byte of a double-byte character). size is the buffer's full size:
// when there is no room for one more byte the path is left as it is.
void EnsureTrailingBackslash(char* path, int size);

// Removes a final real backslash from a path of at least 4 bytes ("C:\" stays).
void DropTrailingBackslash(char* path);

// Length of the folder part: the bytes up to and including the last separator.
int FolderPartLength(const char* path);
