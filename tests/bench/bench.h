// Small benchmarks, run by `make bench`; each prints one line per figure,
// the median of several warm repetitions.
#pragma once

#include <functional>
#include <string>

struct PairedTimes {
    double first;   // median seconds of the first work
    double second;  // median seconds of the second work
    double ratio;   // median of first / second over the rounds
};

// Runs both works once to warm up, then repetitions rounds, each in the order
// first, second, second, first; pairing them within a round keeps the
// machine's drift and what each work leaves behind out of the ratio.
PairedTimes MeasurePair(int repetitions, const std::function<void()>& first, const std::function<void()>& second);

void BenchIdentify(const std::string& folder);
void BenchDispatch(const std::string& folder);
void BenchCopy(const std::string& folder);
void BenchRar(const std::string& folder);
void BenchProgress(const std::string& folder);
