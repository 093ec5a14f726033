#include "volumes/volume_list.h"

#include <commctrl.h>

#include "shell/app.h"

namespace {

struct ColumnSpec {
    const char* header;
    int width;
};

const ColumnSpec kColumns[] = {
    {"RAR", 50},
    {"名前", 100},
    {"ﾌｫﾙﾀﾞ", 200},
};

}  // namespace

void CreateVolumeColumns()
{
    int index = 0;
    for (const ColumnSpec& spec : kColumns) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = spec.width;
        column.pszText = const_cast<char*>(spec.header);
        column.iSubItem = index;
        SendMessageA(VolumeListWindow(), LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
        ++index;
    }
}

int VolumeRowCount()
{
    HWND list = VolumeListWindow();
    return list != nullptr ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

void DeleteSelectedRows()
{
    HWND list = VolumeListWindow();
    for (;;) {
        const int row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        if (row < 0) return;
        SendMessageA(list, LVM_DELETEITEM, row, 0);
    }
}

void DeleteAllRows()
{
    HWND list = VolumeListWindow();
    while (SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) > 0) SendMessageA(list, LVM_DELETEITEM, 0, 0);
}

void RunExtractCommand(HWND) {}
