// Gathering volumes copies them into the temporary folder in blocks: that
// must be as fast as the platform's own copy.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/bench/bench.h"
#include "volumes/joint_extraction.h"
#include "volumes/volume_slots.h"

namespace {

bool MakeVolume(const std::string& path, int megabytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::vector<char> block(1 << 20);
    unsigned seed = 12345;
    for (char& byte : block) byte = static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
    DWORD written = 0;
    bool ok = true;
    for (int i = 0; i < megabytes && ok; ++i) ok = WriteFile(file, block.data(), block.size(), &written, nullptr);
    CloseHandle(file);
    return ok;
}

}  // namespace

void BenchCopy(const std::string& folder)
{
    const int volumes = 4;
    const int megabytes = 64;
    std::vector<std::string> sources;
    for (int i = 0; i < volumes; ++i) {
        sources.push_back(folder + "\\volume" + std::to_string(i) + ".dat");
        if (!MakeVolume(sources.back(), megabytes)) {
            std::printf("copy: cannot write the volumes\n");
            return;
        }
    }
    if (CreateTempFolder() != 0) {
        std::printf("copy: cannot make the temporary folder\n");
        return;
    }
    char temp[324];
    TempFolderPath(temp, sizeof temp);
    auto fillSlots = [&] {
        ClearSlots();
        StoreSlot(kFirstVolumeSlot, sources[0].c_str());
        for (int i = 1; i < volumes; ++i) StoreSlot(i - 1, sources[i].c_str());
    };
    auto gathered = [&] {
        DeleteTempVolumes();
        fillSlots();
        CopyVolumesToTemp();
    };
    auto platform = [&] {
        DeleteTempVolumes();
        for (int i = 0; i < volumes; ++i) {
            const std::string copy = std::string(temp) + "\\Tolvatmp." + SlotExtension(i == 0 ? kFirstVolumeSlot : i - 1);
            CopyFileA(sources[i].c_str(), copy.c_str(), FALSE);
        }
    };
    const PairedTimes times = MeasurePair(5, platform, gathered);
    const double total = volumes * megabytes;
    std::printf("copy through the temporary folder: %.0f MiB/s\n", total / times.second);
    std::printf("copy with CopyFileA: %.0f MiB/s\n", total / times.first);
    std::printf("copy rate ratio to CopyFileA: %.3f (goal >= 0.95)\n", times.ratio);
    DeleteTempVolumes();
    for (const std::string& source : sources) DeleteFileA(source.c_str());
}
