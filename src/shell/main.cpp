// Start-up: one instance per session, the main window, the message loop.
#include <windows.h>

#include "shell/app.h"
#include "shell/main_window.h"
#include "shell/settings.h"

// Arguments are taken as written: "*.zip" must not become some matching file.
int _dowildcard = 0;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    // The archiver libraries are loaded by name: never from whatever folder
    // happens to be current (a download folder may hold a planted copy).
    SetDllDirectoryA("");
    LoadSettings(CurrentSettings());

    if (HWND running = FindWindowA(kMainWindowClass, kMainWindowTitle)) {
        ShowWindow(running, SW_RESTORE);
        SetForegroundWindow(running);
        return 0;
    }
    if (!RegisterMainWindowClass(instance)) return 0;
    SetAppInstance(instance);
    HWND window = CreateMainWindow(instance);
    if (window == nullptr) return 0;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    LoadHandCursor();

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    SaveSettings(CurrentSettings());
    return static_cast<int>(message.wParam);
}
