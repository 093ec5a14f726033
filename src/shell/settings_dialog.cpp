// The extraction settings dialog and the folder browser behind its button.
#include <windows.h>
#include <shlobj.h>

#include "core/dbcs.h"
#include "core/files.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "shell/dialogs.h"
#include "shell/settings.h"

namespace {

// Copies whole characters only: a double-byte character that does not fit
// is left out instead of leaving its lead byte behind.
void CopyWholeCharacters(char* destination, const char* source, int size)
{
    int length = 0;
    while (source[length] != 0) {
        const int next = static_cast<int>(NextChar(source + length) - source);
        if (next > size - 1) break;
        length = next;
    }
    for (int i = 0; i < length; ++i) destination[i] = source[i];
    destination[length] = 0;
}

void FillFromSettings(HWND dialog)
{
    const Settings& settings = CurrentSettings();
    SetDlgItemTextA(dialog, IDE_DESTINATION, settings.RARFname);
    CheckDlgButton(dialog, IDC_FOLDER_PER_ARCHIVE, settings.RARFmake ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_REEXTRACT, settings.RemeltRZ ? BST_CHECKED : BST_UNCHECKED);
}

// The folder as typed: no check, no trimming, no folder made.
void StoreIntoSettings(HWND dialog)
{
    Settings& settings = CurrentSettings();
    char typed[1024];
    GetDlgItemTextA(dialog, IDE_DESTINATION, typed, sizeof typed);
    CopyWholeCharacters(settings.RARFname, typed, sizeof settings.RARFname);
    settings.RARFmake = IsDlgButtonChecked(dialog, IDC_FOLDER_PER_ARCHIVE) == BST_CHECKED ? 1 : 0;
    settings.RemeltRZ = IsDlgButtonChecked(dialog, IDC_REEXTRACT) == BST_CHECKED ? 1 : 0;
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        FillFromSettings(dialog);
        return TRUE;
    case WM_CLOSE:
        // The close box is a Cancel.
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            StoreIntoSettings(dialog);
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_BROWSE:
            if (const char* folder = BrowseForFolder(dialog)) SetDlgItemTextA(dialog, IDE_DESTINATION, folder);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

}  // namespace

const char* BrowseForFolder(HWND owner)
{
    static char chosen[kPathBuffer];
    // The browser is built on COM. A failure only means that COM already runs
    // on this thread in another mode, which the classic browser accepts.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const char* result = nullptr;
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator))) {
        BROWSEINFOA browse = {};
        browse.hwndOwner = owner;
        browse.pszDisplayName = chosen;
        browse.lpszTitle = "フォルダを選択して下さい";
        browse.ulFlags = BIF_RETURNONLYFSDIRS;
        if (LPITEMIDLIST item = SHBrowseForFolderA(&browse)) {
            if (SHGetPathFromIDListA(item, chosen)) result = chosen;
            allocator->Free(item);
        }
        allocator->Release();
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return result;
}

void ShowExtractionSettings(HWND owner)
{
    DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_EXTRACT_SETTINGS), owner, SettingsDialogProc, 0);
}
