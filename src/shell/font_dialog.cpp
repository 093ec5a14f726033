// The font chooser for the volume list.
#include <windows.h>
#include <commdlg.h>

#include "shell/app.h"
#include "shell/dialogs.h"
#include "shell/settings.h"

bool ChooseListFont(HWND owner, LOGFONTA& font)
{
    // The dialog works on a copy: a cancel must leave the caller's font as it was.
    LOGFONTA choice = font;
    CHOOSEFONTA chooser = {};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = owner;
    chooser.lpLogFont = &choice;
    // Screen fonts, starting from the given one, with the effect controls. The
    // colour the user may pick there is not used.
    chooser.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    if (!ChooseFontA(&chooser)) return false;
    font = choice;
    return true;
}

void RunFontCommand(HWND owner)
{
    Settings& settings = CurrentSettings();
    if (!ChooseListFont(owner, settings.listFont)) return;
    settings.LISTFONT = 1;
    // The font given to the list before is released once the list has the new one.
    static HFONT s_listFont;
    HFONT font = CreateFontIndirectA(&settings.listFont);
    SendMessageA(VolumeListWindow(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (s_listFont != nullptr) DeleteObject(s_listFont);
    s_listFont = font;
}
