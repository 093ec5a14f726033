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

// Starts exe with the arguments, each quoted; process.process is null on failure.
TolvaProcess StartTolva(const std::string& exe, const std::vector<std::string>& args);

// The results view of that process once it shows, or null after the timeout
// or when the process ended first.
HWND WaitForResultsView(const TolvaProcess& tolva, DWORD timeoutMs = 20000);

// The rows of the view's list, read from the other process's memory.
ResultRows ReadResultRows(const TolvaProcess& tolva, HWND view);

// Presses the view's OK button.
void PressOk(HWND view);

// The exit code, or -1 when the process is still running after the timeout.
long WaitForExit(const TolvaProcess& tolva, DWORD timeoutMs = 20000);

void CloseTolva(TolvaProcess& tolva);

// A top-level window of the process with this class (and title, when given).
HWND FindProcessWindow(DWORD pid, const char* className, const char* title);
