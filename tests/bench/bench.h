// Small benchmarks, run by `make bench`; each prints one line per figure,
// the median of several warm repetitions.
#pragma once

#include <functional>
#include <string>

// Median seconds of repetitions calls of work (after one warm-up call).
double MedianSeconds(int repetitions, const std::function<void()>& work);

void BenchIdentify(const std::string& folder);
void BenchDispatch(const std::string& folder);
