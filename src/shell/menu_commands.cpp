#include "shell/menu_commands.h"

#include "resources/resource.h"
#include "shell/dialogs.h"
#include "volumes/volume_list.h"

namespace {

struct MenuCommand {
    int id;
    void (*run)(HWND window);
};

const MenuCommand kCommands[] = {
    {IDM_FILE_EXTRACT, [](HWND window) { RunExtractCommand(window); }},
    {IDM_FILE_EXIT, [](HWND window) { SendMessageA(window, WM_CLOSE, 0, 0); }},
    {IDM_EDIT_DELETE, [](HWND) { DeleteSelectedRows(); }},
    {IDM_EDIT_DELETE_ALL, [](HWND) { DeleteAllRows(); }},
    {IDM_SETTINGS_FONT, [](HWND window) { RunFontCommand(window); }},
    {IDM_SETTINGS_EXTRACT, [](HWND window) { ShowExtractionSettings(window); }},
    {IDM_HELP_ABOUT, [](HWND window) { ShowAboutBox(window); }},
};

}  // namespace

bool RunMenuCommand(HWND window, int id)
{
    for (const MenuCommand& command : kCommands) {
        if (command.id == id) {
            command.run(window);
            return true;
        }
    }
    return false;
}
