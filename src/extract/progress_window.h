// The progress window: the archive (or volume) and the entry being extracted,
// and a Cancel button that sets the CancelFlag.
#pragma once

#include <windows.h>

int OpenProgress(const char* archiveLine);  // 0, or -1 when it cannot be made
void SetProgressArchive(const char* text);
void SetProgressEntry(const char* text);
int IsCancelled();
void RequestCancel();
void CloseProgress();

// The open window (owner of the password prompt), or null.
HWND ProgressWindowHandle();

// Dispatches the progress window's pending messages, so that a press of
// Cancel is seen while a library works.
void PumpProgressMessages();

// The same, at most once every kProgressPollMilliseconds. Adapters call it at
// every callback and between entries, and PumpProgressMessages itself before
// they read the CancelFlag for the last time.
const DWORD kProgressPollMilliseconds = 25;
void PollProgressMessages();
