// Extracting a RAR volume set through the program's RAR adapter must be as
// fast as the least any caller of the same library does: progress repaints,
// callbacks and the tally must not slow it down. The set is stored, so the
// library's own decoding does not hide the difference; it is made by
// tests/realrar/make-bench-set.sh (`make bench` runs it first). Both are
// timed from opening the archive to closing it, by the same clock.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "extract/adapters.h"
#include "extract/rar_records.h"
#include "shell/app.h"
#include "tests/bench/bench.h"
#include "tests/support/temp_folder.h"
#include "volumes/volume_siblings.h"

namespace {

const double kContentMiB = 256.0;
const long long kContentBytes = 256LL * 1048576;

std::string RealRarFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    folder.erase(folder.rfind('\\'));  // the bin folder
    folder.erase(folder.rfind('\\'));  // the build folder
    return folder + "\\realrar";
}

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / frequency.QuadPart;
}

typedef int(CALLBACK* ChangeVolumeCallback)(char* volume, int mode);

int CALLBACK NextVolume(char*, int) { return 1; }

// When the last archive was opened and closed: the library's open and close
// entries lead through these, for the adapter and the bare caller alike.
double g_openedAt;
double g_closedAt;
HANDLE(WINAPI* g_open)(RarOpenRecord*);
int(WINAPI* g_close)(HANDLE);

HANDLE WINAPI TimedOpen(RarOpenRecord* record)
{
    g_openedAt = Now();
    return g_open(record);
}

int WINAPI TimedClose(HANDLE archive)
{
    const int result = g_close(archive);
    g_closedAt = Now();
    return result;
}

// Points a library's exported entry at another function for every later
// GetProcAddress (the adapter looks its entries up on each extraction); the
// original entry, or null. The library must stay loaded meanwhile.
template <typename Function> bool RedirectExport(HMODULE library, const char* name, Function replacement,
                                                 Function& original)
{
    BYTE* base = reinterpret_cast<BYTE*>(library);
    const IMAGE_NT_HEADERS* headers =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const IMAGE_EXPORT_DIRECTORY* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    const DWORD* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    const WORD* ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
    DWORD* functions = reinterpret_cast<DWORD*>(base + exports->AddressOfFunctions);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
        if (std::strcmp(reinterpret_cast<const char*>(base + names[i]), name) != 0) continue;
        DWORD* entry = &functions[ordinals[i]];
        DWORD protection;
        if (!VirtualProtect(entry, sizeof *entry, PAGE_READWRITE, &protection)) return false;
        original = reinterpret_cast<Function>(base + *entry);
        // An offset from the library's base; in a 32-bit process it wraps
        // round to any address.
        *entry = static_cast<DWORD>(reinterpret_cast<BYTE*>(replacement) - base);
        VirtualProtect(entry, sizeof *entry, protection, &protection);
        return true;
    }
    return false;
}

// The least a caller does: open, read each header and extract its entry,
// close. No progress, no tally, no other callback.
struct BareCaller {
    HANDLE(WINAPI* open)(RarOpenRecord*);
    int(WINAPI* close)(HANDLE);
    int(WINAPI* readHeader)(HANDLE, RarHeaderRecord*);
    int(WINAPI* processFile)(HANDLE, int, char*, char*);
    void(WINAPI* setChangeVolume)(HANDLE, ChangeVolumeCallback);

    template <typename T> static T Entry(HMODULE library, const char* name)
    {
        return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    }

    explicit BareCaller(HMODULE library)
        : open(Entry<decltype(open)>(library, "RAROpenArchive")),
          close(Entry<decltype(close)>(library, "RARCloseArchive")),
          readHeader(Entry<decltype(readHeader)>(library, "RARReadHeader")),
          processFile(Entry<decltype(processFile)>(library, "RARProcessFile")),
          setChangeVolume(Entry<decltype(setChangeVolume)>(library, "RARSetChangeVolProc"))
    {
    }

    // The result of the last call that ended the work: 10 at the end of the set.
    int Extract(const std::string& archive, std::string destination) const
    {
        RarOpenRecord record = {};
        record.archive = archive.c_str();
        record.openMode = 1;
        HANDLE handle = open(&record);
        if (record.openResult != 0) return static_cast<int>(record.openResult);
        setChangeVolume(handle, NextVolume);
        RarHeaderRecord header = {};
        int result;
        while ((result = readHeader(handle, &header)) == kRarSuccess) {
            result = processFile(handle, kRarOperationExtract, &destination[0], nullptr);
            if (result != kRarSuccess) break;
        }
        close(handle);
        return result;
    }
};

