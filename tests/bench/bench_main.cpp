#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/bench/bench.h"
#include "tests/support/temp_folder.h"

double MedianSeconds(int repetitions, const std::function<void()>& work)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    work();
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        work();
        QueryPerformanceCounter(&end);
        times.push_back(double(end.QuadPart - start.QuadPart) / frequency.QuadPart);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int main(int argc, char** argv)
{
    const std::string which = argc > 1 ? argv[1] : "all";
    TempFolder temp;
    if (which == "all" || which == "identify") BenchIdentify(temp.path());
    if (which == "all" || which == "dispatch") BenchDispatch(temp.path());
    return 0;
}
