#pragma once

#include "board/nextkana.h"

#include <QString>
#include <QStringList>
#include <vector>

class LearningStore;
class WordList;

// The kana likely typed next, as the user's own writing teaches them: the care
// words, the sentences they read aloud, kept or sent, and their stored
// sentences and diary, learnt again when those change. Readings come from
// KanaReading; no widgets, no files.
class LearntKana
{
public:
    LearntKana(const WordList *vocabulary, const LearningStore *learnt)
        : m_vocabulary(vocabulary), m_learnt(learnt)
    {}

    // A sentence the user read aloud, kept or sent (once the store has noted it).
    void sentenceLearnt(const QString &sentence);

    // The `n` kana most likely typed after `written` (the text before the cursor, the run at
    // its end), given the stored sentences and diary lines `writtenBefore`.
    QStringList next(const QStringList &writtenBefore, const QString &written, const QString &run,
                     const std::vector<Candidate> &candidates, int n);
    // The same from what was learnt at the last call of next(), without looking at what the user
    // keeps again: next() is called at every press, so this is at most a press behind.
    QStringList asLearnt(const QString &written, const QString &run, const std::vector<Candidate> &candidates,
                         int n) const;

private:
    const WordList *m_vocabulary;
    const LearningStore *m_learnt;
    NextKana m_kana;
    size_t m_key = 0; // the stored sentences learnt, besides the sentences learnt since
    bool m_taught = false;
};
