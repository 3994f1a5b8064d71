#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

// Collects durations and prints "NAME median_ms=X p95_ms=Y".
class Timings
{
public:
    void add(std::chrono::steady_clock::duration d)
    {
        m_ms.push_back(std::chrono::duration<double, std::milli>(d).count());
    }
    void print(const char *name)
    {
        if (m_ms.empty())
            return;
        std::sort(m_ms.begin(), m_ms.end());
        const double median = m_ms[m_ms.size() / 2];
        const double p95 = m_ms[std::min(m_ms.size() - 1, m_ms.size() * 95 / 100)];
        std::printf("%s median_ms=%.3f p95_ms=%.3f\n", name, median, p95);
        std::fflush(stdout);
    }

private:
    std::vector<double> m_ms;
};
