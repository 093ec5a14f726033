// The application shell end to end: the real tolva.exe started without files,
// its menu commands sent to the main window, its dialogs operated from
// outside, and the settings file it writes when it ends.
#include <windows.h>
#include <shlobj.h>

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/support/temp_folder.h"

namespace {

enum {
    kExit = 40002,
    kAbout = 40007,
    kExtractionSettings = 40008,
    kFont = 40009,
    kDestinationEdit = 1000,
    kAboutLink = 1003,
    kBrowse = 1004,
    kBrowserTitle = 0x3742,  // the folder browser's line of instructions
    kFolderPerArchive = 1005,
    kReextract = 1006,
    kFontNameCombo = 0x470,  // the system font dialog's face and size boxes
    kFontSizeCombo = 0x472,
};

const char kSettingsTitle[] = "解凍設定";
const char kAboutTitle[] = "Tolvaについて";

const char kDefaultFile[] =
    "[Tolva]\r\n"
    "RARFname=\r\n"
    "RARFmake=FALSE\r\n"
    "RemeltRZ=FALSE\r\n"
    "LISTFONT=FALSE\r\n"
    "FONTFace=ＭＳ Ｐゴシック\r\n"
    "FONTSize=00000000\r\n"
    "FONTBold=00000000\r\n"
    "FONTSetC=80\r\n"
    "FONTType=normal\r\n"
    "WinPos_X=64\r\n"
    "WinPos_Y=64\r\n"
    "WinSizeX=256\r\n"
    "WinSizeY=256\r\n";

bool WaitUntil(bool (*condition)(HWND), HWND window, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition(window)) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

// The text of a control of another process: asked with WM_GETTEXT, which the
// system carries across processes (GetWindowText does not ask the control).
std::string ControlText(HWND control)
{
    char text[1024] = "";
    SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

int WindowHeight(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

bool IsChecked(HWND dialog, int id)
{
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The values of a settings file by key, and the keys in file order.
struct IniFile {
    std::vector<std::string> keys;
    std::map<std::string, std::string> values;
};

IniFile ParseIni(const std::string& text)
{
    IniFile ini;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        const size_t equals = line.find('=');
        if (equals != std::string::npos) {
            ini.keys.push_back(line.substr(0, equals));
            ini.values[line.substr(0, equals)] = line.substr(equals + 1);
        }
        start = end + 2;
    }
    return ini;
}

// One run of tolva.exe without files in a program folder of its own.
struct Session {
    TempFolder temp;
    std::string program = temp / "program";
    std::string settingsFile = program + "\\Tolva.ini";
    TolvaProcess tolva;
    HWND main = nullptr;

    explicit Session(const std::string& settings = "")
    {
        const std::string exe = PrepareProgramFolder(program);
        if (!settings.empty()) WriteTextFile(settingsFile, settings);
        tolva = StartTolva(exe, {});
        const DWORD start = GetTickCount();
        while (tolva.process != nullptr && GetTickCount() - start < 20000) {
            main = FindProcessWindow(tolva.pid, "TolvaMain", "Tolva");
            if (main != nullptr && IsWindowVisible(main)) break;
            if (WaitForSingleObject(tolva.process, 0) == WAIT_OBJECT_0) break;
            Sleep(50);
        }
        EXPECT_NE(nullptr, main) << "the main window never showed";
    }

    // Posted: a command that opens a modal dialog returns only when it closes.
    void Command(int id) { PostMessageA(main, WM_COMMAND, id, 0); }

    HWND Dialog(const char* titleEnd, int control)
    {
        HWND dialog = WaitForDialog(tolva, titleEnd, control, 10000);
        EXPECT_NE(nullptr, dialog) << "no dialog \"" << titleEnd << "\" showed";
        return dialog;
    }

    // Closes the main window as its close box does; the file written at exit.
    std::string CloseAndReadSettings()
    {
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(0, WaitForExit(tolva));
        return ReadTextFile(settingsFile);
    }

    ~Session() { CloseTolva(tolva); }
};

bool IsGone(HWND window) { return !IsWindow(window); }

struct DialogOverSearch {
    DWORD pid;
    HWND below;
    HWND found;
};

BOOL CALLBACK MatchDialogOver(HWND window, LPARAM parameter)
{
    DialogOverSearch* search = reinterpret_cast<DialogOverSearch*>(parameter);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (pid != search->pid || window == search->below || !IsWindowVisible(window) ||
        std::string(className) != "#32770") {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

// A visible dialog of the process other than the one given: the one opened
// over it.
HWND WaitForDialogOver(const TolvaProcess& tolva, HWND below, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        DialogOverSearch search = {tolva.pid, below, nullptr};
        EnumWindows(MatchDialogOver, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr || GetTickCount() - start > timeoutMs) return search.found;
        Sleep(50);
    }
}

}  // namespace

TEST(ShellEndToEnd, FirstStartWithoutSettingsFileWritesEveryKeyOnClose)
{
    Session session;
    ASSERT_NE(nullptr, session.main);
    EXPECT_FALSE(FileExists(session.settingsFile)) << "nothing is written before the program ends";
    EXPECT_EQ(kDefaultFile, session.CloseAndReadSettings());
}

TEST(ShellEndToEnd, UnknownMenuIdsDoNothingAndExitEndsTheProgram)
{
    Session session;
    ASSERT_NE(nullptr, session.main);
    for (int id : {0, 40001, 40004, 40005, 40011, 1000, 65535}) session.Command(id);
    Sleep(500);
    EXPECT_EQ(-1, WaitForExit(session.tolva, 0)) << "an unknown id ended the program";
    EXPECT_EQ(nullptr, WaitForDialog(session.tolva, "", 0, 0)) << "an unknown id opened a dialog";
    EXPECT_TRUE(IsWindowEnabled(session.main));

    session.Command(kExit);
    EXPECT_EQ(0, WaitForExit(session.tolva));
    EXPECT_EQ(kDefaultFile, ReadTextFile(session.settingsFile));
}

TEST(ShellEndToEnd, ExtractionSettingsDialogStoresOnlyOnOk)
{
    const std::string before = "[Tolva]\r\nRARFname=E:\\pre set\r\nRARFmake=TRUE\r\n";
    const std::string overlong(300, 'x');
    const std::string splitAtTheEnd = std::string(258, 'x') + "表";  // 260 bytes, the last two one character
    enum Ending { kOk, kCancel, kCloseBox };
    struct Case {
        const char* name;
        const char* typed;  // null: the edit box is left alone
        bool toggle;        // click both check boxes
        Ending ending;
        std::string folder;
        const char* folderPerArchive;
        const char* reextract;
    };
    const Case cases[] = {
        {"OK without changes", nullptr, false, kOk, "E:\\pre set", "TRUE", "FALSE"},
        {"OK stores as typed", "D:\\not there\\yet", true, kOk, "D:\\not there\\yet", "FALSE", "TRUE"},
        {"OK cuts to 259 bytes", overlong.c_str(), false, kOk, overlong.substr(0, 259), "TRUE", "FALSE"},
        {"OK cuts before a character that does not fit whole", splitAtTheEnd.c_str(), false, kOk,
         std::string(258, 'x'), "TRUE", "FALSE"},
        {"Cancel", "D:\\other", true, kCancel, "E:\\pre set", "TRUE", "FALSE"},
        {"close box", "D:\\other", true, kCloseBox, "E:\\pre set", "TRUE", "FALSE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session session(before);
        ASSERT_NE(nullptr, session.main);
        session.Command(kExtractionSettings);
        HWND dialog = session.Dialog(kSettingsTitle, kDestinationEdit);
        ASSERT_NE(nullptr, dialog);
        // The dialog opens with the settings in force.
        EXPECT_EQ("E:\\pre set", ControlText(GetDlgItem(dialog, kDestinationEdit)));
        EXPECT_TRUE(IsChecked(dialog, kFolderPerArchive));
        EXPECT_FALSE(IsChecked(dialog, kReextract));

        if (c.typed != nullptr) {
            SendMessageA(GetDlgItem(dialog, kDestinationEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.typed));
        }
        if (c.toggle) {
            SendMessageA(GetDlgItem(dialog, kFolderPerArchive), BM_CLICK, 0, 0);
            SendMessageA(GetDlgItem(dialog, kReextract), BM_CLICK, 0, 0);
        }
        switch (c.ending) {
        case kOk: PressButton(dialog, IDOK); break;
        case kCancel: PressButton(dialog, IDCANCEL); break;
        case kCloseBox: PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); break;
        }
        EXPECT_TRUE(WaitUntil(IsGone, dialog, 10000)) << "the dialog stayed open";

        const IniFile ini = ParseIni(session.CloseAndReadSettings());
        EXPECT_EQ(13u, ini.keys.size());
        EXPECT_EQ(c.folder, ini.values.at("RARFname"));
        EXPECT_EQ(c.folderPerArchive, ini.values.at("RARFmake"));
        EXPECT_EQ(c.reextract, ini.values.at("RemeltRZ"));
    }
}

TEST(ShellEndToEnd, FontCommandTurnsTheListFontOnOnlyWithOk)
{
    struct Case {
        int button;
        const char* listFont;
        const char* fontSize;  // 36 points at 96 dots per inch: a height of -48
    };
    for (const Case& c : {Case{IDOK, "TRUE", "FFFFFFD0"}, Case{IDCANCEL, "FALSE", "00000000"}}) {
        SCOPED_TRACE(c.listFont);
        Session session;
        ASSERT_NE(nullptr, session.main);
        // The list's header follows the list's font: its height shows the
        // font from outside (a font handle does not cross processes).
        HWND list = FindWindowExA(session.main, nullptr, "SysListView32", nullptr);
        HWND header = FindWindowExA(list, nullptr, "SysHeader32", nullptr);
        ASSERT_NE(nullptr, header);
        const int headerBefore = WindowHeight(header);

        session.Command(kFont);
        HWND dialog = session.Dialog("", kFontNameCombo);
        ASSERT_NE(nullptr, dialog);
        SendMessageA(GetDlgItem(dialog, kFontSizeCombo), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("36"));
        PressButton(dialog, c.button);
        EXPECT_TRUE(WaitUntil(IsGone, dialog, 10000)) << "the font dialog stayed open";

        if (c.button == IDOK) {
            const DWORD start = GetTickCount();
            while (WindowHeight(header) < headerBefore + 10 && GetTickCount() - start < 5000) Sleep(50);
            EXPECT_LE(headerBefore + 10, WindowHeight(header)) << "the list did not get the chosen font";
        } else {
            Sleep(500);
            EXPECT_EQ(headerBefore, WindowHeight(header));
        }
        const IniFile ini = ParseIni(session.CloseAndReadSettings());
        EXPECT_EQ(c.listFont, ini.values.at("LISTFONT"));
        EXPECT_EQ(c.fontSize, ini.values.at("FONTSize"));
    }
}

TEST(ShellEndToEnd, AboutBoxIgnoresEscAndClosesWithOkOrItsCloseBox)
{
    Session session;
    ASSERT_NE(nullptr, session.main);
    for (bool closeBox : {false, true}) {
        session.Command(kAbout);
        HWND about = session.Dialog(kAboutTitle, kAboutLink);
        ASSERT_NE(nullptr, about);
        EXPECT_FALSE(IsWindowEnabled(session.main)) << "the about box is modal";

        // Esc as the dialog manager sees it: a key press on the focused button.
        PostMessageA(GetDlgItem(about, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(GetDlgItem(about, IDOK), WM_KEYUP, VK_ESCAPE, 0xC0000001);
        PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
        Sleep(500);
        EXPECT_TRUE(IsWindowVisible(about)) << "Esc closed the about box";

        if (closeBox) {
            PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else {
            PressButton(about, IDOK);
        }
        EXPECT_TRUE(WaitUntil(IsGone, about, 10000)) << "the about box stayed open";
        EXPECT_TRUE(WaitUntil([](HWND window) { return IsWindowEnabled(window) != FALSE; }, session.main, 5000));
    }
    EXPECT_EQ(kDefaultFile, session.CloseAndReadSettings());
}

TEST(ShellEndToEnd, FolderBrowserFillsTheFolderBoxOnlyWithAChoice)
{
    Session session("[Tolva]\r\nRARFname=E:\\pre set\r\n");
    ASSERT_NE(nullptr, session.main);
    session.Command(kExtractionSettings);
    HWND dialog = session.Dialog(kSettingsTitle, kDestinationEdit);
    ASSERT_NE(nullptr, dialog);
    HWND edit = GetDlgItem(dialog, kDestinationEdit);

    PressButton(dialog, kBrowse);
    HWND browser = WaitForDialogOver(session.tolva, dialog, 10000);
    ASSERT_NE(nullptr, browser) << "the folder browser never showed";
    EXPECT_EQ("フォルダを選択して下さい", ControlText(GetDlgItem(browser, kBrowserTitle)));
    PressButton(browser, IDCANCEL);
    EXPECT_TRUE(WaitUntil(IsGone, browser, 10000));
    EXPECT_EQ("E:\\pre set", ControlText(edit)) << "a cancelled browse keeps the folder box as it was";

    // With nothing chosen in the tree the browser answers with its root, the
    // desktop: a folder with a file-system path.
    PressButton(dialog, kBrowse);
    browser = WaitForDialogOver(session.tolva, dialog, 10000);
    ASSERT_NE(nullptr, browser);
    PressButton(browser, IDOK);
    EXPECT_TRUE(WaitUntil(IsGone, browser, 10000));
    char desktop[MAX_PATH] = "";
    ASSERT_EQ(S_OK, SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop));
    EXPECT_EQ(desktop, ControlText(edit));

    PressButton(dialog, IDOK);
    EXPECT_TRUE(WaitUntil(IsGone, dialog, 10000));
    EXPECT_EQ(desktop, ParseIni(session.CloseAndReadSettings()).values.at("RARFname"));
}
