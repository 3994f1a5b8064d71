#pragma once

#include "platform/conversion/conversionengine.h"

#include <QString>
#include <optional>
#include <vector>

class CandidateFinder;

// What the strip of candidates shows while the user types, and what a press
// on it does to the text. The text is the text box's, with its cursor marker;
// `highlight` is the index of the highlighted character. No widgets here.
class CandidateStrip
{
public:
    explicit CandidateStrip(CandidateFinder &finder) : m_finder(finder) {}

    // How many kana likely typed next the strip offers beside the candidates.
    static constexpr int NextKanaShown = 5;

    // The candidates the strip shows, in order, given their widths and the room: each whole or
    // not at all, and one too long (a whole sentence) leaves room to those after it.
    static std::vector<int> fitting(const std::vector<int> &widths, int room, int gap);

    // A character was entered: the kana run before the highlight and its candidates.
    // Entering anywhere but at the end of the text empties the strip.
    void afterEntry(const QString &text, int highlight);
    void clear();

    // The kana the candidates stand for, and where they begin in the text
    // (the run is empty after a take, when the strip offers next words).
    const QString &run() const { return m_run; }
    int runStart() const { return m_runStart; }
    const std::vector<Candidate> &candidates() const { return m_candidates; }

    struct Edit
    {
        QString text;
        int caret = 0;  // the highlight goes on the character here
        QString spoken; // what the voice says, as for an entered character
    };
    // Replaces the run with candidate `index` and offers the words that came after it before;
    // a candidate for the run's first words leaves the kana after them as the run, whose
    // candidates lookUpRest() finds (apart, so that the voice is not kept waiting).
    std::optional<Edit> take(int index, const QString &text, int highlight);
    // False when there was nothing to look up.
    bool lookUpRest();
    // Right after a take, gives the typed kana back in place of what was taken.
    std::optional<Edit> undoTake(const QString &text, int highlight);

private:
    struct Take
    {
        int start = 0;
        QString kana;
        QString taken;
        QString before; // the text up to the end of the take, to know it still stands
        int boundaryBefore = 0;
        QString previousBefore;
    };

    int boundaryIn(const QString &text) const;

    CandidateFinder &m_finder;
    QString m_run;
    int m_runStart = 0;
    std::vector<Candidate> m_candidates;
    // Where the last take ended: a run never reaches back across it.
    int m_boundary = 0;
    QString m_boundaryText;
    QString m_previous; // the last taken text, while it stands
    std::optional<Take> m_lastTake;
    bool m_restPending = false;
};
