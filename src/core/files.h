// File-system probes and primitives on the real Win32 functions.
#pragma once

enum { kPathBuffer = 260, kJoinedPathBuffer = 324 };

// -1 nothing there (also for a path holding a wildcard), 1 a folder, 0 a file.
// A drive root and a folder written with a trailing backslash are folders.
int ProbePath(const char* path);

// False for a path that ProbePath never calls a file whatever the disk holds
// (empty, a wildcard, a trailing backslash).
bool ProbeWouldAcceptAsFile(const char* path);

// 1 created now, 0 already a folder, -1 creating failed, -2 a file is in the way.
// Creates one level only.
int EnsureFolder(const char* folder);

int RemoveFile(const char* path);    // 0 or -1
int MakeFolder(const char* path);    // 0 or -1
int RemoveFolder(const char* path);  // 0 or -1, empty folders only

// Removes the folder when it holds nothing but empty folders (those too);
// anything holding a file stays. 0 when the folder is gone, else -1.
int RemoveEmptyFolderTree(const char* folder);

// Replaces the buffer by the long name of the path's final component; its
// length, or 0 (buffer untouched) when nothing is found or it does not fit.
int ReplaceWithLongName(char* buffer, int capacity);

// The path with its final component in its long form (static buffer,
// overwritten by the next call); the path unchanged when it cannot be found.
const char* LongNameOf(const char* path);

// The folder this program's executable lies in, with a trailing backslash.
const char* ProgramFolder();
