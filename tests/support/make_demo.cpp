// Writes the demonstration files: one file of every kind the program names,
// a file that matches nothing and a folder.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/support/samples.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tolva_make_demo FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const Sample& sample : AllSamples()) {
        if (!WriteFileBytes(folder + "\\" + sample.fileName, sample.bytes)) {
            std::fprintf(stderr, "cannot write %s\n", sample.fileName);
            return 1;
        }
    }
    CreateDirectoryA((folder + "\\folder").c_str(), nullptr);
    return 0;
}
