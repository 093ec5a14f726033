#include "tests/e2e/driver.h"

#include <commctrl.h>

#include <algorithm>
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

TolvaProcess StartTolva(const std::string& exe, const std::vector<std::string>& args,
                        const std::string& currentFolder)
{
    std::string commandLine = Quoted(exe);
    for (const std::string& argument : args) commandLine += " " + Quoted(argument);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    TolvaProcess tolva;
    const std::string folder = currentFolder.empty() ? exe.substr(0, exe.rfind('\\')) : currentFolder;
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

std::vector<std::string> ReadListRows(const TolvaProcess& tolva, HWND list, int columns)
{
    std::vector<std::string> rows;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    const SIZE_T textSize = 1024;
    char* remote = static_cast<char*>(
        VirtualAllocEx(tolva.process, nullptr, sizeof(LVITEMA) + textSize, MEM_COMMIT, PAGE_READWRITE));
    if (remote == nullptr) return rows;
    char* remoteText = remote + sizeof(LVITEMA);
    for (int row = 0; row < count; ++row) {
        std::string cells;
        for (int column = 0; column < columns; ++column) {
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = remoteText;
            item.cchTextMax = textSize;
            WriteProcessMemory(tolva.process, remote, &item, sizeof item, nullptr);
            SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
            char text[textSize] = "";
            ReadProcessMemory(tolva.process, remoteText, text, textSize, nullptr);
            text[textSize - 1] = 0;
            if (column > 0) cells += "|";
            cells += text;
        }
        rows.push_back(cells);
    }
    VirtualFreeEx(tolva.process, remote, 0, MEM_RELEASE);
    return rows;
}

ResultRows ReadResultRows(const TolvaProcess& tolva, HWND view)
{
    ResultRows rows;
    for (const std::string& row : ReadListRows(tolva, GetDlgItem(view, kResultsList), 2)) {
        const size_t bar = row.find('|');
        rows.emplace_back(row.substr(0, bar), row.substr(bar + 1));
    }
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

namespace {

struct DialogSearch {
    DWORD pid;
    const char* titleEnd;
    int control;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter)
{
    DialogSearch* search = reinterpret_cast<DialogSearch*>(parameter);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || !IsWindowVisible(window)) return TRUE;
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") != 0) return TRUE;
    const std::string title = WindowText(window);
    const size_t endLength = std::strlen(search->titleEnd);
    if (title.size() < endLength || title.compare(title.size() - endLength, endLength, search->titleEnd) != 0) {
        return TRUE;
    }
    if (search->control != 0 && GetDlgItem(window, search->control) == nullptr) return TRUE;
    search->found = window;
    return FALSE;
}

// The shell's folder windows (Wine's explorer and Windows' own).
BOOL CALLBACK CollectFolderWindow(HWND window, LPARAM parameter)
{
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if ((std::strcmp(className, "ExplorerWClass") == 0 || std::strcmp(className, "CabinetWClass") == 0) &&
        IsWindowVisible(window)) {
        reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
    }
    return TRUE;
}

std::vector<HWND> FolderWindows()
{
    std::vector<HWND> windows;
    EnumWindows(CollectFolderWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

}  // namespace

std::string BuildFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    folder.erase(folder.rfind('\\'));  // the bin folder
    folder.erase(folder.rfind('\\'));  // the build folder
    return folder;
}

std::string WindowText(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND WaitForDialog(const TolvaProcess& tolva, const char* titleEnd, int control, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        DialogSearch search = {tolva.pid, titleEnd, control, nullptr};
        EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) return search.found;
        if (WaitForSingleObject(tolva.process, 0) == WAIT_OBJECT_0) return nullptr;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(50);
    }
}

std::vector<std::string> ReadComboItems(HWND combo)
{
    // Asked in UTF-16: Wine hands the answer of the ANSI message across
    // processes in the control's own UTF-16 form.
    std::vector<std::string> items;
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t wide[512] = L"";
        if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) >= 512) continue;
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
        char text[1024] = "";
        WideCharToMultiByte(932, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        items.push_back(text);
    }
    return items;
}

void PressButton(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

std::string StandinPath(const std::string& variant) { return BuildFolder() + "\\standins\\" + variant; }

void CopyStandin(const std::string& variant, const std::string& folder)
{
    const std::string name = variant.substr(variant.rfind('\\') + 1);
    CopyFileA(StandinPath(variant).c_str(), (folder + "\\" + name).c_str(), FALSE);
}

std::string CopyInto(const std::string& file, const std::string& folder, const std::string& name)
{
    const std::string copy = folder + "\\" + (name.empty() ? file.substr(file.rfind('\\') + 1) : name);
    return CopyFileA(file.c_str(), copy.c_str(), FALSE) ? copy : std::string();
}

std::string ReadTextFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    CloseHandle(file);
    return text;
}

