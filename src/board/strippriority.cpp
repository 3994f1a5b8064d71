#include "board/strippriority.h"

namespace StripPriority {

namespace {

constexpr int LongRun = 5;

} // namespace

double likelihood(const QString &run, const std::vector<Candidate> &candidates)
{
    if (candidates.empty())
        return 0;
    if (run.size() < LongRun)
        return 0.45;
    for (const Candidate &c : candidates)
        if (c.reading.size() > run.size() && c.reading.startsWith(run))
            return 0.45;
    return 0.03;
}

} // namespace StripPriority
