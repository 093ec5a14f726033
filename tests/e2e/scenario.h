// One end-to-end scenario: a program folder with the stand-in libraries it
// names and a settings file, a data folder for the files the user gives and
// an output folder set as the destination.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/driver.h"
#include "tests/support/temp_folder.h"

const char kPromptTitleEnd[] = ":ﾊﾟｽﾜｰﾄﾞが必要です";

inline bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct Scenario {
    TempFolder temp;
    std::string program = temp / "program";
    std::string data = temp / "data";
    std::string out = temp / "out";

    explicit Scenario(const std::vector<std::string>& libraries, const std::string& settings = "RARFmake=TRUE\r\n")
    {
        PrepareProgramFolder(program);
        CreateDirectoryA(data.c_str(), nullptr);
        CreateDirectoryA(out.c_str(), nullptr);
        for (const std::string& library : libraries) CopyStandin(library, program);
        WriteTextFile(program + "\\Tolva.ini", "[Tolva]\r\nRARFname=" + out + "\r\n" + settings);
    }

    std::string Archive(const std::string& name, const std::string& head, const std::string& script)
    {
        WriteTextFile(data + "\\" + name, head + script);
        return data + "\\" + name;
    }

    std::string CallLog() const { return ReadTextFile(program + "\\standin-calls.log"); }

    // Every start is remembered: a test that stops early must not leave a
    // running Tolva behind, whose window would swallow the next test's start.
    std::vector<HANDLE> started;

    TolvaProcess Start(const std::vector<std::string>& files)
    {
        TolvaProcess tolva = StartTolva(program + "\\tolva.exe", files);
        HANDLE copy = nullptr;
        if (tolva.process != nullptr &&
            DuplicateHandle(GetCurrentProcess(), tolva.process, GetCurrentProcess(), &copy, 0, FALSE,
                            DUPLICATE_SAME_ACCESS)) {
            started.push_back(copy);
        }
        return tolva;
    }

    // Runs a batch that needs no other answer than OK on its results view.
    ResultRows Run(const std::vector<std::string>& files)
    {
        TolvaProcess tolva = Start(files);
        return Finish(tolva);
    }

    // Reads the results view (none: no rows), presses OK, expects exit code 0.
    ResultRows Finish(TolvaProcess& tolva)
    {
        ResultRows rows;
        if (HWND view = WaitForResultsView(tolva)) {
            rows = ReadResultRows(tolva, view);
            PressOk(view);
        }
        EXPECT_EQ(0, WaitForExit(tolva));
        CloseTolva(tolva);
        return rows;
    }

    // Reads the results view, presses OK and waits for the main window, which
    // shows when the batch left files in the volume list.
    HWND FinishToMainWindow(TolvaProcess& tolva, ResultRows& rows)
    {
        // A view without rows closes itself before it can be seen: wait for
        // whichever comes, the view or the main window.
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 20000) {
            if (HWND view = WaitForResultsView(tolva, 0)) {
                rows = ReadResultRows(tolva, view);
                PressOk(view);
                return WaitForMainWindow(tolva);
            }
            if (HWND main = WaitForMainWindow(tolva, 0)) return main;
            if (WaitForSingleObject(tolva.process, 0) == WAIT_OBJECT_0) return nullptr;
            Sleep(50);
        }
        return nullptr;
    }

    // Closes the main window and expects the program to end with code 0.
    void Close(TolvaProcess& tolva, HWND main)
    {
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(0, WaitForExit(tolva));
        CloseTolva(tolva);
    }

    std::string TempFolder() const { return program + "\\Tolvatmp"; }

    ~Scenario()
    {
        for (HANDLE process : started) {
            if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0) {
                TerminateProcess(process, 99);
                WaitForSingleObject(process, 5000);
            }
            CloseHandle(process);
        }
        CloseOpenedFolders();
    }
};

