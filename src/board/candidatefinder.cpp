#include "board/candidatefinder.h"

#include "platform/conversion/kanareading.h"
#include "platform/conversion/learningstore.h"
#include "platform/conversion/wordlist.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcCandidates, "pirokan.candidates")

class CandidateFinder::Collector
{
public:
    explicit Collector(const QString &run) : m_run(run) {}
    void add(const Candidate &c)
    {
        if (c.text.isEmpty() || c.text == m_run || int(m_out.size()) >= CandidateFinder::MaxCandidates)
            return;
        for (const Candidate &have : m_out)
            if (have.text == c.text)
                return;
        m_out.push_back(c);
    }
    void add(const std::vector<Candidate> &cs, int max = CandidateFinder::MaxCandidates)
    {
        for (int i = 0; i < int(cs.size()) && i < max; ++i)
            add(cs[size_t(i)]);
    }
    std::vector<Candidate> take() { return std::move(m_out); }
    const QString &run() const { return m_run; }

private:
    QString m_run;
    std::vector<Candidate> m_out;
};

namespace {

bool isKana(const QString &s)
{
    for (const QChar c : s)
        if (!((c >= u'ぁ' && c <= u'ゖ') || c == u'ー'))
            return false;
    return true;
}

// Kanji numerals written in digits (三十七度 → 37度), as numbers are mostly written; empty when there are
// none.
QString withDigits(const QString &text)
{
    static const QString Digits = QStringLiteral("〇一二三四五六七八九");
    QString out;
    bool changed = false;
    for (qsizetype i = 0; i < text.size();) {
        int value = 0, current = 0;
        qsizetype j = i;
        for (; j < text.size(); ++j) {
            const qsizetype d = Digits.indexOf(text[j]);
            if (d >= 0)
                current = current * 10 + int(d);
            else if (text[j] == u'十' || text[j] == u'百')
                value += std::max(current, 1) * (text[j] == u'十' ? 10 : 100), current = 0;
            else
                break;
        }
        if (j == i) {
            out += text[i++];
            continue;
        }
        out += QString::number(value + current);
        changed = true;
        i = j;
    }
    return changed ? out : QString();
}

QString joined(const std::vector<QString> &forms)
{
    QString out;
    for (const QString &f : forms)
        out += f;
    return out;
}

} // namespace

QString CandidateFinder::firstWordFor(const QString &reading) const
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
QString CandidateFinder::known(const std::vector<Segment> &segments, size_t first, size_t last) const
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
        const QString word = firstWordFor(reading.left(len));
        if (!word.isEmpty())
            return word + tail;
    }
    return {};
}

