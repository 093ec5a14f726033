#include "extract/results_view.h"

#include <commctrl.h>

#include "extract/batch_log.h"
#include "resources/resource.h"
#include "shell/app.h"
#include "shell/dpi.h"

namespace {

void InsertColumn(HWND list, int index, int width, const char* header)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<char*>(header);
    column.iSubItem = index;
    SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

struct RowTarget {
    HWND list;
    int index;
};

void InsertRow(void* context, const char* name, const char* message)
{
    RowTarget* target = static_cast<RowTarget*>(context);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = target->index;
    item.pszText = const_cast<char*>(name);
    const int at = static_cast<int>(SendMessageA(target->list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    item.iItem = at;
    item.iSubItem = 1;
    item.pszText = const_cast<char*>(message);
    SendMessageA(target->list, LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&item));
    ++target->index;
}

INT_PTR CALLBACK ResultsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        if (FillResultsList(dialog) == 0) PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(dialog, 1);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int FillResultsList(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_RESULTS_LIST);
    const int dpi = WindowDpi(dialog);
    InsertColumn(list, 0, ScaleToDpi(100, dpi), "File");
    InsertColumn(list, 1, ScaleToDpi(400, dpi), "");
    RowTarget target = {list, 0};
    return WalkBatchLog(InsertRow, &target);
}

void ShowResults(HWND owner)
{
    DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_RESULTS), owner, ResultsProc, 0);
}
