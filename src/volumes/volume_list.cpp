#include "volumes/volume_list.h"

#include <commctrl.h>

#include <cstring>

#include "core/files.h"
#include "core/paths.h"
#include "core/text.h"
#include "extract/batch_log.h"
#include "shell/app.h"
#include "shell/batch.h"
#include "shell/dpi.h"
#include "volumes/joint_extraction.h"
#include "volumes/volume_siblings.h"
#include "volumes/volume_slots.h"

int SortDescending = 0;

namespace {

enum {
    kColumnLabel = 0,
    kColumnName = 1,
    kColumnFolder = 2,
    kCompareBytes = 30,  // at most 29 bytes of a text take part in sorting
    kLabelBytes = 64,    // an edited label keeps at most 63 bytes

    // The right-button menu.
    kMenuRelabelFirst = 1200,  // r00 ... r09: 1200 ... 1209
    kMenuRelabelRar = 1300,
    kMenuDeleteSelected = 1301,
    kMenuDeleteAll = 1302,
    kMenuExtract = 1303,
};

struct ColumnSpec {
    const char* header;
    int width;
};

const ColumnSpec kColumns[] = {
    {"RAR", 50},
    {"名前", 100},
    {"ﾌｫﾙﾀﾞ", 200},
};

WNDPROC g_listProc;
HWND g_labelEdit;
int g_lastSortedColumn = -1;

// The texts being sorted by, keyed by row tag: a list that is sorting must
// not be asked for its rows.
char g_sortTexts[kVolumeListCapacity + 1][kCompareBytes];

HWND List() { return VolumeListWindow(); }

void CellText(int row, int column, char* text, int size)
{
    text[0] = 0;
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = size;
    SendMessageA(List(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

void SetCellText(int row, int column, const char* text)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(List(), LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

LPARAM RowTag(int row)
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

int NextSelected(int after)
{
    return static_cast<int>(SendMessageA(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(after), LVNI_SELECTED));
}

// The smallest tag no row carries.
int FreeTag(int rows)
{
    bool used[kVolumeListCapacity + 1] = {};
    for (int row = 0; row < rows; ++row) {
        const LPARAM tag = RowTag(row);
        if (tag >= 0 && tag <= kVolumeListCapacity) used[tag] = true;
    }
    int tag = 0;
    while (tag < rows && used[tag]) ++tag;
    return tag;
}

bool IsListed(const char* path, int rows)
{
    for (int row = 0; row < rows; ++row) {
        char folder[kPathBuffer];
        char name[kPathBuffer];
        CellText(row, kColumnFolder, folder, sizeof folder);
        CellText(row, kColumnName, name, sizeof name);
        char joined[kJoinedPathBuffer];
        BoundedCopy(joined, folder, sizeof joined);
        EnsureTrailingBackslash(joined, sizeof joined);
        BoundedAppend(joined, name, sizeof joined);
        if (std::strcmp(joined, path) == 0) return true;
    }
    return false;
}

void SnapshotColumn(int column)
{
    std::memset(g_sortTexts, 0, sizeof g_sortTexts);
    const int rows = VolumeRowCount();
    for (int row = 0; row < rows; ++row) {
        const LPARAM tag = RowTag(row);
        if (tag >= 0 && tag <= kVolumeListCapacity) CellText(row, column, g_sortTexts[tag], kCompareBytes);
    }
}

void SortByColumn(int column)
{
    SortDescending = (column == g_lastSortedColumn && SortDescending == 0) ? 1 : 0;
    SnapshotColumn(column);
    SendMessageA(List(), LVM_SORTITEMS, column, reinterpret_cast<LPARAM>(CompareRows));
    g_lastSortedColumn = column;
}

void ShowRowMenu(HWND list, LPARAM position)
{
    HMENU menu = CreatePopupMenu();
    if (NextSelected(-1) < 0) {
        AppendMenuA(menu, MF_STRING, kMenuExtract, "解凍");
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, kMenuDeleteAll, "すべて削除");
    } else {
        for (int slot = 0; slot < 10; ++slot) AppendMenuA(menu, MF_STRING, kMenuRelabelFirst + slot, SlotExtension(slot));
        AppendMenuA(menu, MF_STRING, kMenuRelabelRar, "rar");
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, kMenuDeleteSelected, "削除");
    }
    POINT point = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ClientToScreen(list, &point);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, point.x, point.y, 0, list, nullptr);
    DestroyMenu(menu);
}

bool RunListCommand(HWND list, int id)
{
    if (id >= kMenuRelabelFirst && id < kMenuRelabelFirst + 10) {
        RelabelSelected(id - kMenuRelabelFirst);
    } else if (id == kMenuRelabelRar) {
        RelabelSelected(kFirstVolumeSlot);
    } else if (id == kMenuDeleteSelected) {
        DeleteSelectedRows();
    } else if (id == kMenuDeleteAll) {
        DeleteAllRows();
    } else if (id == kMenuExtract) {
        RunExtractCommand(list);
    } else {
        return false;
    }
    return true;
}

LRESULT CALLBACK VolumeListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_RBUTTONDOWN) {
        // The list selects what was clicked first, so the menu fits the selection.
        CallWindowProcA(g_listProc, list, message, wParam, lParam);
        ShowRowMenu(list, lParam);
        return 0;
    }
    if (message == WM_COMMAND && RunListCommand(list, LOWORD(wParam))) return 0;
    return CallWindowProcA(g_listProc, list, message, wParam, lParam);
}

}  // namespace

