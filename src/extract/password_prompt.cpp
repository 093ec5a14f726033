#include "extract/password_prompt.h"

#include <cstring>

#include "core/files.h"
#include "core/paths.h"
#include "core/text.h"
#include "extract/password_list.h"
#include "extract/progress_window.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "volumes/volume_slots.h"

namespace {

const char kTitleTail[] = ":ﾊﾟｽﾜｰﾄﾞが必要です";
const int kZipPasswordLength = 79;

const char* g_zipArchive = "";

struct ZipPrompt {
    char* text;     // the temporary buffer
    int capacity;   // its size in bytes
    int result;     // 0 entered, -2 cancelled, 5 not shown
};

void AddCandidate(void* list, const char* candidate)
{
    HWND combo = static_cast<HWND>(list);
    const LRESULT index = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    // Inserted by index: the list's sorted style never reorders them.
    SendMessageA(combo, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(candidate));
}

// Title, candidates and the input that shows; the input's id.
int PreparePrompt(HWND dialog, const char* fileName)
{
    char title[256];
    BoundedCopy(title, fileName, sizeof title);
    BoundedAppend(title, kTitleTail, sizeof title);
    SetWindowTextA(dialog, title);
    const bool listed = LoadPasswordList(dialog) == 1;
    const int active = listed ? IDC_PASSWORD_LIST : IDE_PASSWORD;
    ShowWindow(GetDlgItem(dialog, IDE_PASSWORD), listed ? SW_HIDE : SW_SHOW);
    ShowWindow(GetDlgItem(dialog, IDC_PASSWORD_LIST), listed ? SW_SHOW : SW_HIDE);
    SetDlgItemTextA(dialog, active, "");
    SetWindowLongPtrA(dialog, DWLP_USER, active);
    return active;
}

INT_PTR CALLBACK ZipPromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    ZipPrompt* prompt = reinterpret_cast<ZipPrompt*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
        const int active = PreparePrompt(dialog, LastPathComponent(g_zipArchive));
        SetFocus(GetDlgItem(dialog, active));
        return FALSE;  // the focus is set
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            const int active = static_cast<int>(GetWindowLongPtrA(dialog, DWLP_USER));
            const int limit = prompt->capacity - 1 < kZipPasswordLength ? prompt->capacity - 1 : kZipPasswordLength;
            char typed[kZipPasswordLength + 1] = "";
            GetDlgItemTextA(dialog, active, typed, sizeof typed);
            BoundedCopy(prompt->text, typed, limit + 1);
            prompt->result = 0;
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            prompt->text[0] = 0;
            prompt->result = -2;
            RequestCancel();
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK RarPromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        const char* name = VolumeDisplayName(".rar");
        PreparePrompt(dialog, name != nullptr ? name : "");
        return FALSE;  // no focus is placed: the user clicks into the input
    }
    case WM_CLOSE:
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            const int active = static_cast<int>(GetWindowLongPtrA(dialog, DWLP_USER));
            char typed[sizeof RarPassword] = "";
            GetDlgItemTextA(dialog, active, typed, sizeof typed);
            if (typed[0] == 0) return TRUE;  // nothing typed: the prompt stays
            BoundedCopy(RarPassword, typed, sizeof RarPassword);
            EndDialog(dialog, 1);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            RequestCancel();
            EndDialog(dialog, 2);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

char RarPassword[64];

int RunRarPasswordPrompt()
{
    return static_cast<int>(DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_PASSWORD), ProgressWindowHandle(),
                                            RarPromptProc, 0));
}

int LoadPasswordList(HWND dialog)
{
    char path[kJoinedPathBuffer];
    BoundedCopy(path, ProgramFolder(), sizeof path);
    BoundedAppend(path, "pass.txt", sizeof path);
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    char bytes[kPasswordListBytes];
    DWORD got = 0;
    if (!ReadFile(file, bytes, sizeof bytes, &got, nullptr)) got = 0;
    CloseHandle(file);
    SplitPasswordCandidates(bytes, static_cast<int>(got), AddCandidate, GetDlgItem(dialog, IDC_PASSWORD_LIST));
    return 1;
}

void SetZipPromptArchive(const char* archive) { g_zipArchive = archive; }

int WINAPI ZipPasswordCallback(LPSTR buffer, int size, LPCSTR, LPCSTR)
{
    PumpProgressMessages();
    if (buffer == nullptr || size <= 0) return 5;
    if (IsCancelled()) {
        buffer[0] = 0;
        return -2;
    }
    char* text = static_cast<char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size));
    if (text == nullptr) return 5;
    ZipPrompt prompt = {text, size, 5};
    DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_PASSWORD), ProgressWindowHandle(), ZipPromptProc,
                    reinterpret_cast<LPARAM>(&prompt));
    BoundedCopy(buffer, text, size);
    HeapFree(GetProcessHeap(), 0, text);
    return prompt.result;
}
