// SPDX-License-Identifier: GPL-3.0-or-later
// The benchmark's rows: every run of an operation is kept, a row shows the fastest, the median and
// the 95th percentile, and is judged on its median only. A fixed calibration loop run before and
// after all rows tells how quiet the machine was.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace vendle::bench {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start);

// The times of the runs of one operation, in milliseconds.
struct Samples {
    std::vector<double> ms;
    double min() const;
    double median() const;
    double p95() const;
    bool empty() const { return ms.empty(); }
};

// One row of the summary.
struct Result {
    std::string name;
    Samples measured;
    Samples baseline;    // empty: no baseline
    double maxRatio = 0; // of the medians; 0: no ratio target
    double maxMs = 0;    // for the median; 0: no time target
    std::string note;
    bool failed = false; // the operation itself went wrong (the note says how)
    bool pass() const;
};

// Adds a row to the summary (replacing one of the same name) and its numbers to Google
// Benchmark's table.
void record(benchmark::State& state, Result result);
// The row recorded last.
Result& lastResult();

// Runs `measured` once per iteration as the benchmark's time, and `baseline` right before it, so
// that both see the same machine state, then records the row.
void measurePair(benchmark::State& state, const std::string& name, const std::function<void()>& measured,
                 const std::function<void()>& baseline, double maxRatio, double maxMs);

// The runs of the fixed calibration loop: the same work each time, so its spread is the
// machine's noise.
Samples calibrate();

// Prints the rows, the noise of the run and the verdict; true when every row holds.
bool printSummary(const Samples& calibrationBefore, const Samples& calibrationAfter);

} // namespace vendle::bench
