#pragma once

#include "platform/conversion/conversionengine.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

// Which kana the user is likely to type next: from the kana of what they wrote
// before (short runs of kana and what followed them) and from the candidates of
// the run being typed, which go on with the kana their words go on with. No
// widgets, no files.
class NextKana
{
public:
    // At most this many kana before the one foreseen are looked at.
    static constexpr int Context = 3;
    // Stands between two words of a reading learnt: what begins a word is learnt apart, for the kana
    // after a word taken from the strip.
    static constexpr QChar WordBreak = QChar(0x1F);

    // Whether `c` can be offered: the hiragana board's kana and marks.
    static bool offerable(QChar c);
    // The same kana as the katakana board has them (its marks as they are).
    static QString katakana(const QString &hiragana);

    // The first `n` of `kana` (most likely first) that no word shown beside them is by itself: a
    // particle the strip shows is taken there, a step sooner, so its key would only keep another out.
    static QStringList besides(const QStringList &kana, const QStringList &shown, int n);

    // A reading the user wrote (hiragana, words apart by WordBreak or not), counted `weight` times.
    void learn(QStringView reading, int weight = 1);
    void clear();
    bool isEmpty() const { return m_learnt == 0; }

    // The `n` kana most likely to follow `before` (the reading of the sentence up to
    // the cursor), most likely first; `run` is the kana being typed and `candidates`
    // its candidates, best first. Without a run the next kana begins a word.
    QStringList likely(QStringView before, const QString &run, const std::vector<Candidate> &candidates,
                       int n) const;

private:
    using Counts = QHash<QChar, int>;
    using Table = std::array<QHash<QString, Counts>, Context + 1>; // by the context's length
    static void score(const Table &table, const QString &context, double scale, QHash<QChar, double> &into);
    Table m_counts;
    Table m_wordStarts; // the kana that began a word, after the kana before it
    int m_learnt = 0;
};
