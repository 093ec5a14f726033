// The results view: the batch log's rows in a modal dialog.
#pragma once

#include <windows.h>

// Runs the view modally over the current log; closes itself when there are no rows.
void ShowResults(HWND owner);

// Builds the columns and rows of the view's list from the log; the row count.
int FillResultsList(HWND dialog);
