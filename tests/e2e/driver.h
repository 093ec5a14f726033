// Drives a real tolva.exe from outside: starts it in a program folder of its
// own, finds its windows, reads the rows of its results view and presses its
// buttons, the way a user would.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

typedef std::vector<std::pair<std::string, std::string>> ResultRows;  // (file, message)

// tolva.exe of this build (beside the running executable).
std::string BuiltTolvaExe();

// Makes folder (fresh) and copies tolva.exe into it; the copy's path.
std::string PrepareProgramFolder(const std::string& folder);

struct TolvaProcess {
    HANDLE process = nullptr;
    DWORD pid = 0;
};

// Starts exe with the arguments, each quoted, in the folder given (the
// program folder when empty); process.process is null on failure.
TolvaProcess StartTolva(const std::string& exe, const std::vector<std::string>& args,
                        const std::string& currentFolder = "");

// The results view of that process once it shows, or null after the timeout
// or when the process ended first.
HWND WaitForResultsView(const TolvaProcess& tolva, DWORD timeoutMs = 20000);

// The rows of the view's list, read from the other process's memory.
ResultRows ReadResultRows(const TolvaProcess& tolva, HWND view);

// The rows of any list view of the process, columns joined by '|'.
std::vector<std::string> ReadListRows(const TolvaProcess& tolva, HWND list, int columns);

// Presses the view's OK button.
void PressOk(HWND view);

// The exit code, or -1 when the process is still running after the timeout.
long WaitForExit(const TolvaProcess& tolva, DWORD timeoutMs = 20000);

void CloseTolva(TolvaProcess& tolva);

// A top-level window of the process with this class (and title, when given).
HWND FindProcessWindow(DWORD pid, const char* className, const char* title);

// A visible dialog of the process whose title ends with titleEnd and which
// has a control of id control (0: any), once it shows; null after the timeout
// or when the process ended first.
HWND WaitForDialog(const TolvaProcess& tolva, const char* titleEnd, int control, DWORD timeoutMs = 20000);

// The items of a combo box of the other process, in list order (the system
// carries the text of a combo box message across processes itself).
std::vector<std::string> ReadComboItems(HWND combo);

// The main window ("TolvaMain", "Tolva") once it is visible; null after the
// timeout or when the process ended first.
HWND WaitForMainWindow(const TolvaProcess& tolva, DWORD timeoutMs = 20000);

// Selects exactly the given rows of a list of the other process.
void SelectListRows(const TolvaProcess& tolva, HWND list, const std::vector<int>& rows);

// The centre of a row of a list of the other process, in its client area.
POINT ListRowPoint(const TolvaProcess& tolva, HWND list, int row);

// Opens the list's right-button menu on a row (or below the rows for -1)
// and chooses its item at position index (separators not counted) by keyboard.
bool ChooseFromRowMenu(const TolvaProcess& tolva, HWND list, int row, int index);

// Files in a folder matching a pattern ("Tolvatmp.*"), sorted.
std::vector<std::string> FilesIn(const std::string& folder, const std::string& pattern = "*");

// Waits for a batch started in the main window (the window is disabled while
// it runs) to end: reads and closes its results view when it shows one.
ResultRows AwaitBatch(const TolvaProcess& tolva, HWND main, DWORD timeoutMs = 30000);

// Presses a button of a dialog (as a click would).
void PressButton(HWND dialog, int id);

std::string WindowText(HWND window);

// The build folder (the parent of the bin folder this executable lies in).
std::string BuildFolder();

// The stand-in archiver libraries of this build: variant is "unlha32.dll",
// "unzip32.dll", "unzip-only\\unzip32.dll", "no-entry\\unlha32.dll" ...
std::string StandinPath(const std::string& variant);
void CopyStandin(const std::string& variant, const std::string& folder);

// Copies a file into a folder, under its own name or under the one given;
// the copy's path, or an empty text when the copy failed.
std::string CopyInto(const std::string& file, const std::string& folder, const std::string& name = "");

std::string ReadTextFile(const std::string& path);
bool WriteTextFile(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);

// Closes the folder windows the shell opened; how many there were.
int CloseOpenedFolders();

// Waits until count folder windows show (the shell opens them a moment after
// it is asked), closes them and returns their titles, sorted.
std::vector<std::string> WaitForOpenedFolders(size_t count, DWORD timeoutMs = 10000);
