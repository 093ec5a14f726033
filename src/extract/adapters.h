// The three archiver adapters. Each extracts one archive into the destination
// folder and returns an ExtractStatus.
#pragma once

#include <windows.h>

int ExtractLzh(HWND owner, const char* archive, const char* destination);
int ExtractZip(HWND owner, const char* archive, const char* destination);
int ExtractRar(HWND owner, const char* archive, const char* destination);
