// The volume list: RAR files waiting to be extracted together.
#pragma once

#include <windows.h>

void CreateVolumeColumns();
int VolumeRowCount();

void DeleteSelectedRows();
void DeleteAllRows();

// The Extract command: a batch of its own that extracts the listed volumes
// together, with the results view owned by owner.
void RunExtractCommand(HWND owner);
