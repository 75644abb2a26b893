#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Keeps every run's time per iteration, so that a benchmark program can print
// its figures as ratios to a reference measured in the same run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double real = 0.0; // seconds of wall-clock time
        double cpu = 0.0;  // seconds of this thread: steadier on a busy machine
    };

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && r.iterations > 0)
                times_[r.benchmark_name()] = {r.real_accumulated_time / double(r.iterations),
                                              r.cpu_accumulated_time / double(r.iterations)};
        ConsoleReporter::ReportRuns(runs);
    }

    // The run whose name starts with `prefix` (options such as min_time add
    // to the names), or nothing.
    std::optional<Times> find(const std::string& prefix) const
    {
        auto it = times_.lower_bound(prefix);
        if (it == times_.end() || it->first.compare(0, prefix.size(), prefix) != 0)
            return std::nullopt;
        return it->second;
    }

private:
    std::map<std::string, Times> times_;
};
