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
            for (const Run &run : runs) {
                // "BM_Name" or "BM_Name/arg"; with repetitions, their median wins over single runs.
                const std::string name = run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args);
                if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                    medians[name] = run.GetAdjustedRealTime();
                else if (run.run_type == Run::RT_Iteration)
                    perIteration[name] = run.GetAdjustedRealTime();
            }
            ConsoleReporter::ReportRuns(runs);
        }
        double time(const std::string &name) const
        {
            const auto median = medians.find(name);
            if (median != medians.end())
                return median->second;
            const auto single = perIteration.find(name);
            return single != perIteration.end() ? single->second : 0;
        }
        std::map<std::string, double> perIteration;
        std::map<std::string, double> medians;
    };

    benchmark::Initialize(argc, argv);
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const Ratio &ratio : ratios) {
        const double baseline = reporter.time(ratio.baseline);
        const double subject = reporter.time(ratio.subject);
        if (baseline > 0 && subject > 0)
            std::printf("%s: %.3fx (target <= %.2fx)%s\n", ratio.label.c_str(), subject / baseline, ratio.target,
                        subject / baseline <= ratio.target ? "" : "  ABOVE TARGET");
    }
    benchmark::Shutdown();
}

} // namespace vorlie::bench
