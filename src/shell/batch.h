// One batch at a time: a drop, the command line, or the Extract command.
#pragma once

#include <windows.h>

bool BatchRunning();

// Starts a batch: the main window takes no drop and no command until it
// ends; the log is cleared, and for a batch of files the batch status and the
// memory of extracted sets start afresh.
void BeginBatch(bool ofFiles);

// Shows the results owned by owner and lets the main window work again.
void EndBatch(HWND owner);
