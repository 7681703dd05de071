#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace vorlie::bench {

// One comparison: our code against a baseline measured in the same run.
struct Ratio {
    std::string label;
    std::string baseline; // benchmark names, with "/arg" for an argument
    std::string subject;
    double target;
};

// Runs the registered benchmarks and prints subject / baseline for each
// comparison, so a slower machine moves both sides alike.
inline void runAndReportRatios(int *argc, char **argv, const std::vector<Ratio> &ratios)
{
    class Reporter : public benchmark::ConsoleReporter {
    public:
        void ReportRuns(const std::vector<Run> &runs) override
        {
            for (const Run &run : runs)
                if (run.run_type == Run::RT_Iteration)
                    perIteration[run.benchmark_name()] = run.GetAdjustedRealTime(); // "BM_Name" or "BM_Name/arg"
            ConsoleReporter::ReportRuns(runs);
        }
        std::map<std::string, double> perIteration;
    };

    benchmark::Initialize(argc, argv);
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const Ratio &ratio : ratios) {
        const double baseline = reporter.perIteration[ratio.baseline];
        const double subject = reporter.perIteration[ratio.subject];
        if (baseline > 0 && subject > 0)
            std::printf("%s: %.3fx (target <= %.2fx)%s\n", ratio.label.c_str(), subject / baseline, ratio.target,
                        subject / baseline <= ratio.target ? "" : "  ABOVE TARGET");
    }
    benchmark::Shutdown();
}

} // namespace vorlie::bench
