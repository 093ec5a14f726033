// The volume list: RAR files waiting to be extracted together, each labelled
// with the volume it is ("rar", "r00" ... "r99").
#pragma once

#include <windows.h>

enum { kVolumeListCapacity = 101 };

void CreateVolumeColumns();
void ScaleVolumeColumns(int dpi);  // when the window moves to a screen of another DPI
void InstallVolumeListProc(HWND list);
int VolumeRowCount();

// 0 when added (or already listed), -1 when the list is full (logged).
int AddVolumeFile(const char* path);

// A row's label, name and folder, each cut to its buffer.
void ReadVolumeRow(int row, char* label, int labelSize, char* name, int nameSize, char* folder, int folderSize);

void RelabelSelected(int slot);
void DeleteSelectedRows();
void DeleteAllRows();

// Sorting: rows compared by one column's first 29 bytes, the direction read
// from the program-wide flag (0 ascending, 1 descending).
extern int SortDescending;
int CALLBACK CompareRows(LPARAM tagA, LPARAM tagB, LPARAM column);

// The list's notifications to the main window: column clicks and label edits.
LRESULT HandleVolumeListNotify(const NMHDR* header);

// The Extract command: a batch of its own that extracts the listed volumes
// together, with the results view owned by owner.
void RunExtractCommand(HWND owner);
