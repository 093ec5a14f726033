// The volume list: RAR files waiting to be extracted together.
#pragma once

#include <windows.h>

void CreateVolumeColumns();
int VolumeRowCount();
