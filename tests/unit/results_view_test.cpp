#include "extract/results_view.h"

#include <commctrl.h>

#include <string>

#include <gtest/gtest.h>

#include "extract/batch_log.h"
#include "resources/resource.h"
#include "shell/app.h"

namespace {

std::string CellText(HWND list, int row, int column)
{
    char text[512] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

INT_PTR CALLBACK PassiveProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

TEST(ResultsView, ListShowsTheLogRowsUnderTheirColumns)
{
    SetAppInstance(GetModuleHandleA(nullptr));
    ClearBatchLog();
    LogFileName("C:\\in\\\x95\x5C.zip");
    LogRow("Unzip32.dllがありません");
    LogRow("second");

    HWND dialog = CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(IDD_RESULTS), nullptr, PassiveProc, 0);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(2, FillResultsList(dialog));
    HWND list = GetDlgItem(dialog, IDC_RESULTS_LIST);
    ASSERT_EQ(2, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ("\x95\x5C.zip", CellText(list, 0, 0));
    EXPECT_EQ("Unzip32.dllがありません", CellText(list, 0, 1));
    EXPECT_EQ("", CellText(list, 1, 0));
    EXPECT_EQ("second", CellText(list, 1, 1));

    char header[32] = "x";
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = header;
    column.cchTextMax = sizeof header;
    SendMessageA(list, LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ("File", header);
    EXPECT_EQ(100, column.cx);
    SendMessageA(list, LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ("", header);
    EXPECT_EQ(400, column.cx);
    DestroyWindow(dialog);
}

TEST(ResultsView, AnEmptyLogClosesTheViewByItself)
{
    SetAppInstance(GetModuleHandleA(nullptr));
    ClearBatchLog();
    LogFileName("only-a-name");
    const DWORD start = GetTickCount();
    ShowResults(nullptr);  // would block for ever if the view waited for the user
    EXPECT_LT(GetTickCount() - start, 5000u);
}
