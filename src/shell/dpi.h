// Pixel sizes are given for 96 dots per inch; screens with more get them
// scaled, so that lists and windows keep their proportions.
#pragma once

#include <windows.h>

// The dots per inch of the screen the window is on (96 where the system
// cannot tell per window).
int WindowDpi(HWND window);

// pixels at 96 DPI, at dpi.
int ScaleToDpi(int pixels, int dpi);
