#include "board/candidatestrip.h"

#include "board/candidatefinder.h"
#include "board/kanaforms.h"
#include "board/sentencecandidates.h"

int CandidateStrip::boundaryIn(const QString &text) const
{
    return m_boundary > 0 && m_boundary <= text.size() && QStringView(text).left(m_boundary) == m_boundaryText
               ? m_boundary
               : 0;
}

void CandidateStrip::clear()
{
    m_restPending = false;
    m_run.clear();
    m_runStart = 0;
    m_candidates.clear();
    m_lastTake.reset();
}

void CandidateStrip::afterEntry(const QString &text, int highlight)
{
    clear();
    if (highlight < 0 || highlight != text.size() - 1)
        return;
    const int boundary = boundaryIn(text);
    if (boundary == 0)
        m_previous.clear();
    int start = highlight;
    while (start > boundary && KanaForms::isKana(text[start - 1]))
        --start;
    m_runStart = start;
    m_run = text.mid(start, highlight - start);
    if (m_run.isEmpty())
        return;
    const int sentence = SentenceCandidates::sentenceStart(text, m_runStart);
    m_candidates =
        m_finder.withSentences(text.mid(sentence, m_runStart - sentence), m_run, m_finder.forRun(m_run));
}

std::optional<CandidateStrip::Edit> CandidateStrip::take(int index, const QString &text, int highlight)
{
    if (index < 0 || index >= int(m_candidates.size()) || highlight < m_runStart || highlight > text.size() ||
        QStringView(text).mid(m_runStart, highlight - m_runStart) != m_run)
        return std::nullopt;
    const Candidate c = m_candidates[size_t(index)];
    // A candidate for the run's first words leaves the kana after them, as a run of their own.
    const QString rest = c.reading.size() < m_run.size() && m_run.startsWith(c.reading)
                             ? m_run.mid(c.reading.size())
                             : QString();
    Edit e;
    e.text = text.left(m_runStart) + c.text + rest + text.mid(highlight);
    const int takenEnd = m_runStart + int(c.text.size());
    e.caret = takenEnd + int(rest.size());
    e.spoken = c.text;

    m_finder.taken(m_previous, m_run, c);
    Take t{m_runStart, m_run, c.text + rest, e.text.left(e.caret), boundaryIn(text), m_previous};
    m_boundary = takenEnd;
    m_boundaryText = e.text.left(takenEnd);
    m_previous = c.text;
    m_run = rest;
    m_runStart = takenEnd;
    m_candidates = rest.isEmpty() ? m_finder.after(c.text, c.reading) : std::vector<Candidate>{};
    m_restPending = !rest.isEmpty();
    m_lastTake = t;
    return e;
}

bool CandidateStrip::lookUpRest()
{
    const bool pending = m_restPending && !m_run.isEmpty();
    if (pending)
        m_candidates = m_finder.forRun(m_run);
    m_restPending = false;
    return pending;
}

std::optional<CandidateStrip::Edit> CandidateStrip::undoTake(const QString &text, int highlight)
{
    if (!m_lastTake)
        return std::nullopt;
    const Take t = *m_lastTake;
    const int end = t.start + int(t.taken.size());
    if (highlight != end || QStringView(text).left(end) != t.before) {
        m_lastTake.reset();
        return std::nullopt;
    }
    Edit e;
    e.text = text.left(t.start) + t.kana + text.mid(end);
    e.caret = t.start + int(t.kana.size());
    e.spoken = t.kana;
    m_boundary = t.boundaryBefore;
    m_boundaryText = e.text.left(m_boundary);
    m_previous = t.previousBefore;
    // The kana are a run again, with their candidates.
    afterEntry(e.text, e.caret);
    return e;
}

std::vector<int> CandidateStrip::fitting(const std::vector<int> &widths, int room, int gap)
{
    std::vector<int> out;
    int left = 0;
    for (int i = 0; i < int(widths.size()); ++i) {
        if (left + widths[size_t(i)] > room)
            continue;
        out.push_back(i);
        left += widths[size_t(i)] + gap;
    }
    return out;
}
