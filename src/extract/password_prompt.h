// The password prompt: a masked field, or a list of "pass.txt" candidates.
#pragma once

#include <windows.h>

// Fills the dialog's candidate list from "pass.txt" beside the program;
// 1 when the file could be opened (even if empty), 0 when not.
int LoadPasswordList(HWND dialog);

// The ZIP library's password callback: 0 with the typed password, -2 when
// the user cancelled (or had already pressed Cancel), 5 when no prompt could
// be shown.
int WINAPI ZipPasswordCallback(LPSTR buffer, int size, LPCSTR prompt, LPCSTR name);

// The archive the ZIP prompt names in its title.
void SetZipPromptArchive(const char* archive);

// The password for the RAR library: at most 63 bytes; empty when none is held.
extern char RarPassword[64];

// Asks for the RAR archive's password, owned by the progress window and
// titled with the user's name of the first volume. 1 with the password in
// RarPassword; 2 when cancelled (the CancelFlag is then set).
int RunRarPasswordPrompt();
