// What the progress window costs an extraction for every entry: the entry
// line replaced and repainted at once, and the look for a press of Cancel.
// Under Wine each of them waits for the window system, so this is what the
// RAR figure spends per entry beyond the bare caller.
#include <windows.h>

#include <cstdio>
#include <string>

#include "extract/progress_window.h"
#include "shell/app.h"
#include "tests/bench/bench.h"

void BenchProgress(const std::string&)
{
    SetAppInstance(GetModuleHandleA(nullptr));  // the window's template
    if (OpenProgress("archive.rar") != 0) {
        std::printf("progress: cannot open the progress window\n");
        return;
    }
    const int calls = 200;
    int next = 0;
    auto entries = [&] {
        char name[32];
        for (int i = 0; i < calls; ++i) {
            std::snprintf(name, sizeof name, "small\\%04d.bin", next++ % 10000);
            SetProgressEntry(name);
        }
    };
    auto pumps = [&] {
        for (int i = 0; i < calls; ++i) PumpProgressMessages();
    };
    const PairedTimes times = MeasurePair(15, entries, pumps);
    std::printf("progress entry line replaced and repainted: %.0f us each\n", times.first / calls * 1e6);
    std::printf("progress messages looked for: %.0f us each (at most every %lu ms while extracting)\n",
                times.second / calls * 1e6, static_cast<unsigned long>(kProgressPollMilliseconds));
    CloseProgress();
}
