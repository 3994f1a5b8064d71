#include "board/nextkana.h"

#include <algorithm>

namespace {

constexpr QChar Start = u'^'; // before a sentence's first kana
// How much a longer context outweighs a shorter one, and what the candidates weigh
// against the kana written before (tuned on half of the sample sentences).
constexpr double LongerContext = 2.0;
constexpr double FromCandidates = 0.3;
// Right after a word, what began words after the same kana outweighs what went on from them
// inside a word (after 朝, の rather than the ご of 朝ご飯).
constexpr double AtWordStart = 10.0;

// Where a sentence ends, its kana no longer lead to the next one's.
bool endsSentence(QChar c)
{
    return c == u'。' || c == u'？' || c == u'！' || c == u'\n';
}

} // namespace

bool NextKana::offerable(QChar c)
{
    return (c >= u'ぁ' && c <= u'ゔ') || c == u'ー' || c == u'？' || c == u'。' || c == u'、';
}

QString NextKana::katakana(const QString &hiragana)
{
    QString out = hiragana;
    for (QChar &c : out)
        if (c >= u'ぁ' && c <= u'ゖ')
            c = QChar(c.unicode() + 0x60);
    return out;
}

QStringList NextKana::besides(const QStringList &kana, const QStringList &shown, int n)
{
    QStringList out;
    for (const QString &k : kana)
        if (int(out.size()) < n && !shown.contains(k))
            out << k;
    return out;
}

void NextKana::learn(QStringView reading, int weight)
{
    QString context(Context, Start);
    bool wordStart = true;
    for (const QChar c : reading) {
        if (c == WordBreak)
            wordStart = true;
        if (c.isSpace() || c == WordBreak)
            continue;
        if (offerable(c)) {
            for (int k = 0; k <= Context; ++k) {
                m_counts[size_t(k)][context.right(k)][c] += weight;
                if (wordStart)
                    m_wordStarts[size_t(k)][context.right(k)][c] += weight;
            }
            ++m_learnt;
        }
        wordStart = endsSentence(c);
        context = wordStart ? QString(Context, Start) : (context + c).right(Context);
    }
}

void NextKana::clear()
{
    for (auto &c : m_counts)
        c.clear();
    for (auto &c : m_wordStarts)
        c.clear();
    m_learnt = 0;
}

void NextKana::score(const Table &table, const QString &context, double scale, QHash<QChar, double> &into)
{
    double weight = scale;
    for (int k = 0; k <= Context; ++k, weight *= LongerContext) {
        const auto it = table[size_t(k)].constFind(context.right(k));
        if (it == table[size_t(k)].cend())
            continue;
        int total = 0;
        for (const int c : *it)
            total += c;
        for (auto c = it->cbegin(); c != it->cend(); ++c)
            into[c.key()] += weight * c.value() / total;
    }
}

QStringList NextKana::likely(QStringView before, const QString &run, const std::vector<Candidate> &candidates,
                             int n) const
{
    QHash<QChar, double> scores;
    // The sentence so far as the model learnt it: marks that end a sentence start a new one.
    QString context(Context, Start);
    for (const QChar c : before)
        if (!c.isSpace())
            context = endsSentence(c) ? QString(Context, Start) : (context + c).right(Context);
    score(m_counts, context, 1, scores);
    if (run.isEmpty())
        score(m_wordStarts, context, AtWordStart, scores);
    double sum = 0;
    for (const double s : std::as_const(scores))
        sum += s;
    // The candidates' kana after the run, the better candidates weighing more.
    QHash<QChar, double> ahead;
    double aheadSum = 0;
    for (size_t i = 0; i < candidates.size(); ++i) {
        const QString &r = candidates[i].reading;
        if (r.size() > run.size() && r.startsWith(run) && offerable(r[run.size()])) {
            ahead[r[run.size()]] += 1.0 / double(i + 1);
            aheadSum += 1.0 / double(i + 1);
        }
    }
    for (auto a = ahead.cbegin(); a != ahead.cend(); ++a)
        scores[a.key()] += FromCandidates * std::max(sum, 1.0) * a.value() / aheadSum;

    std::vector<std::pair<double, QChar>> ranked;
    for (auto s = scores.cbegin(); s != scores.cend(); ++s)
        ranked.push_back({s.value(), s.key()});
    std::sort(ranked.begin(), ranked.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    QStringList out;
    for (const auto &[s, c] : ranked) {
        if (int(out.size()) >= n)
            break;
        out << QString(c);
    }
    return out;
}
