// The progress window's two lines and its Cancel button, on the real window
// made from the program's template.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "extract/progress_window.h"
#include "resources/resource.h"
#include "shell/app.h"

namespace {

std::string LineText(int control)
{
    char text[300] = "";
    GetDlgItemTextA(ProgressWindowHandle(), control, text, sizeof text);
    return text;
}

struct OpenWindow {
    OpenWindow()
    {
        SetAppInstance(GetModuleHandleA(nullptr));
        opened = OpenProgress("first.part1.rar");
    }
    ~OpenWindow() { CloseProgress(); }
    int opened;
};

TEST(ProgressWindow, EachLineShowsItsOwnText)
{
    OpenWindow window;
    ASSERT_EQ(0, window.opened);
    EXPECT_EQ("first.part1.rar", LineText(IDT_PROGRESS_ARCHIVE));
    SetProgressEntry("表\\a.txt");
    SetProgressArchive("first.part2.rar");
    EXPECT_EQ("first.part2.rar", LineText(IDT_PROGRESS_ARCHIVE));
    EXPECT_EQ("表\\a.txt", LineText(IDT_PROGRESS_ENTRY));
    CloseProgress();
    SetProgressEntry("after.txt");  // no window: nothing happens
    EXPECT_EQ(nullptr, ProgressWindowHandle());
}

TEST(ProgressWindow, CancelIsSeenByPumpAtOnceAndByPollAfterItsInterval)
{
    for (bool poll : {false, true}) {
        OpenWindow window;
        ASSERT_EQ(0, window.opened);
        EXPECT_EQ(0, IsCancelled());
        PostMessageA(ProgressWindowHandle(), WM_COMMAND, IDCANCEL, 0);
        if (poll) {
            Sleep(kProgressPollMilliseconds + 20);
            PollProgressMessages();
        } else {
            PumpProgressMessages();
        }
        EXPECT_EQ(1, IsCancelled()) << (poll ? "poll" : "pump");
    }
}

}  // namespace
