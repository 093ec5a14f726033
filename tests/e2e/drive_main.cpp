// tolva_drive: runs tolva.exe on files in a program folder of its own, prints
// the rows of its results view, presses OK and prints the exit code.
//
//   tolva_drive [--folder DIR] [--ready FILE --go FILE] [--] files...
//
// With --ready and --go it writes FILE (--ready) once the view shows and waits
// until the --go file exists before pressing OK, so that a screenshot can be
// taken in between.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"

namespace {

// Rows are code page 932; the terminal reads UTF-8.
std::string ToUtf8(const std::string& text)
{
    wchar_t wide[1024];
    const int count = MultiByteToWideChar(932, 0, text.c_str(), -1, wide, 1024);
    char utf8[4096] = "";
    WideCharToMultiByte(CP_UTF8, 0, wide, count, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int main(int argc, char** argv)
{
    std::string folder;
    std::string ready;
    std::string go;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--folder" && i + 1 < argc) {
            folder = argv[++i];
        } else if (argument == "--ready" && i + 1 < argc) {
            ready = argv[++i];
        } else if (argument == "--go" && i + 1 < argc) {
            go = argv[++i];
        } else if (argument == "--") {
            for (++i; i < argc; ++i) files.push_back(argv[i]);
        } else {
            files.push_back(argument);
        }
    }
    if (folder.empty()) {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "tolva-drive";
    }

    TolvaProcess tolva = StartTolva(PrepareProgramFolder(folder), files);
    if (tolva.process == nullptr) {
        std::fprintf(stderr, "tolva_drive: cannot start tolva.exe in %s\n", folder.c_str());
        return 2;
    }
    HWND view = WaitForResultsView(tolva);
    if (view == nullptr) {
        std::printf("no results view; exit code %ld\n", WaitForExit(tolva, 0));
    } else {
        for (const auto& row : ReadResultRows(tolva, view)) {
            std::printf("%s\t%s\n", ToUtf8(row.first).c_str(), ToUtf8(row.second).c_str());
        }
        std::fflush(stdout);
        if (!ready.empty()) {
            FILE* signal = std::fopen(ready.c_str(), "w");
            if (signal != nullptr) std::fclose(signal);
            while (!go.empty() && !Exists(go)) Sleep(100);
        }
        PressOk(view);
        std::printf("exit code %ld\n", WaitForExit(tolva));
    }
    CloseTolva(tolva);
    return 0;
}
