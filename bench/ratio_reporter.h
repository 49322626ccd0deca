#pragma once

// Runs the registered benchmarks and, after the usual table, prints for each pair
// (subject, reference) the ratio of their times at every argument both were run
// with: "BM_ImmediateRun/1000 / BM_ReferenceLoop/1000 = 1.31". With repetitions
// (--benchmark_repetitions=N) the runs are paired by repetition and the median of
// the paired ratios is printed.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench {

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                times[run.benchmark_name()].push_back(run.GetAdjustedRealTime());
    }

    std::map<std::string, std::vector<double>> times; // by name, one per repetition
};

inline double medianRatio(const std::vector<double> &subject, const std::vector<double> &reference)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < subject.size() && i < reference.size(); ++i)
        ratios.push_back(subject[i] / reference[i]);
    std::sort(ratios.begin(), ratios.end());
    const size_t middle = ratios.size() / 2;
    return ratios.size() % 2 ? ratios[middle] : (ratios[middle - 1] + ratios[middle]) / 2;
}

inline int runWithRatios(int argc, char **argv, const std::vector<std::pair<std::string, std::string>> &pairs)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nratios (subject time / reference time):\n");
    for (const auto &[subject, reference] : pairs)
        for (const auto &[name, times] : reporter.times) {
            if (name.rfind(subject + "/", 0) != 0)
                continue;
            const std::string argument = name.substr(subject.size());
            const auto match = reporter.times.find(reference + argument);
            if (match != reporter.times.end())
                std::printf("  %s / %s = %.2f\n", name.c_str(), match->first.c_str(), medianRatio(times, match->second));
        }
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
