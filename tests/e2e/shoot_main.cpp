// tolva_shoot: starts tolva.exe without files, opens one of its dialogs from
// the main menu and holds it open for a screenshot.
//
//   tolva_shoot --folder DIR --command ID --ready FILE --go FILE
//
// A Tolva.ini already in DIR is used as it is.
// Writes the --ready file once the dialog shows, waits until the --go file
// exists, then closes the dialog and the program.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/e2e/driver.h"

int main(int argc, char** argv)
{
    std::string folder;
    std::string ready;
    std::string go;
    int command = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--folder") folder = value;
        if (option == "--ready") ready = value;
        if (option == "--go") go = value;
        if (option == "--command") command = std::atoi(value);
    }
    if (folder.empty() || ready.empty() || go.empty() || command == 0) {
        std::fprintf(stderr, "usage: tolva_shoot --folder DIR --command ID --ready FILE --go FILE\n");
        return 2;
    }

    const std::string exe = PrepareProgramFolder(folder);
    TolvaProcess tolva = StartTolva(exe, {});
    HWND main = nullptr;
    for (int tries = 0; tries < 400 && main == nullptr; ++tries) {
        Sleep(50);
        main = FindProcessWindow(tolva.pid, "TolvaMain", "Tolva");
    }
    if (main == nullptr) {
        std::fprintf(stderr, "tolva_shoot: the main window never showed\n");
        CloseTolva(tolva);
        return 1;
    }
    PostMessageA(main, WM_COMMAND, command, 0);
    HWND dialog = WaitForDialog(tolva, "", 0);
    if (dialog == nullptr) {
        std::fprintf(stderr, "tolva_shoot: no dialog showed\n");
        CloseTolva(tolva);
        return 1;
    }
    Sleep(300);  // let it paint
    if (FILE* signal = std::fopen(ready.c_str(), "w")) std::fclose(signal);
    while (GetFileAttributesA(go.c_str()) == INVALID_FILE_ATTRIBUTES) Sleep(100);

    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    Sleep(300);
    PostMessageA(main, WM_CLOSE, 0, 0);
    const long code = WaitForExit(tolva);
    CloseTolva(tolva);
    return code == 0 ? 0 : 1;
}
