// A console reporter that also keeps the time per iteration and the byte
// rate of each benchmark (the median when repetitions are asked for), so a
// benchmark program can print the ratio of two peers run side by side.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <set>
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
            const bool single = run.run_type == Run::RT_Iteration && run.iterations > 0 && !m_medians.count(name);
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!single && !median)
                continue;
            m_times[name] = run.GetAdjustedRealTime();
            auto bytes = run.counters.find("bytes_per_second");
            if (bytes != run.counters.end())
                m_rates[name] = bytes->second.value;
            if (median)
                m_medians.insert(name);
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
    std::set<std::string> m_medians;
};
