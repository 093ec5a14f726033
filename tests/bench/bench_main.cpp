#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/bench/bench.h"
#include "tests/support/temp_folder.h"

namespace {

double Seconds(const std::function<void()>& work)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return double(end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

PairedTimes MeasurePair(int repetitions, const std::function<void()>& first, const std::function<void()>& second)
{
    first();
    second();
    std::vector<double> firstTimes, secondTimes, ratios;
    for (int i = 0; i < repetitions; ++i) {
        // In the order first, second, second, first: what one work leaves
        // behind (files still being written out, the file cache) and the
        // machine's drift favour neither.
        const double firstBefore = Seconds(first);
        const double secondTwice = Seconds(second) + Seconds(second);
        const double firstTwice = firstBefore + Seconds(first);
        firstTimes.push_back(firstTwice / 2);
        secondTimes.push_back(secondTwice / 2);
        ratios.push_back(firstTwice / secondTwice);
    }
    return {Median(firstTimes), Median(secondTimes), Median(ratios)};
}

int main(int argc, char** argv)
{
    const std::string which = argc > 1 ? argv[1] : "all";
    TempFolder temp;
    if (which == "all" || which == "identify") BenchIdentify(temp.path());
    if (which == "all" || which == "dispatch") BenchDispatch(temp.path());
    if (which == "all" || which == "copy") BenchCopy(temp.path());
    if (which == "all" || which == "rar") BenchRar(temp.path());
    if (which == "all" || which == "progress") BenchProgress(temp.path());
    return 0;
}
