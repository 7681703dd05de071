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
    // Which of the subject's times must meet the target. Its CPU time is the
    // benchmark thread's, or every thread's when the subject is registered
    // with MeasureProcessCPUTime(); each lands in a column of its own.
    enum class Judged { wall, cpu, both } judged = Judged::wall;
};

// One line per comparison, in the form tools/bench.sh gathers into its table:
// "RATIO<TAB>label<TAB>wall<TAB>thread cpu<TAB>all threads' cpu<TAB>target<TAB>met|missed",
// with "-" in the CPU column the subject did not measure.
inline void printRatio(const Ratio &ratio, double wall, double cpu, bool cpuOfAllThreads)
{
    const bool wallMet = ratio.judged == Ratio::Judged::cpu || wall <= ratio.target;
    const bool cpuMet = ratio.judged == Ratio::Judged::wall || cpu <= ratio.target;
    char cpuText[32];
    std::snprintf(cpuText, sizeof cpuText, "%.3f", cpu);
    std::printf("RATIO\t%s\t%.3f\t%s\t%s\t%.2f\t%s\n", ratio.label.c_str(), wall, cpuOfAllThreads ? "-" : cpuText,
                cpuOfAllThreads ? cpuText : "-", ratio.target, wallMet && cpuMet ? "met" : "missed");
}

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
                const Times times{run.GetAdjustedRealTime(), run.GetAdjustedCPUTime(), run.run_name.time_type == "process_time"};
                if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                    medians[name] = times;
                else if (run.run_type == Run::RT_Iteration)
                    perIteration[name] = times;
            }
            ConsoleReporter::ReportRuns(runs);
        }
        struct Times {
            double real = 0;
            double cpu = 0;
            bool allThreads = false;
        };
        Times time(const std::string &name) const
        {
            const auto median = medians.find(name);
            if (median != medians.end())
                return median->second;
            const auto single = perIteration.find(name);
            return single != perIteration.end() ? single->second : Times{};
        }
        std::map<std::string, Times> perIteration;
        std::map<std::string, Times> medians;
    };

    // The baseline's and the subject's repetitions take turns, so a change in
    // the shared machine's load between them does not pass for a difference.
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char *> args(argv, argv + *argc);
    args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // One line per comparison, in the form tools/bench.sh gathers into its table:
    // "RATIO<TAB>label<TAB>wall<TAB>thread cpu<TAB>all threads' cpu<TAB>target<TAB>met|missed",
    // with "-" in the CPU column the subject did not measure.
    for (const Ratio &ratio : ratios) {
        const auto baseline = reporter.time(ratio.baseline);
        const auto subject = reporter.time(ratio.subject);
        if (baseline.real <= 0 || subject.real <= 0 || baseline.cpu <= 0)
            continue;
        printRatio(ratio, subject.real / baseline.real, subject.cpu / baseline.cpu, subject.allThreads);
    }
    benchmark::Shutdown();
}

// A figure that is no ratio, in the form tools/bench.sh gathers into its table:
// "FIGURE<TAB>label<TAB>value unit<TAB>target unit<TAB>met|missed".
inline void printFigure(const std::string &label, double value, const char *unit, double target, bool met)
{
    std::printf("FIGURE\t%s\t%.2f %s\t%.2f %s\t%s\n", label.c_str(), value, unit, target, unit, met ? "met" : "missed");
}

// A figure reported without a target.
inline void printMeasure(const std::string &label, double value, const char *unit)
{
    std::printf("FIGURE\t%s\t%.2f %s\t-\tmeasured\n", label.c_str(), value, unit);
}

} // namespace vorlie::bench
