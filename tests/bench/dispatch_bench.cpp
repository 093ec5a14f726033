// The dispatcher's per-file work against the least any program must do per
// file: open it, read its first 512 bytes, close it.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "extract/batch_log.h"
#include "extract/dispatcher.h"
#include "identify/identify.h"
#include "tests/bench/bench.h"
#include "tests/support/samples.h"

void BenchDispatch(const std::string& folder)
{
    const std::string data = folder + "\\dispatch";
    CreateDirectoryA(data.c_str(), nullptr);
    std::vector<std::string> paths;
    const std::vector<Sample>& samples = AllSamples();
    for (int i = 0; i < 2000; ++i) {
        const Sample& sample = samples[i % samples.size()];
        char name[32];
        std::snprintf(name, sizeof name, "\\%04d-", i);
        paths.push_back(data + name + sample.fileName);
        WriteFileBytes(paths.back(), sample.bytes);
    }

    // What the dispatcher does for every file: log its name, identify it and
    // log what it is. Archives are identified and logged but not handed to
    // their library: extraction is the library's cost, not the batch's.
    auto dispatch = [&] {
        BatchStatus = 0;
        for (size_t i = 0; i < paths.size(); ++i) {
            if (i % 100 == 0) ClearBatchLog();
            LogFileName(paths[i].c_str());
            const int kind = IdentifyFile(paths[i].c_str());
            if (kind < kKindLzh || kind > kKindRar) ExtractByKind(kind, paths[i].c_str(), "");
        }
    };
    auto bare = [&] {
        char buffer[512];
        for (const std::string& path : paths) {
            HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            DWORD got = 0;
            ReadFile(file, buffer, sizeof buffer, &got, nullptr);
            CloseHandle(file);
        }
    };
    const PairedTimes times = MeasurePair(7, bare, dispatch);
    const double files = static_cast<double>(paths.size());
    std::printf("dispatch per-file work: %.0f files/s\n", files / times.second);
    std::printf("bare open-read-close: %.0f files/s\n", files / times.first);
    std::printf("dispatch rate ratio to bare loop: %.3f (goal >= 0.7)\n", times.ratio);
}
