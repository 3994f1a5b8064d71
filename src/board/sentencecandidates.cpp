#include "board/sentencecandidates.h"

#include <algorithm>
#include <cmath>

namespace {

QString noSpaces(QString s)
{
    s.remove(u' ');
    s.remove(u'\u3000');
    return s;
}

} // namespace

double SentenceCandidates::score(int count, qint64 age)
{
    return double(std::max(count, 1)) * std::exp2(-double(std::max<qint64>(age, 0)) / HalfLife);
}

int SentenceCandidates::sentenceStart(const QString &text, int at)
{
    for (int i = std::min(at, int(text.size())) - 1; i >= 0; --i)
        if (QStringLiteral("。！？!?\n").contains(text[i]))
            return i + 1;
    return 0;
}

QString SentenceCandidates::readingOf(const QString &text)
{
    auto it = m_readings.constFind(text);
    if (it != m_readings.cend())
        return *it;
    if (m_readings.size() > 20000)
        m_readings.clear();
    const QString r = noSpaces(m_readingOf ? m_readingOf(text) : text);
    m_readings.insert(text, r);
    return r;
}

std::vector<Candidate> SentenceCandidates::forTyped(const std::vector<Source> &sources, qint64 now,
                                                    const QString &written, const QString &run, int max)
{
    if (run.isEmpty() || max <= 0)
        return {};
    const QString before = noSpaces(written);
    QHash<QString, double> scores;
    for (const Source &s : sources) {
        const QString text = noSpaces(s.text);
        if (text.size() <= before.size() || !text.startsWith(before))
            continue;
        scores[text] += score(s.count, s.stamp > 0 ? now - s.stamp : qint64(HalfLife * 4));
    }
    // The best first, read until enough are found: a reading is computed at most so many times a
    // press (it is kept), so thousands of sentences never hold a press up.
    std::vector<std::pair<double, QString>> ranked;
    ranked.reserve(size_t(scores.size()));
    for (auto it = scores.cbegin(); it != scores.cend(); ++it)
        ranked.push_back({it.value(), it.key()});
    std::sort(ranked.begin(), ranked.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::vector<Candidate> out;
    int read = 0;
    for (const auto &entry : ranked) {
        if (int(out.size()) >= max)
            break;
        const QString rest = entry.second.mid(before.size());
        if (!m_readings.contains(rest) && ++read > MaxReadingsAPress)
            break;
        const QString reading = readingOf(rest);
        // The rest as the user would type it, and more than was typed: a sentence to write whole.
        if (reading.size() > run.size() && reading.startsWith(run) && rest != run)
            out.push_back({rest, reading});
    }
    return out;
}
