#include "extract/progress_window.h"

#include "resources/resource.h"
#include "shell/app.h"

namespace {

HWND g_progress;
// Its two lines, looked up once: finding a control by its id asks the
// window system for the list of children every time.
HWND g_archiveLine;
HWND g_entryLine;
int g_cancelFlag;
DWORD g_lastPump;

INT_PTR CALLBACK ProgressProc(HWND, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) g_cancelFlag = 1;
    // Cancel neither closes nor changes the window: its adapter closes it.
    return FALSE;
}

// Painted at once: the thread is inside a library call, not in a message loop.
void SetLine(HWND line, const char* text)
{
    if (g_progress == nullptr) return;
    SetWindowTextA(line, text);
    RedrawWindow(g_progress, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace

int OpenProgress(const char* archiveLine)
{
    HWND window = CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(IDD_PROGRESS), MainWindow(), ProgressProc, 0);
    if (window == nullptr) return -1;
    g_progress = window;
    g_archiveLine = GetDlgItem(window, IDT_PROGRESS_ARCHIVE);
    g_entryLine = GetDlgItem(window, IDT_PROGRESS_ENTRY);
    g_cancelFlag = 0;
    g_lastPump = GetTickCount();
    SetWindowTextA(g_archiveLine, archiveLine);
    ShowWindow(window, SW_SHOWNORMAL);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return 0;
}

void SetProgressArchive(const char* text) { SetLine(g_archiveLine, text); }
void SetProgressEntry(const char* text) { SetLine(g_entryLine, text); }
int IsCancelled() { return g_cancelFlag; }
void RequestCancel() { g_cancelFlag = 1; }
HWND ProgressWindowHandle() { return g_progress; }

void CloseProgress()
{
    if (g_progress != nullptr) DestroyWindow(g_progress);
    g_progress = nullptr;
    g_archiveLine = g_entryLine = nullptr;
}

void PumpProgressMessages()
{
    if (g_progress == nullptr) return;
    g_lastPump = GetTickCount();
    MSG message;
    // Only this window's messages and its children's: the main window must
    // not see a drop or a menu command in the middle of a batch.
    while (g_progress != nullptr && PeekMessageA(&message, g_progress, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageA(g_progress, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void PollProgressMessages()
{
    // Looking for messages costs a round trip to the window system, as much
    // as a small entry's extraction; a press of Cancel waits no longer than a
    // person would notice.
    if (GetTickCount() - g_lastPump >= kProgressPollMilliseconds) PumpProgressMessages();
}
