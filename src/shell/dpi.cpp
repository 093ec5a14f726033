#include "shell/dpi.h"

int WindowDpi(HWND window)
{
    // GetDpiForWindow exists from Windows 10 on; older systems have one DPI.
    typedef UINT(WINAPI * DpiForWindow)(HWND);
    static const DpiForWindow dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (dpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = dpiForWindow(window);
        if (dpi != 0) return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int ScaleToDpi(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }
