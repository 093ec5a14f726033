#include "tests/e2e/driver.h"

#include <commctrl.h>

#include <cstring>

namespace {

const char kResultsTitle[] = "Tolva - 情報";
const int kResultsList = 1007;

struct WindowSearch {
    DWORD pid;
    const char* className;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid) return TRUE;
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, search->className) != 0) return TRUE;
    if (search->title != nullptr) {
        char title[256] = "";
        GetWindowTextA(window, title, sizeof title);
        if (std::strcmp(title, search->title) != 0) return TRUE;
    }
    search->found = window;
    return FALSE;
}

std::string Quoted(const std::string& argument) { return "\"" + argument + "\""; }

}  // namespace

std::string BuiltTolvaExe()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    char* slash = std::strrchr(path, '\\');
    if (slash != nullptr) slash[1] = 0;
    return std::string(path) + "tolva.exe";
}

std::string PrepareProgramFolder(const std::string& folder)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string exe = folder + "\\tolva.exe";
    CopyFileA(BuiltTolvaExe().c_str(), exe.c_str(), FALSE);
    return exe;
}

TolvaProcess StartTolva(const std::string& exe, const std::vector<std::string>& args)
{
    std::string commandLine = Quoted(exe);
    for (const std::string& argument : args) commandLine += " " + Quoted(argument);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    TolvaProcess tolva;
    std::string folder = exe.substr(0, exe.rfind('\\'));
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &info)) {
        return tolva;
    }
    CloseHandle(info.hThread);
    tolva.process = info.hProcess;
    tolva.pid = info.dwProcessId;
    return tolva;
}

HWND FindProcessWindow(DWORD pid, const char* className, const char* title)
{
    WindowSearch search = {pid, className, title, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForResultsView(const TolvaProcess& tolva, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        HWND view = FindProcessWindow(tolva.pid, "#32770", kResultsTitle);
        if (view != nullptr && IsWindowVisible(view)) return view;
        if (WaitForSingleObject(tolva.process, 0) == WAIT_OBJECT_0) return nullptr;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(50);
    }
}

ResultRows ReadResultRows(const TolvaProcess& tolva, HWND view)
{
    ResultRows rows;
    HWND list = GetDlgItem(view, kResultsList);
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    const SIZE_T textSize = 1024;
    char* remote = static_cast<char*>(
        VirtualAllocEx(tolva.process, nullptr, sizeof(LVITEMA) + textSize, MEM_COMMIT, PAGE_READWRITE));
    if (remote == nullptr) return rows;
    char* remoteText = remote + sizeof(LVITEMA);
    for (int row = 0; row < count; ++row) {
        std::string cells[2];
        for (int column = 0; column < 2; ++column) {
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = remoteText;
            item.cchTextMax = textSize;
            WriteProcessMemory(tolva.process, remote, &item, sizeof item, nullptr);
            SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
            char text[textSize] = "";
            ReadProcessMemory(tolva.process, remoteText, text, textSize, nullptr);
            text[textSize - 1] = 0;
            cells[column] = text;
        }
        rows.emplace_back(cells[0], cells[1]);
    }
    VirtualFreeEx(tolva.process, remote, 0, MEM_RELEASE);
    return rows;
}

void PressOk(HWND view) { PostMessageA(GetDlgItem(view, IDOK), BM_CLICK, 0, 0); }

long WaitForExit(const TolvaProcess& tolva, DWORD timeoutMs)
{
    if (WaitForSingleObject(tolva.process, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(tolva.process, &code);
    return static_cast<long>(code);
}

void CloseTolva(TolvaProcess& tolva)
{
    if (tolva.process == nullptr) return;
    if (WaitForSingleObject(tolva.process, 0) != WAIT_OBJECT_0) TerminateProcess(tolva.process, 99);
    CloseHandle(tolva.process);
    tolva.process = nullptr;
}