bool WriteTextFile(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return written == text.size();
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

int CloseOpenedFolders()
{
    const std::vector<HWND> windows = FolderWindows();
    for (HWND window : windows) PostMessageA(window, WM_CLOSE, 0, 0);
    return static_cast<int>(windows.size());
}

std::vector<std::string> WaitForOpenedFolders(size_t count, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    std::vector<HWND> windows = FolderWindows();
    while (windows.size() < count && GetTickCount() - start < timeoutMs) {
        Sleep(100);
        windows = FolderWindows();
    }
    std::vector<std::string> titles;
    for (HWND window : windows) {
        titles.push_back(WindowText(window));
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    std::sort(titles.begin(), titles.end());
    return titles;
}

HWND WaitForMainWindow(const TolvaProcess& tolva, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        HWND main = FindProcessWindow(tolva.pid, "TolvaMain", "Tolva");
        if (main != nullptr && IsWindowVisible(main)) return main;
        if (WaitForSingleObject(tolva.process, 0) == WAIT_OBJECT_0) return nullptr;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(50);
    }
}

namespace {

// A small block of the other process's memory for one message's record.
template <typename Record>
struct RemoteRecord {
    HANDLE process;
    Record* address;
    RemoteRecord(HANDLE target, const Record& record) : process(target)
    {
        address = static_cast<Record*>(VirtualAllocEx(process, nullptr, sizeof(Record), MEM_COMMIT, PAGE_READWRITE));
        WriteProcessMemory(process, address, &record, sizeof record, nullptr);
    }
    Record Read() const
    {
        Record record = {};
        ReadProcessMemory(process, address, &record, sizeof record, nullptr);
        return record;
    }
    ~RemoteRecord() { VirtualFreeEx(process, address, 0, MEM_RELEASE); }
};

void SetRowState(const TolvaProcess& tolva, HWND list, int row, UINT state)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = state;
    RemoteRecord<LVITEMA> remote(tolva.process, item);
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.address));
}

}  // namespace

void SelectListRows(const TolvaProcess& tolva, HWND list, const std::vector<int>& rows)
{
    SetRowState(tolva, list, -1, 0);
    for (int row : rows) SetRowState(tolva, list, row, LVIS_SELECTED);
}

POINT ListRowPoint(const TolvaProcess& tolva, HWND list, int row)
{
    RECT rect = {};
    rect.left = LVIR_LABEL;
    RemoteRecord<RECT> remote(tolva.process, rect);
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.address));
    rect = remote.Read();
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

bool ChooseFromRowMenu(const TolvaProcess& tolva, HWND list, int row, int index)
{
    POINT point = {20, 0};
    if (row >= 0) {
        point = ListRowPoint(tolva, list, row);
    } else {
        RECT client;
        GetClientRect(list, &client);
        point.y = client.bottom - 5;
    }
    PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point.x, point.y));
    PostMessageA(list, WM_RBUTTONUP, 0, MAKELPARAM(point.x, point.y));
    // The menu runs its own loop on the program's thread, which reads the
    // keys posted to that thread.
    const DWORD start = GetTickCount();
    HWND menu = nullptr;
    while (menu == nullptr && GetTickCount() - start < 10000) {
        menu = FindProcessWindow(tolva.pid, "#32768", nullptr);
        if (menu == nullptr || !IsWindowVisible(menu)) {
            menu = nullptr;
            Sleep(50);
        }
    }
    if (menu == nullptr) return false;
    const DWORD thread = GetWindowThreadProcessId(list, nullptr);
    for (int i = 0; i <= index; ++i) PostThreadMessageA(thread, WM_KEYDOWN, VK_DOWN, 0);
    PostThreadMessageA(thread, WM_KEYDOWN, VK_RETURN, 0);
    for (int i = 0; i < 100 && IsWindowVisible(menu); ++i) Sleep(50);
    return true;
}

std::vector<std::string> FilesIn(const std::string& folder, const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

ResultRows AwaitBatch(const TolvaProcess& tolva, HWND main, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    // The batch starts when the program takes the command: the window is
    // disabled then; a batch over in a blink may be missed, hence the limit.
    while (IsWindowEnabled(main) && GetTickCount() - start < 3000) {
        if (HWND view = WaitForResultsView(tolva, 0)) {
            ResultRows rows = ReadResultRows(tolva, view);
            PressOk(view);
            return rows;
        }
        Sleep(20);
    }
    ResultRows rows;
    while (!IsWindowEnabled(main) && GetTickCount() - start < timeoutMs) {
        if (HWND view = WaitForResultsView(tolva, 0)) {
            rows = ReadResultRows(tolva, view);
            PressOk(view);
            while (IsWindow(view) && GetTickCount() - start < timeoutMs) Sleep(20);
        }
        if (WaitForSingleObject(tolva.process, 0) == WAIT_OBJECT_0) break;
        Sleep(20);
    }
    return rows;
}
