#include "board/learntkana.h"

#include "platform/conversion/kanareading.h"
#include "platform/conversion/learningstore.h"
#include "platform/conversion/wordlist.h"

#include <limits>

namespace {

// A few thousand stored sentences are plenty: a list of millions costs no more.
constexpr qsizetype MaxWrittenBefore = 2000;
// Only a sentence's first characters are learnt, and only the last ones before the cursor are
// read: a text of megabytes costs no more than a line.
constexpr qsizetype MaxRead = 200;
constexpr qsizetype Context = 16;

QString readingOf(const QString &text)
{
    return KanaReading::ofWords(text.left(MaxRead), NextKana::WordBreak);
}

} // namespace

void LearntKana::sentenceLearnt(const QString &sentence)
{
    if (m_taught)
        m_kana.learn(readingOf(sentence));
}

QStringList LearntKana::next(const QStringList &writtenBefore, const QString &written, const QString &run,
                             const std::vector<Candidate> &candidates, int n)
{
    const QStringList before = writtenBefore.mid(0, MaxWrittenBefore);
    const size_t key = qHash(before);
    if (!m_taught || key != m_key) {
        m_kana.clear();
        if (m_vocabulary)
            for (const Candidate &w : m_vocabulary->startingWith({}, std::numeric_limits<int>::max()))
                m_kana.learn(w.reading);
        if (m_learnt)
            for (const LearningStore::SentenceUse &u : m_learnt->sentences())
                m_kana.learn(readingOf(u.text), u.count);
        for (const QString &t : before)
            m_kana.learn(readingOf(t));
        m_key = key;
        m_taught = true;
    }
    return asLearnt(written, run, candidates, n);
}

QStringList LearntKana::asLearnt(const QString &written, const QString &run,
                                 const std::vector<Candidate> &candidates, int n) const
{
    return m_kana.likely(KanaReading::of(written.right(Context)), run, candidates, n);
}