void CreateVolumeColumns()
{
    const int dpi = WindowDpi(List());
    int index = 0;
    for (const ColumnSpec& entry : kColumns) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = ScaleToDpi(entry.width, dpi);
        column.pszText = const_cast<char*>(entry.header);
        column.iSubItem = index;
        SendMessageA(List(), LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
        ++index;
    }
}

void ScaleVolumeColumns(int dpi)
{
    int index = 0;
    for (const ColumnSpec& entry : kColumns) {
        SendMessageA(List(), LVM_SETCOLUMNWIDTH, index++, ScaleToDpi(entry.width, dpi));
    }
}

void InstallVolumeListProc(HWND list)
{
    g_listProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(VolumeListProc)));
}

int VolumeRowCount()
{
    return List() != nullptr ? static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)) : 0;
}

int AddVolumeFile(const char* path)
{
    const int rows = VolumeRowCount();
    if (rows >= kVolumeListCapacity) {
        LogRow("これ以上ファイルを登録出来ません");
        return -1;
    }
    if (IsListed(path, rows)) return 0;

    const char* name = LastPathComponent(path);
    const char* label = VolumeLabelForFile(path);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = rows;
    item.pszText = const_cast<char*>(label != nullptr ? label : "");
    item.lParam = FreeTag(rows);
    const int row = static_cast<int>(SendMessageA(List(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    SetCellText(row, kColumnName, name);
    char folder[kJoinedPathBuffer];
    BoundedCopy(folder, path, sizeof folder);
    CutToFolder(folder);
    DropTrailingBackslash(folder);
    SetCellText(row, kColumnFolder, folder);
    return 0;
}

void ReadVolumeRow(int row, char* label, int labelSize, char* name, int nameSize, char* folder, int folderSize)
{
    CellText(row, kColumnLabel, label, labelSize);
    CellText(row, kColumnName, name, nameSize);
    CellText(row, kColumnFolder, folder, folderSize);
}

void RelabelSelected(int slot)
{
    const char* label = SlotExtension(slot);
    if (label == nullptr) return;
    for (int row = NextSelected(-1); row >= 0; row = NextSelected(row)) SetCellText(row, kColumnLabel, label);
}

void DeleteSelectedRows()
{
    for (int row = NextSelected(-1); row >= 0; row = NextSelected(-1)) SendMessageA(List(), LVM_DELETEITEM, row, 0);
}

void DeleteAllRows()
{
    while (VolumeRowCount() > 0) SendMessageA(List(), LVM_DELETEITEM, 0, 0);
}

int CALLBACK CompareRows(LPARAM tagA, LPARAM tagB, LPARAM)
{
    if (tagA < 0 || tagA > kVolumeListCapacity || tagB < 0 || tagB > kVolumeListCapacity) return 0;
    const unsigned char* a = reinterpret_cast<const unsigned char*>(g_sortTexts[tagA]);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(g_sortTexts[tagB]);
    while (*a != 0 && *a == *b) {
        ++a;
        ++b;
    }
    const int order = *a < *b ? -1 : (*a > *b ? 1 : 0);
    return SortDescending ? -order : order;
}

LRESULT HandleVolumeListNotify(const NMHDR* header)
{
    switch (header->code) {
    case LVN_COLUMNCLICK:
        SortByColumn(reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
        return 0;
    case LVN_BEGINLABELEDITA:
        g_labelEdit = reinterpret_cast<HWND>(SendMessageA(List(), LVM_GETEDITCONTROL, 0, 0));
        return FALSE;
    case LVN_ENDLABELEDITA: {
        // The edit's text is taken however the edit ends, Esc included.
        char label[kLabelBytes] = "";
        if (g_labelEdit != nullptr) GetWindowTextA(g_labelEdit, label, sizeof label);
        SetCellText(reinterpret_cast<const NMLVDISPINFOA*>(header)->item.iItem, kColumnLabel, label);
        g_labelEdit = nullptr;
        return FALSE;
    }
    default:
        return 0;
    }
}

void RunExtractCommand(HWND owner)
{
    if (BatchRunning()) return;
    BeginBatch(false);
    ExtractVolumeList();
    EndBatch(owner);
}
