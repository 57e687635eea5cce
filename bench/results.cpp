// SPDX-License-Identifier: GPL-3.0-or-later
#include "results.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace vendle::bench {

namespace {

std::vector<Result>& results() {
    static std::vector<Result> r;
    return r;
}

double nearestRank(std::vector<double> v, double fraction) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(v.size())));
    return v[std::clamp<std::size_t>(rank, 1, v.size()) - 1];
}

} // namespace

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Samples::min() const {
    return ms.empty() ? 0 : *std::min_element(ms.begin(), ms.end());
}
double Samples::median() const {
    return nearestRank(ms, 0.5);
}
double Samples::p95() const {
    return nearestRank(ms, 0.95);
}

bool Result::pass() const {
    const double m = measured.median();
    const bool ratioOk = maxRatio == 0 || baseline.empty() || m / baseline.median() <= maxRatio;
    const bool timeOk = maxMs == 0 || m <= maxMs;
    return ratioOk && timeOk && !failed;
}

void record(benchmark::State& state, Result result) {
    // Google Benchmark may run a benchmark more than once to settle its iterations; keep the last.
    std::erase_if(results(), [&](const Result& old) { return old.name == result.name; });
    state.counters["median_ms"] = result.measured.median();
    state.counters["p95_ms"] = result.measured.p95();
    if (!result.baseline.empty()) {
        state.counters["baseline_ms"] = result.baseline.median();
        state.counters["ratio"] = result.measured.median() / result.baseline.median();
    }
    results().push_back(std::move(result));
}

Result& lastResult() {
    return results().back();
}

void measurePair(benchmark::State& state, const std::string& name, const std::function<void()>& measured,
                 const std::function<void()>& baseline, double maxRatio, double maxMs) {
    Result r{name, {}, {}, maxRatio, maxMs, {}, false};
    for (auto _ : state) {
        if (baseline) {
            const auto t0 = Clock::now();
            baseline();
            r.baseline.ms.push_back(msSince(t0));
        }
        const auto t1 = Clock::now();
        measured();
        const double ms = msSince(t1);
        r.measured.ms.push_back(ms);
        state.SetIterationTime(ms / 1000.0);
    }
    record(state, std::move(r));
}

Samples calibrate() {
    // Integer work in registers, and reads spread over 32 MB, more than the caches hold: it feels
    // both a slower core and a busier memory (other machines on the host fill the shared caches).
    static std::vector<std::uint32_t> memory(std::size_t{1} << 23, 1);
    const std::size_t mask = memory.size() - 1;
    Samples s;
    for (int run = 0; run < 20; ++run) {
        const auto t0 = Clock::now();
        std::uint64_t x = 88172645463325252ull;
        for (int i = 0; i < 2'000'000; ++i) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
        }
        std::uint64_t sum = 0;
        for (std::size_t i = 0; i < 200'000; ++i)
            sum += memory[(i * 2'654'435'761u) & mask];
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(sum);
        s.ms.push_back(msSince(t0));
    }
    return s;
}

bool printSummary(const Samples& before, const Samples& after) {
    std::printf("\n%-62s %8s %8s %8s %9s %7s  %s\n", "operation", "min ms", "median", "p95", "baseline",
                "ratio", "result (judged on the median)");
    bool all = true;
    for (const Result& r : results()) {
        char ratio[32] = "";
        char base[32] = "";
        if (!r.baseline.empty()) {
            std::snprintf(base, sizeof base, "%.2f", r.baseline.median());
            std::snprintf(ratio, sizeof ratio, "%.2fx", r.measured.median() / r.baseline.median());
        }
        std::string target;
        if (r.maxRatio > 0) {
            char t[32];
            std::snprintf(t, sizeof t, "<= %gx ", r.maxRatio);
            target += t;
        }
        if (r.maxMs > 0) {
            char t[32];
            std::snprintf(t, sizeof t, "<= %g ms ", r.maxMs);
            target += t;
        }
        const bool timed = !r.measured.empty();
        if (timed)
            std::printf("%-62s %8.2f %8.2f %8.2f %9s %7s  %s %s%s\n", r.name.c_str(), r.measured.min(),
                        r.measured.median(), r.measured.p95(), base, ratio, r.pass() ? "PASS" : "FAIL",
                        target.c_str(), r.note.c_str());
        else
            std::printf("%-62s %8s %8s %8s %9s %7s  %s %s\n", r.name.c_str(), "", "", "", "", "",
                        r.pass() ? "PASS" : "FAIL", r.note.c_str());
        all = all && r.pass();
    }
    // The calibration loop does the same work every time: its spread within a series and its drift
    // between the series before and after the rows are the machine's noise during the run.
    const auto spread = [](const Samples& s) { return 100.0 * (s.p95() - s.min()) / s.min(); };
    const double drift = 100.0 * (after.median() - before.median()) / before.median();
    const double worst = std::max({spread(before), spread(after), std::abs(drift)});
    std::printf("\nNoise: calibration loop before %.2f ms (min %.2f, p95 %.2f, spread %.0f%%), after %.2f ms "
                "(min %.2f, p95 %.2f, spread %.0f%%), drift %+.0f%%: %s\n",
                before.median(), before.min(), before.p95(), spread(before), after.median(), after.min(),
                after.p95(), spread(after), drift,
                worst < 10 ? "a quiet run" : (worst < 30 ? "some noise" : "a noisy run; compare with care"));
    std::printf("\n%s\n", all ? "All targets hold." : "Some targets were missed.");
    return all;
}

} // namespace vendle::bench
