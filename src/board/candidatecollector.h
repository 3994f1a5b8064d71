#pragma once

#include "platform/conversion/conversionengine.h"

#include <QString>
#include <limits>
#include <vector>

// Candidates gathered for a run, in the order they come: none empty, none the
// run itself, none odd, none twice, and no more than the strip shows.
class CandidateCollector
{
public:
    CandidateCollector(const QString &run, int max) : m_run(run), m_max(max) {}
    void add(const Candidate &c);
    // The first `max` of `cs`, or all of them.
    void add(const std::vector<Candidate> &cs, int max = std::numeric_limits<int>::max());
    std::vector<Candidate> take() { return std::move(m_out); }
    size_t size() const { return m_out.size(); }
    const QString &run() const { return m_run; }

private:
    QString m_run;
    int m_max;
    std::vector<Candidate> m_out;
};
