// The volume list's rows on a real list control.
#include "volumes/volume_list.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "extract/batch_log.h"
#include "shell/app.h"

namespace {

// A hidden window with a list like the main window's.
struct ListFixture {
    HWND parent;
    HWND list;
    ListFixture()
    {
        InitCommonControls();
        parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
        list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT | LVS_EDITLABELS, 0, 0, 400, 300, parent,
                               reinterpret_cast<HMENU>(100), nullptr, nullptr);
        SetVolumeListWindow(list);
        CreateVolumeColumns();
    }
    ~ListFixture()
    {
        DestroyWindow(parent);
        SetVolumeListWindow(nullptr);
    }
    std::string Row(int row) const
    {
        char label[64], name[260], folder[260];
        ReadVolumeRow(row, label, sizeof label, name, sizeof name, folder, sizeof folder);
        return std::string(label) + "|" + name + "|" + folder;
    }
    LPARAM Tag(int row) const
    {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.lParam;
    }
};

}  // namespace

TEST(VolumeList, RowsCarryLabelNameAndFolder)
{
    ListFixture f;
    const char* paths[] = {"C:\\dl\\movie.r05", "D:\\MOVIE.RAR", "C:\\x\\notes.txt", "C:\\\x95\x5C\\a.rar.bak"};
    for (const char* path : paths) EXPECT_EQ(0, AddVolumeFile(path));
    EXPECT_EQ("r05|movie.r05|C:\\dl", f.Row(0));
    EXPECT_EQ("rar|MOVIE.RAR|D:\\", f.Row(1)) << "a drive root keeps its backslash";
    EXPECT_EQ("|notes.txt|C:\\x", f.Row(2));
    EXPECT_EQ("rar|a.rar.bak|C:\\\x95\x5C", f.Row(3));

    EXPECT_EQ(0, AddVolumeFile("D:\\MOVIE.RAR"));
    EXPECT_EQ(0, AddVolumeFile("C:\\dl\\movie.r05"));
    EXPECT_EQ(4, VolumeRowCount()) << "the same path is listed once, also in a drive root";
    EXPECT_EQ(0, AddVolumeFile("d:\\movie.rar"));
    EXPECT_EQ(5, VolumeRowCount()) << "another letter case is another row";
}

TEST(VolumeList, TagsAreReusedAndTheListHoldsAHundredAndOne)
{
    ListFixture f;
    for (int i = 0; i < 3; ++i) AddVolumeFile(("C:\\v\\f" + std::to_string(i) + ".rar").c_str());
    ListView_SetItemState(f.list, 1, LVIS_SELECTED, LVIS_SELECTED);
    DeleteSelectedRows();
    AddVolumeFile("C:\\v\\new.r00");
    EXPECT_EQ(1, f.Tag(2)) << "the freed tag is taken again";

    for (int i = VolumeRowCount(); i < 100; ++i) AddVolumeFile(("C:\\v\\g" + std::to_string(i) + ".r01").c_str());
    ClearBatchLog();
    EXPECT_EQ(0, AddVolumeFile("C:\\v\\the101st.r02"));
    EXPECT_EQ(101, VolumeRowCount());
    EXPECT_EQ(-1, AddVolumeFile("C:\\v\\the102nd.r03"));
    EXPECT_EQ(101, VolumeRowCount());
    EXPECT_STREQ("これ以上ファイルを登録出来ません\x02", BatchLogText());
    DeleteAllRows();
    EXPECT_EQ(0, VolumeRowCount());
}

TEST(VolumeList, RelabelAndSortOrders)
{
    ListFixture f;
    for (const char* path : {"C:\\b\\y.r01", "C:\\a\\x.rar", "C:\\c\\z.r00"}) AddVolumeFile(path);
    for (int row = 0; row < 3; ++row) ListView_SetItemState(f.list, row, LVIS_SELECTED, LVIS_SELECTED);
    RelabelSelected(7);
    for (int row = 0; row < 3; ++row) EXPECT_EQ("r07", f.Row(row).substr(0, 3));

    NMLISTVIEW click = {};
    click.hdr.hwndFrom = f.list;
    click.hdr.idFrom = 100;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = 1;
    const std::vector<std::string> ascending = {"r07|x.rar|C:\\a", "r07|y.r01|C:\\b", "r07|z.r00|C:\\c"};
    const std::vector<std::string> descending(ascending.rbegin(), ascending.rend());
    for (const auto& expected : {ascending, descending, ascending}) {
        HandleVolumeListNotify(&click.hdr);
        EXPECT_EQ(expected, (std::vector<std::string>{f.Row(0), f.Row(1), f.Row(2)}));
    }
}
