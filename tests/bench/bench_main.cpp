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
        firstTimes.push_back(Seconds(first));
        secondTimes.push_back(Seconds(second));
        ratios.push_back(firstTimes.back() / secondTimes.back());
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
