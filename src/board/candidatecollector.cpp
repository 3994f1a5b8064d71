#include "board/candidatecollector.h"

#include "board/kanaforms.h"

void CandidateCollector::add(const Candidate &c)
{
    if (c.text.isEmpty() || c.text == m_run || int(m_out.size()) >= m_max || KanaForms::isOddForm(c.text))
        return;
    for (const Candidate &have : m_out)
        if (have.text == c.text)
            return;
    m_out.push_back(c);
}

void CandidateCollector::add(const std::vector<Candidate> &cs, int max)
{
    for (int i = 0; i < int(cs.size()) && i < max; ++i)
        add(cs[size_t(i)]);
}
