#include "shell/app.h"

#include "resources/resource.h"

namespace {
HINSTANCE g_instance;
HWND g_mainWindow;
HWND g_volumeList;
HCURSOR g_handCursor;
}  // namespace

HINSTANCE AppInstance() { return g_instance; }
void SetAppInstance(HINSTANCE instance) { g_instance = instance; }
HWND MainWindow() { return g_mainWindow; }
void SetMainWindow(HWND window) { g_mainWindow = window; }
HWND VolumeListWindow() { return g_volumeList; }
void SetVolumeListWindow(HWND list) { g_volumeList = list; }
void LoadHandCursor() { g_handCursor = LoadCursorA(g_instance, MAKEINTRESOURCEA(IDC_HAND_CURSOR)); }
HCURSOR HandCursor()
{
    if (g_handCursor == nullptr) LoadHandCursor();
    return g_handCursor;
}
