#include "shell/app.h"

namespace {
HINSTANCE g_instance;
HWND g_mainWindow;
HWND g_volumeList;
}  // namespace

HINSTANCE AppInstance() { return g_instance; }
void SetAppInstance(HINSTANCE instance) { g_instance = instance; }
HWND MainWindow() { return g_mainWindow; }
void SetMainWindow(HWND window) { g_mainWindow = window; }
HWND VolumeListWindow() { return g_volumeList; }
void SetVolumeListWindow(HWND list) { g_volumeList = list; }