// Bytes of every file below a folder.
long long TreeBytes(const std::string& folder)
{
    long long total = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            total += TreeBytes(folder + "\\" + name);
        } else {
            total += (static_cast<long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return total;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

void BenchRar(const std::string& folder)
{
    const std::string realRar = RealRarFolder();
    const std::string first = realRar + "\\bench\\big.part1.rar";
    if (GetFileAttributesA(first.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("rar: no volume set at %s (tests/realrar/make-bench-set.sh): skipped\n", first.c_str());
        return;
    }
    // The bare caller holds the library for the whole run, so the adapter's
    // own load and release of it only count references.
    HMODULE library = LoadLibraryA((realRar + "\\unrar.dll").c_str());
    if (library == nullptr) {
        std::printf("rar: no %s\\unrar.dll: skipped\n", realRar.c_str());
        return;
    }
    if (!RedirectExport(library, "RAROpenArchive", TimedOpen, g_open) ||
        !RedirectExport(library, "RARCloseArchive", TimedClose, g_close)) {
        std::printf("rar: cannot time the library's open and close: skipped\n");
        FreeLibrary(library);
        return;
    }
    // The adapter finds the library the way the program does: here through an
    // absolute folder on the search path, as none lies beside this program.
    const char* path = std::getenv("PATH");
    _putenv((std::string("PATH=") + realRar + ";" + (path != nullptr ? path : "")).c_str());
    SetAppInstance(GetModuleHandleA(nullptr));  // the progress window's template
    BuildPartVolumeNames(first.c_str());         // the names the progress window shows

    const BareCaller bare(library);
    const std::string destination = folder + "\\rar";
    std::vector<double> adapterTimes, bareTimes, ratios;
    bool failed = false;
    // One extraction into a fresh folder: the seconds from opening the set to
    // closing it, or a negative value when the whole set did not come out.
    auto timed = [&](bool extracted) {
        const bool measured = g_openedAt > 0 && g_closedAt > g_openedAt;
        return extracted && measured && TreeBytes(destination) == kContentBytes ? g_closedAt - g_openedAt : -1.0;
    };
    // The adapter's own set-up and tidying (the library, the folder, the
    // progress window) lie outside that span, which holds every entry's
    // progress line and look for a press of Cancel.
    auto throughAdapter = [&] {
        RemoveTree(destination);
        g_openedAt = g_closedAt = 0;
        return timed(ExtractRar(nullptr, first.c_str(), destination.c_str()) == 0);
    };
    auto throughBareCaller = [&] {
        RemoveTree(destination);
        CreateDirectoryA(destination.c_str(), nullptr);
        g_openedAt = g_closedAt = 0;
        return timed(bare.Extract(first, destination) == kRarEndOfArchive);
    };
    // Paired round by round in the order adapter, bare caller, bare caller,
    // adapter, as MeasurePair does, so that what one run leaves behind (files
    // still being written out, the file cache) favours neither.
    auto round = [&](int number) {
        const double times[4] = {throughAdapter(), throughBareCaller(), throughBareCaller(), throughAdapter()};
        const double adapter = (times[0] + times[3]) / 2;
        const double bareRun = (times[1] + times[2]) / 2;
        if (*std::min_element(times, times + 4) < 0) {
            std::printf("rar: an extraction failed (adapter %.3f s, bare caller %.3f s)\n", adapter, bareRun);
            failed = true;
            return;
        }
        if (number < 0) return;  // warming up
        adapterTimes.push_back(adapter);
        bareTimes.push_back(bareRun);
        ratios.push_back(bareRun / adapter);
    };
    round(-1);  // the set into the file cache, the library's first run
    for (int i = 0; i < 9 && !failed; ++i) round(i);
    RemoveTree(destination);
    FreeLibrary(library);
    if (failed) return;

    const double adapterTime = Median(adapterTimes);
    const double bareTime = Median(bareTimes);
    std::printf("rar through the adapter: %.0f MiB/s\n", kContentMiB / adapterTime);
    std::printf("rar through a bare caller: %.0f MiB/s\n", kContentMiB / bareTime);
    std::printf("rar rate ratio to the bare caller: %.3f (goal >= 0.95)\n", Median(ratios));
}
