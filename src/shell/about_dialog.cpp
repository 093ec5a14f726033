// The about box: a version line and a web link drawn as a link (blue,
// underlined, the hand over it) that opens in the shell.
#include <windows.h>
#include <shellapi.h>

#include "resources/resource.h"
#include "shell/app.h"
#include "shell/dialogs.h"

namespace {

// Made anew for every opening, released when the box has closed.
HFONT g_linkFont;
WNDPROC g_linkPreviousProc;

void PaintLink(HWND link)
{
    char text[100];
    GetWindowTextA(link, text, sizeof text);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(link, &paint);
    HGDIOBJ previousFont = SelectObject(dc, g_linkFont);
    SetTextColor(dc, RGB(0, 0, 255));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetBkMode(dc, OPAQUE);
    TextOutA(dc, 0, 0, text, lstrlenA(text));
    SelectObject(dc, previousFont);
    EndPaint(link, &paint);
}

LRESULT CALLBACK LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        PaintLink(link);
        return 0;
    case WM_SETCURSOR:
        SetCursor(HandCursor());
        return TRUE;
    default:
        return CallWindowProcA(g_linkPreviousProc, link, message, wParam, lParam);
    }
}

// The dialog's own font, underlined, for the link; then the link paints itself.
void MakeLink(HWND dialog)
{
    HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0));
    LOGFONTA description = {};
    GetObjectA(dialogFont != nullptr ? static_cast<HGDIOBJ>(dialogFont) : GetStockObject(DEFAULT_GUI_FONT),
               sizeof description, &description);
    description.lfUnderline = TRUE;
    g_linkFont = CreateFontIndirectA(&description);
    SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(g_linkFont), FALSE);
    g_linkPreviousProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkProc)));
}

void OpenLink(HWND dialog)
{
    char address[100];
    GetDlgItemTextA(dialog, IDC_ABOUT_LINK, address, sizeof address);
    ShellExecuteA(dialog, nullptr, address, nullptr, nullptr, SW_SHOWNORMAL);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        MakeLink(dialog);
        return TRUE;
    case WM_CLOSE:
        // The close box is the OK button; Esc (the Cancel command) is not.
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDC_ABOUT_LINK && HIWORD(wParam) == STN_CLICKED) {
            OpenLink(dialog);  // the box stays open
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

void ShowAboutBox(HWND owner)
{
    DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc, 0);
    if (g_linkFont != nullptr) DeleteObject(g_linkFont);
    g_linkFont = nullptr;
}
