// A console reporter that also keeps the time per iteration and the byte
// rate of each benchmark, so a benchmark program can print the ratio of two
// peers run side by side. With repetitions it keeps the fastest run when a
// "min" statistic is computed (the machine's other load only ever slows a
// run down), else the median.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

class BenchTimes : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
        {
            const std::string& name = run.run_name.function_name;
            int rank = 0;
            if (run.run_type == Run::RT_Aggregate)
                rank = run.aggregate_name == "min" ? 2 : run.aggregate_name == "median" ? 1 : -1;
            else if (run.iterations <= 0)
                rank = -1;
            auto kept = m_ranks.find(name);
            if (rank < 0 || (kept != m_ranks.end() && kept->second > rank))
                continue;
            m_ranks[name] = rank;
            m_times[name] = run.GetAdjustedRealTime();
            auto bytes = run.counters.find("bytes_per_second");
            if (bytes != run.counters.end())
                m_rates[name] = bytes->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Time per iteration in the benchmark's unit; 0 when it did not run.
    double time(const std::string& name) const
    {
        auto it = m_times.find(name);
        return it == m_times.end() ? 0.0 : it->second;
    }
    // Bytes per second; 0 when the benchmark reports none.
    double rate(const std::string& name) const
    {
        auto it = m_rates.find(name);
        return it == m_rates.end() ? 0.0 : it->second;
    }
    // The statistic of the fastest of a benchmark's repetitions.
    static double Fastest(const std::vector<double>& v)
    {
        return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
    }
    // For Apply: five runs of the benchmark, of which the fastest counts.
    static void FastestOfFive(benchmark::internal::Benchmark* b)
    {
        b->Repetitions(5)->ComputeStatistics("min", &Fastest)->ReportAggregatesOnly(true);
    }

    // a / b, or 0 when either did not run.
    double ratio(const std::string& a, const std::string& b) const
    {
        const double ta = time(a);
        const double tb = time(b);
        return ta > 0 && tb > 0 ? ta / tb : 0.0;
    }

private:
    std::map<std::string, double> m_times;
    std::map<std::string, double> m_rates;
    std::map<std::string, int> m_ranks;  // 0 a single run, 1 the median, 2 the fastest
};
