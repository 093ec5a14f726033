#include "extract/progress_window.h"

#include "resources/resource.h"
#include "shell/app.h"

namespace {

HWND g_progress;
int g_cancelFlag;

INT_PTR CALLBACK ProgressProc(HWND, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) g_cancelFlag = 1;
    // Cancel neither closes nor changes the window: its adapter closes it.
    return FALSE;
}

// Painted at once: the thread is inside a library call, not in a message loop.
void SetLine(int control, const char* text)
{
    if (g_progress == nullptr) return;
    SetDlgItemTextA(g_progress, control, text);
    RedrawWindow(g_progress, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace

int OpenProgress(const char* archiveLine)
{
    HWND window = CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(IDD_PROGRESS), MainWindow(), ProgressProc, 0);
    if (window == nullptr) return -1;
    g_progress = window;
    g_cancelFlag = 0;
    SetDlgItemTextA(window, IDT_PROGRESS_ARCHIVE, archiveLine);
    ShowWindow(window, SW_SHOWNORMAL);
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return 0;
}

void SetProgressArchive(const char* text) { SetLine(IDT_PROGRESS_ARCHIVE, text); }
void SetProgressEntry(const char* text) { SetLine(IDT_PROGRESS_ENTRY, text); }
int IsCancelled() { return g_cancelFlag; }
void RequestCancel() { g_cancelFlag = 1; }
HWND ProgressWindowHandle() { return g_progress; }

void CloseProgress()
{
    if (g_progress != nullptr) DestroyWindow(g_progress);
    g_progress = nullptr;
}

void PumpProgressMessages()
{
    if (g_progress == nullptr) return;
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
