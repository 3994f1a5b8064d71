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

    // Whether `c` can be offered: the hiragana board's kana and marks.
    static bool offerable(QChar c);
    // The same kana as the katakana board has them (its marks as they are).
    static QString katakana(const QString &hiragana);

    // The first `n` of `kana` (most likely first) that no word shown beside them is by itself: a
    // particle the strip shows is taken there, a step sooner, so its key would only keep another out.
    static QStringList besides(const QStringList &kana, const QStringList &shown, int n);

    // A reading the user wrote (hiragana), counted `weight` times.
    void learn(QStringView reading, int weight = 1);
    void clear();
    bool isEmpty() const { return m_learnt == 0; }

    // The `n` kana most likely to follow `before` (the reading of the sentence up to
    // the cursor), most likely first; `run` is the kana being typed and `candidates`
    // its candidates, best first.
    QStringList likely(QStringView before, const QString &run, const std::vector<Candidate> &candidates,
                       int n) const;

private:
    using Counts = QHash<QChar, int>;
    std::array<QHash<QString, Counts>, Context + 1> m_counts; // by the context's length
    int m_learnt = 0;
};
