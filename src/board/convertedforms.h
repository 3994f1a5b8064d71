#pragma once

#include "platform/conversion/conversionengine.h"

#include <QString>
#include <vector>

class CandidateCollector;
class LearningStore;
class WordList;

// A run as the engine converted it, with the user's own words and the care
// words put in where they know a segment's reading, and its other likely
// writings. Either word source may be missing.
class ConvertedForms
{
public:
    ConvertedForms(const LearningStore *learnt, const WordList *vocabulary)
        : m_learnt(learnt), m_vocabulary(vocabulary)
    {}

    // The run as converted, with the known words put in: the longest known span first. Pinned
    // segments keep the form they have.
    QString fixed(const std::vector<Segment> &segments, const std::vector<bool> &pinned = {}) const;
    // Up to `max` other writings of the run, one or two segments changed, the likeliest first.
    void addOtherForms(CandidateCollector &c, const std::vector<Segment> &segments, int max) const;

private:
    struct Form
    {
        QString text;
        double cost;
    };
    static std::vector<Form> formsOf(const Segment &segment);
    QString known(const std::vector<Segment> &segments, size_t first, size_t last) const;
    QString firstWordFor(const QString &reading) const;

    const LearningStore *m_learnt;
    const WordList *m_vocabulary;
};
