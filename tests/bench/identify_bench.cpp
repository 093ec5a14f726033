// Identification must cost the same for a 1 KiB file and a 4 GiB one: it
// reads fixed windows only.
#include <windows.h>

#include <cstdio>
#include <string>

#include "identify/identify.h"
#include "tests/bench/bench.h"
#include "tests/support/samples.h"

namespace {

bool MakeSparse(const std::string& path, long long size, const std::string& tail)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD ignored = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    LARGE_INTEGER position;
    position.QuadPart = size - static_cast<long long>(tail.size());
    SetFilePointerEx(file, position, nullptr, FILE_BEGIN);
    DWORD written = 0;
    WriteFile(file, tail.data(), static_cast<DWORD>(tail.size()), &written, nullptr);
    CloseHandle(file);
    return written == tail.size();
}

}  // namespace

void BenchIdentify(const std::string& folder)
{
    // Both files end in an MP3 tag, so every window is read for both.
    const std::string tagged = Mp3WithTag("Title", "Artist");
    const std::string small = folder + "\\small.mp3";
    const std::string large = folder + "\\large.mp3";
    WriteFileBytes(small, tagged.substr(tagged.size() - 1024));
    if (!MakeSparse(large, 4LL << 30, tagged.substr(tagged.size() - 128))) {
        std::printf("identify: cannot make the 4 GiB sparse file\n");
        return;
    }
    if (IdentifyFile(large.c_str()) != 130 || IdentifyFile(small.c_str()) != 130) {
        std::printf("identify: the benchmark files are not identified as MP3\n");
    }
    const int calls = 200;
    auto identifyMany = [&](const std::string& path) {
        return [&, path] {
            for (int i = 0; i < calls; ++i) IdentifyFile(path.c_str());
        };
    };
    const PairedTimes times = MeasurePair(15, identifyMany(small), identifyMany(large));
    std::printf("identify 1 KiB file: %.0f files/s\n", calls / times.first);
    std::printf("identify 4 GiB sparse file: %.0f files/s\n", calls / times.second);
    std::printf("identify rate ratio 4 GiB / 1 KiB: %.3f (goal >= 0.95)\n", times.ratio);
    DeleteFileA(large.c_str());
    DeleteFileA(small.c_str());
}
