#include "shell/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>

#include "core/files.h"
#include "extract/batch_log.h"
#include "extract/dispatcher.h"
#include "extract/results_view.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "shell/batch.h"
#include "shell/menu_commands.h"
#include "shell/settings.h"
#include "volumes/volume_list.h"

const char kMainWindowClass[] = "TolvaMain";
const char kMainWindowTitle[] = "Tolva";

namespace {

void RememberWindowRect(HWND window)
{
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    if (style & (WS_MINIMIZE | WS_MAXIMIZE)) return;
    RECT rect;
    GetWindowRect(window, &rect);
    Settings& settings = CurrentSettings();
    settings.WinPos_X = rect.left;
    settings.WinPos_Y = rect.top;
    settings.WinSizeX = rect.right - rect.left;
    settings.WinSizeY = rect.bottom - rect.top;
}

void ApplyListFont()
{
    HFONT font = CreateFontIndirectA(&CurrentSettings().listFont);
    SendMessageA(VolumeListWindow(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// Returns false when the window was closed because nothing was left to show.
bool OnCreate(HWND window)
{
    InitCommonControls();
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_EDITLABELS, 0, 0, 0, 0,
                                window, reinterpret_cast<HMENU>(IDC_VOLUME_LIST), AppInstance(), nullptr);
    SetVolumeListWindow(list);
    if (CurrentSettings().LISTFONT) ApplyListFont();
    InstallVolumeListProc(list);
    CreateVolumeColumns();

    if (__argc > 1) {
        BeginBatch(true);
        for (int i = 1; i < __argc; ++i) ProcessFile(LongNameOf(__argv[i]));
        EndBatch(window);
        if (VolumeRowCount() == 0) {
            SendMessageA(window, WM_CLOSE, 0, 0);
            return false;
        }
    }
    DragAcceptFiles(window, TRUE);
    return true;
}

void OnDropFiles(HWND window, HDROP drop)
{
    if (BatchRunning()) {
        DragFinish(drop);
        return;
    }
    BeginBatch(true);
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[kPathBuffer];
        if (DragQueryFileA(drop, i, path, sizeof path) == 0) continue;
        ProcessFile(path);
    }
    DragFinish(drop);
    EndBatch(window);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    SetMainWindow(window);
    switch (message) {
    case WM_CREATE:
        // A window closed during its own creation makes CreateWindowEx fail.
        return OnCreate(window) ? 0 : -1;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_MOVE:
        RememberWindowRect(window);
        return 0;
    case WM_SIZE:
        MoveWindow(VolumeListWindow(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        RememberWindowRect(window);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DPICHANGED: {
        // Windows suggests the rectangle that keeps the window's size in inches.
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        ScaleVolumeColumns(HIWORD(wParam));
        return 0;
    }
    case WM_DROPFILES:
        OnDropFiles(window, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        return header->idFrom == IDC_VOLUME_LIST ? HandleVolumeListNotify(header) : 0;
    }
    case WM_COMMAND:
        // No command may start a second batch inside a running one.
        if (BatchRunning()) return 0;
        if (RunMenuCommand(window, LOWORD(wParam))) return 0;
        return DefWindowProcA(window, message, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TOLVA));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDM_MAIN);
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExA(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE instance)
{
    const Settings& settings = CurrentSettings();
    return CreateWindowExA(0, kMainWindowClass, kMainWindowTitle, WS_OVERLAPPEDWINDOW, settings.WinPos_X,
                           settings.WinPos_Y, settings.WinSizeX, settings.WinSizeY, nullptr, nullptr, instance,
                           nullptr);
}
