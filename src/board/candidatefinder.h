#pragma once

#include "board/convertedforms.h"
#include "board/learntkana.h"
#include "board/sentencecandidates.h"
#include "platform/conversion/conversionengine.h"
#include "platform/conversion/kanareading.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class CandidateCollector;
class LearningStore;
class QElapsedTimer;
class WordList;

// The candidates for a run of typed kana, best first, from what the user
// took and wrote before, the care vocabulary shipped with the program and
// the conversion engine; each source may be missing.
class CandidateFinder
{
public:
    // As many as the strip shows at once.
    static constexpr int MaxCandidates = 8;

    CandidateFinder(ConversionEngine *engine, LearningStore *learnt, const WordList *vocabulary)
        : m_engine(engine), m_learnt(learnt), m_vocabulary(vocabulary), m_forms(learnt, vocabulary),
          m_sentences(&KanaReading::of), m_kana(vocabulary, learnt)
    {}

    // Words taken for this reading before; the run converted whole; words and
    // phrases that begin with it; other forms of its segments. Never the kana themselves.
    std::vector<Candidate> forRun(const QString &run);
    // What may come after `taken` (read as `reading`, when known): what the user wrote after it before first.
    std::vector<Candidate> after(const QString &taken, const QString &reading = {}) const;

    // Whole sentences written before, at most this many, come after this many of the run's best
    // words: a sentence wide on the strip would otherwise keep out the words more often wanted.
    static constexpr int MaxSentences = 2;
    static constexpr int WordsBeforeSentences = 2;
    // After a word in kanji, this many particles (を, が, に, は) come before 。 and 、.
    static constexpr int ParticlesBeforeMarks = 4;
    // Stored sentences (and diary lines) looked at, at most: every one is looked at on each press.
    static constexpr qsizetype MaxWrittenBefore = 5000;
    // Where the stored sentences and the diary's lines are read from, when they are wanted.
    void setWrittenBefore(std::function<QStringList()> read) { m_writtenBefore = std::move(read); }
    // `words` (the run's candidates) with the whole sentences that go on from `written`, the
    // sentence so far before the run, and the run, put first.
    std::vector<Candidate> withSentences(const QString &written, const QString &run,
                                         std::vector<Candidate> words);

    // The user took `c` for the typed kana `typed`, after `previous` (empty when nothing was taken before).
    void taken(const QString &previous, const QString &typed, const Candidate &c);
    // A sentence the user read aloud, kept or sent: its phrases and their order.
    void learnSentence(const QString &sentence);

    // The `n` kana most likely typed next after `written` (the text before the cursor, the
    // run at its end), from the kana of everything the user wrote and the run's candidates.
    QStringList nextKana(const QString &written, const QString &run, const std::vector<Candidate> &candidates,
                         int n);

    // What the user must be told, once each: that the engine gives no candidates
    // (and that it does again), or that what was learnt cannot be saved; else nothing.
    std::optional<QString> newProblem();

private:
    static constexpr int LongRun = 5;
    static constexpr int LongRunForms = 3;
    // A run of two kana up to this many is looked at with each of this many likeliest kana after it,
    // for at most so long a press.
    static constexpr qsizetype LookAheadRun = 3;
    static constexpr int LookAheadKana = 5;
    static constexpr qint64 LookAheadMs = 20;
    void addAhead(CandidateCollector &c, const QString &run, const QElapsedTimer &clock);
    void saveLearnt();

    ConversionEngine *m_engine;
    LearningStore *m_learnt;
    const WordList *m_vocabulary;
    ConvertedForms m_forms;
    bool m_problemTold = false;
    std::function<QStringList()> m_writtenBefore;
    SentenceCandidates m_sentences;
    LearntKana m_kana;
    bool m_learntProblemTold = false;
    std::vector<QString> m_notices;
};