// The run as converted, with the known words put in: the longest known span first.
QString CandidateFinder::fixed(const std::vector<Segment> &segments) const
{
    QString out;
    for (size_t i = 0; i < segments.size();) {
        size_t next = i + 1;
        QString piece = segments[i].forms.value(0, segments[i].reading);
        for (size_t last = segments.size(); last-- > i;)
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

// The run with one segment in another of its forms, the rest as converted.
void CandidateFinder::addOtherForms(Collector &c, const std::vector<Segment> &segments, int max) const
{
    int added = 0;
    for (int alt = 1; alt <= 3; ++alt)
        for (size_t i = 0; i < segments.size() && added < max; ++i) {
            if (alt >= segments[i].forms.size())
                continue;
            // The other form stays as it is: a known word must not put the first one back.
            const std::vector<Segment> before(segments.begin(), segments.begin() + qsizetype(i));
            const std::vector<Segment> after(segments.begin() + qsizetype(i) + 1, segments.end());
            c.add({fixed(before) + segments[i].forms[alt] + fixed(after), c.run()});
            ++added;
        }
}

std::vector<Candidate> CandidateFinder::forRun(const QString &run)
{
    Collector c(run);
    if (run.isEmpty())
        return {};
    if (m_learnt)
        for (const QString &w : m_learnt->wordsFor(run))
            c.add({w, run});
    std::vector<Segment> segments;
    std::vector<Candidate> predictions;
    if (m_engine && m_engine->working()) {
        segments = m_engine->convert(run);
        predictions = m_engine->predict(run);
    }
    std::vector<QString> raw;
    for (const Segment &s : segments)
        raw.push_back(s.forms.value(0, s.reading));
    if (!segments.empty()) {
        const QString first = fixed(segments);
        c.add({first, run});
        c.add({withDigits(first), run});
    }
    // A long run is seldom the start of a longer word: its other forms come early.
    if (run.size() >= LongRun)
        addOtherForms(c, segments, 2);
    // The words the last segment may be the beginning of, after the run's
    // first segments as converted: what a long run is most often heading for.
    if (segments.size() >= 2) {
        const QString last = segments.back().reading;
        const std::vector<Segment> head(segments.begin(), segments.end() - 1);
        const QString written = fixed(head), read = run.chopped(last.size());
        std::vector<Candidate> ahead;
        if (m_learnt)
            ahead = m_learnt->startingWith(last, 2);
        if (m_vocabulary)
            for (const Candidate &v : m_vocabulary->startingWith(last, 2))
                ahead.push_back(v);
        for (const Candidate &a : ahead)
            c.add({written + a.text, read + a.reading});
    }
    // An ending the run is heading for, after the kana before it (してくださ: して + ください).
    for (qsizetype k = 1; m_vocabulary && k + 2 <= run.size(); ++k) {
        const std::vector<Candidate> endings = m_vocabulary->startingWith(run.mid(k), 1);
        if (!endings.empty() && isKana(endings.front().text)) {
            c.add({run.left(k) + endings.front().text, run.left(k) + endings.front().reading});
            break;
        }
    }
    if (m_learnt)
        c.add(m_learnt->startingWith(run, 2));
    if (m_vocabulary) {
        for (const QString &w : m_vocabulary->wordsFor(run))
            c.add({w, run});
        c.add(m_vocabulary->startingWith(run, 2));
    }
    c.add(predictions, 2);
    if (!segments.empty())
        c.add({joined(raw), run});
    if (m_learnt)
        c.add(m_learnt->startingWith(run, MaxCandidates));
    if (m_vocabulary)
        c.add(m_vocabulary->startingWith(run, MaxCandidates));
    c.add(predictions);
    addOtherForms(c, segments, MaxCandidates);
    return c.take();
}

std::vector<Candidate> CandidateFinder::after(const QString &taken) const
{
    // What the user wrote after it before, then the words that most often follow any word.
    Collector c({});
    if (m_learnt)
        c.add(m_learnt->following(taken, MaxCandidates));
    if (m_vocabulary)
        c.add(m_vocabulary->startingWith({}, MaxCandidates));
    return c.take();
}

void CandidateFinder::taken(const QString &previous, const QString &typed, const Candidate &c)
{
    if (!m_learnt)
        return;
    // A prediction stands for more than was typed; it is learnt for the whole of its reading.
    m_learnt->noteTaken(c.reading.size() > typed.size() ? c.reading : typed, c.text);
    m_learnt->noteFollows(previous, c.reading, c.text);
    saveLearnt();
}

void CandidateFinder::learnSentence(const QString &sentence)
{
    if (!m_learnt)
        return;
    QString previous;
    for (const KanaReading::Phrase &p : KanaReading::phrases(sentence)) {
        m_learnt->noteSeen(p.reading, p.text);
        m_learnt->noteFollows(previous, p.reading, p.text);
        previous = p.text;
    }
    saveLearnt();
}

void CandidateFinder::saveLearnt()
{
    QString error;
    if (!m_learnt->save(&error))
        qCWarning(lcCandidates) << "learnt words not saved:" << error;
}

std::optional<QString> CandidateFinder::newProblem()
{
    if (m_problemTold || !m_engine || m_engine->working())
        return std::nullopt;
    m_problemTold = true;
    qCWarning(lcCandidates) << "no kanji candidates:" << m_engine->problem();
    return QStringLiteral("漢字の候補が出せません。かなで書き続けられます。");
}
