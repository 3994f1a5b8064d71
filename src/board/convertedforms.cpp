#include "board/convertedforms.h"

#include "board/candidatecollector.h"
#include "board/kanaforms.h"
#include "platform/conversion/learningstore.h"
#include "platform/conversion/wordlist.h"

#include <algorithm>

using namespace KanaForms;

QString ConvertedForms::firstWordFor(const QString &reading) const
{
    if (m_learnt)
        if (const QStringList w = m_learnt->wordsFor(reading); !w.isEmpty())
            return w.front();
    if (m_vocabulary)
        if (const QStringList w = m_vocabulary->wordsFor(reading); !w.isEmpty())
            return w.front();
    return {};
}

// Segments `first` to `last` in the user's own words, or the vocabulary's,
// where one of them knows their reading (or the reading without the kana
// ending the engine wrote); empty when neither does.
QString ConvertedForms::known(const std::vector<Segment> &segments, size_t first, size_t last) const
{
    QString reading, written;
    for (size_t i = first; i <= last; ++i) {
        reading += segments[i].reading;
        written += segments[i].forms.value(0, segments[i].reading);
    }
    for (qsizetype len = reading.size(); len >= 2; --len) {
        const QString tail = reading.mid(len);
        if (!tail.isEmpty() && (!isKana(tail) || !written.endsWith(tail)))
            continue;
        // No word begins with these: the tail is the ending of a word (詰まって is not 妻 + って).
        if (!tail.isEmpty() && QStringLiteral("っんゃゅょぁぃぅぇぉー").contains(tail[0]))
            continue;
        const QString word = firstWordFor(reading.left(len));
        if (!word.isEmpty())
            return word + tail;
    }
    return {};
}

// The run as converted, with the known words put in: the longest known span
// first. Pinned segments keep the form they have.
QString ConvertedForms::fixed(const std::vector<Segment> &segments, const std::vector<bool> &pinned) const
{
    QString out;
    for (size_t i = 0; i < segments.size();) {
        size_t next = i + 1;
        QString piece = segments[i].forms.value(0, segments[i].reading);
        size_t free = i;
        while (free < segments.size() && !(free < pinned.size() && pinned[free]))
            ++free;
        for (size_t last = free; last-- > i;)
            if (const QString k = known(segments, i, last); !k.isEmpty()) {
                piece = k;
                next = last + 1;
                break;
            }
        out += piece;
        i = next;
    }
    return out;
}

// A segment's forms as they are worth trying, with what trying each costs: the
// engine's first, then other words in its order, then the kana, other
// spellings of a word already offered and katakana. Odd forms are left out.
std::vector<ConvertedForms::Form> ConvertedForms::formsOf(const Segment &segment)
{
    std::vector<Form> words, others;
    QStringList stems;
    for (const QString &f : segment.forms) {
        if (words.empty()) {
            words.push_back({f, 0});
            stems << stem(f);
            continue;
        }
        if (isOddForm(f))
            continue;
        const QString st = stem(f);
        const bool word = !st.isEmpty() && !hasKatakana(f) && !stems.contains(st);
        (word ? words : others).push_back({f, 0});
        stems << st;
        if (int(words.size() + others.size()) >= 12)
            break;
    }
    for (size_t i = 0; i < words.size(); ++i)
        words[i].cost = double(i);
    // The reading left in kana comes before katakana and other spellings.
    std::stable_partition(others.begin(), others.end(), [](const Form &f) { return isKana(f.text); });
    for (size_t i = 0; i < others.size(); ++i)
        words.push_back({others[i].text, double(i + 1) + 0.5});
    return words;
}

// The run's likeliest writings after its first: one or two segments in other
// forms, the cheapest first. A change in a longer segment costs a little less,
// since a short one's other forms are seldom words.
void ConvertedForms::addOtherForms(CandidateCollector &c, const std::vector<Segment> &segments, int max) const
{
    struct Choice
    {
        double cost;
        size_t a, b; // the changed segments (b == a when only one)
        size_t fa, fb;
    };
    std::vector<std::vector<Form>> forms;
    for (const Segment &s : segments)
        forms.push_back(formsOf(s));
    const auto change = [&](size_t seg, size_t form) {
        const double shortness = 0.01 * double(10 - std::min<qsizetype>(10, segments[seg].reading.size()));
        return forms[seg][form].cost + shortness;
    };
    std::vector<Choice> choices;
    for (size_t a = 0; a < segments.size(); ++a)
        for (size_t fa = 0; fa < forms[a].size() && fa <= 5; ++fa) {
            // The engine's own first form, where a known word was put in its place.
            choices.push_back({fa == 0 ? 0.5 : change(a, fa), a, a, fa, fa});
            for (size_t b = a + 1; b < segments.size() && fa > 0; ++b)
                for (size_t fb = 1; fb < forms[b].size() && fb <= 4; ++fb)
                    choices.push_back({change(a, fa) + change(b, fb) + 0.5, a, b, fa, fb});
        }
    std::stable_sort(choices.begin(), choices.end(),
                     [](const Choice &x, const Choice &y) { return x.cost < y.cost; });
    int added = 0;
    for (const Choice &ch : choices) {
        if (added >= max)
            break;
        std::vector<Segment> other = segments;
        std::vector<bool> pinned(segments.size(), false);
        other[ch.a].forms = QStringList{forms[ch.a][ch.fa].text};
        other[ch.b].forms = QStringList{forms[ch.b][ch.fb].text};
        pinned[ch.a] = pinned[ch.b] = true;
        const size_t before = c.size();
        c.add({fixed(other, pinned), c.run()});
        added += int(c.size() - before);
    }
}
