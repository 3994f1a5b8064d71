#include "board/candidatefinder.h"

#include "board/candidatecollector.h"
#include "board/kanaforms.h"
#include "platform/conversion/kanareading.h"
#include "platform/conversion/learningstore.h"
#include "platform/conversion/wordlist.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <utility>

Q_LOGGING_CATEGORY(lcCandidates, "pirokan.candidates")

using namespace KanaForms;

namespace {

QString joined(const std::vector<QString> &forms)
{
    QString out;
    for (const QString &f : forms)
        out += f;
    return out;
}

// The engine's answer as far as it can be used: segments whose readings are
// the run, in order, none empty, each with a bounded number of forms; nothing
// when they are not. The engine is outside data, whatever it says.
std::vector<Segment> trusted(std::vector<Segment> segments, const QString &run)
{
    constexpr qsizetype MaxForms = 32;
    qsizetype at = 0;
    for (Segment &s : segments) {
        if (s.reading.isEmpty() || QStringView(run).mid(at, s.reading.size()) != s.reading)
            return {};
        at += s.reading.size();
        s.forms.removeIf([](const QString &f) { return f.isEmpty(); });
        if (s.forms.size() > MaxForms)
            s.forms.resize(MaxForms);
    }
    return at == run.size() ? segments : std::vector<Segment>{};
}

} // namespace

// The engine predicts nothing from two or three kana (はじ gives 恥 alone), but from one more it
// does (はじま: 始まる): the run with each of the kana likeliest to follow it, the best prediction of
// each. Within a bound of time, so that a slow engine never holds a press up for long.
void CandidateFinder::addAhead(CandidateCollector &c, const QString &run, const QElapsedTimer &clock)
{
    if (!m_engine || !m_engine->working())
        return;
    // The kana model as the lookup of the kana likely next, at every press, keeps it: the stored
    // sentences and the diary are not gone through again.
    for (const QString &k : m_kana.asLearnt(run, run, {}, LookAheadKana)) {
        if (clock.elapsed() > LookAheadMs)
            return;
        if (!isKana(k))
            continue;
        for (const Candidate &p : m_engine->predict(run + k))
            if (p.reading.size() > run.size() + 1) {
                c.add(p);
                break;
            }
    }
}

std::vector<Candidate> CandidateFinder::forRun(const QString &run)
{
    QElapsedTimer clock;
    clock.start();
    CandidateCollector c(run, MaxCandidates);
    if (run.isEmpty())
        return {};
    if (m_learnt)
        for (const QString &w : m_learnt->wordsFor(run))
            c.add({w, run});
    std::vector<Segment> segments;
    std::vector<Candidate> predictions;
    if (m_engine && m_engine->working()) {
        segments = trusted(m_engine->convert(run), run);
        predictions = m_engine->predict(run);
    }
    std::vector<QString> raw;
    for (const Segment &s : segments)
        raw.push_back(s.forms.value(0, s.reading));
    const QString first = segments.empty() ? QString() : m_forms.fixed(segments);
    const auto addConverted = [&] {
        if (segments.empty())
            return;
        c.add({first, run});
        const std::vector<Segment> digits = inDigits(segments);
        c.add({digits.empty() ? withDigits(first) : m_forms.fixed(digits), run});
    };
    // One kana converted alone (未 for み) is seldom the word wanted: the best predictions come first.
    const bool oneKana = run.size() == 1;
    if (!oneKana)
        addConverted();
    // A long run is seldom the start of a longer word: its other forms come early.
    if (run.size() >= LongRun)
        m_forms.addOtherForms(c, segments, LongRunForms);
    // The run's first words alone, to take them and write on from there.
    if (segments.size() >= 2)
        c.add({m_forms.fixed({segments.front()}), segments.front().reading});
    // The words the last segment may be the beginning of, after the run's
    // first segments as converted: what a long run is most often heading for.
    if (segments.size() >= 2) {
        const QString last = segments.back().reading;
        const std::vector<Segment> head(segments.begin(), segments.end() - 1);
        const QString written = m_forms.fixed(head), read = run.chopped(last.size());
        std::vector<Candidate> ahead;
        if (m_learnt)
            ahead = m_learnt->startingWith(last, 2);
        if (m_vocabulary)
            for (const Candidate &v : m_vocabulary->startingWith(last, 2))
                ahead.push_back(v);
        for (const Candidate &a : ahead)
            c.add({written + a.text, read + a.reading});
    }
    // An ending the run is heading for, after what comes before it as converted (のませてく: 飲ませ +
    // てください), or as typed.
    for (qsizetype k = 1; m_vocabulary && k < run.size(); ++k) {
        // One kana is an ending's beginning only after a word of two.
        if (k + 1 == run.size() && (k < 2 || run[k - 1] == u'っ' || run[k - 1] == u'ん'))
            break;
        const std::vector<Candidate> endings = m_vocabulary->startingWith(run.mid(k), 1);
        if (endings.empty() || !isKana(endings.front().text))
            continue;
        const QString reading = run.left(k) + endings.front().reading;
        if (!segments.empty() && first.endsWith(run.mid(k)))
            c.add({first.chopped(run.size() - k) + endings.front().text, reading});
        c.add({run.left(k) + endings.front().text, reading});
        break;
    }
    if (m_learnt)
        c.add(m_learnt->startingWith(run, 2));
    if (m_vocabulary) {
        for (const QString &w : m_vocabulary->wordsFor(run))
            c.add({w, run});
        c.add(m_vocabulary->startingWith(run, 2));
    }
    c.add(predictions, 2);
    if (run.size() >= 2 && run.size() <= LookAheadRun)
        addAhead(c, run, clock);
    if (oneKana)
        addConverted();
    if (!segments.empty())
        c.add({joined(raw), run});
    if (m_learnt)
        c.add(m_learnt->startingWith(run, MaxCandidates));
    if (m_vocabulary)
        c.add(m_vocabulary->startingWith(run, MaxCandidates));
    c.add(predictions);
    m_forms.addOtherForms(c, segments, MaxCandidates);
    return c.take();
}

std::vector<Candidate> CandidateFinder::after(const QString &taken, const QString &reading) const
{
    // What the user wrote after it before, the rest of the phrases it begins, then the words that most
    // often follow any word.
    CandidateCollector c({}, MaxCandidates);
    if (m_learnt)
        c.add(m_learnt->following(taken, MaxCandidates));
    const auto addRest = [&](const std::vector<Candidate> &phrases) {
        for (const Candidate &p : phrases)
            if (p.text.startsWith(taken))
                c.add({p.text.mid(taken.size()), p.reading.mid(reading.size())});
    };
    if (!reading.isEmpty() && m_learnt)
        addRest(m_learnt->startingWith(reading, 2));
    if (!reading.isEmpty() && m_vocabulary)
        addRest(m_vocabulary->startingWith(reading, 2));
    const QString last = taken.right(1);
    if (!m_vocabulary || last.isEmpty())
        return c.take();
    const bool kanaEnd = isKana(last);
    if (kanaEnd && QStringLiteral("てでた").contains(last)) {
        // The endings that go on from its own ending: 替えて, then ください; 切りた, then いです.
        for (const Candidate &e : m_vocabulary->startingWith(last, MaxCandidates))
            if (isKana(e.text) && e.text.startsWith(last))
                c.add({e.text.mid(1), e.reading.mid(1)});
    }
    // A sentence or a clause may end after any word but a particle; after a word written in kanji,
    // mostly a noun, the commonest particles are likelier still.
    bool marked = isKana(taken) && taken.size() == 1;
    const auto marks = [&] {
        if (!std::exchange(marked, true))
            for (const QString &mark : {QStringLiteral("。"), QStringLiteral("、")})
                c.add({mark, mark});
    };
    const int particlesFirst = kanaEnd ? 0 : ParticlesBeforeMarks;
    // After a written word, the particles; the endings of verbs make no sense there.
    int particles = 0;
    for (const Candidate &e : m_vocabulary->startingWith({}, 2 * MaxCandidates))
        if (kanaEnd || !(isKana(e.text) && e.text.size() > 1 && e.text[0] == u'て')) {
            if (particles >= particlesFirst)
                marks();
            const size_t had = c.size();
            c.add(e);
            particles += int(c.size() - had);
        }
    marks();
    return c.take();
}

void CandidateFinder::taken(const QString &previous, const QString &typed, const Candidate &c)
{
    if (!m_learnt)
        return;
    // A prediction stands for more than was typed, the run's first words for less; each is learnt
    // for its own reading.
    m_learnt->noteTaken(c.reading.isEmpty() ? typed : c.reading, c.text);
    m_learnt->noteFollows(previous, c.reading, c.text);
    saveLearnt();
}

std::vector<Candidate> CandidateFinder::withSentences(const QString &written, const QString &run,
                                                      std::vector<Candidate> words)
{
    std::vector<SentenceCandidates::Source> sources;
    if (m_learnt)
        for (const LearningStore::SentenceUse &u : m_learnt->sentences())
            sources.push_back({u.text, u.count, u.stamp});
    if (m_writtenBefore)
        for (const QString &t : m_writtenBefore())
            sources.push_back({t, 1, 0});
    const qint64 now = m_learnt ? m_learnt->clock() : 0;
    // A sentence keeps its marks (？ too), which a word's odd forms would not.
    std::vector<Candidate> sentences = m_sentences.forTyped(sources, now, written, run, MaxSentences);
    std::vector<Candidate> out;
    const auto add = [&out](Candidate c) {
        if (int(out.size()) < MaxCandidates &&
            std::none_of(out.begin(), out.end(), [&](const Candidate &o) { return o.text == c.text; }))
            out.push_back(std::move(c));
    };
    const size_t before = std::min(words.size(), size_t(WordsBeforeSentences));
    for (size_t i = 0; i < before; ++i)
        add(words[i]);
    for (Candidate &c : sentences)
        add(std::move(c));
    for (size_t i = before; i < words.size(); ++i)
        add(std::move(words[i]));
    return out;
}

void CandidateFinder::learnSentence(const QString &sentence)
{
    if (!m_learnt)
        return;
    m_learnt->noteSentence(sentence);
    m_kana.sentenceLearnt(sentence);
    QString previous;
    for (const KanaReading::Phrase &p : KanaReading::phrases(sentence)) {
        m_learnt->noteSeen(p.reading, p.text);
        m_learnt->noteFollows(previous, p.reading, p.text);
        previous = p.text;
    }
    saveLearnt();
}

QStringList CandidateFinder::nextKana(const QString &written, const QString &run,
                                      const std::vector<Candidate> &candidates, int n)
{
    return m_kana.next(m_writtenBefore ? m_writtenBefore() : QStringList(), written, run, candidates, n);
}

void CandidateFinder::saveLearnt()
{
    QString error;
    if (m_learnt->save(&error))
        return;
    qCWarning(lcCandidates) << "learnt words not saved:" << error;
    if (!m_learntProblemTold) {
        m_learntProblemTold = true;
        m_notices.push_back(
            QStringLiteral("漢字の候補で覚えたことを保存できません。候補はこれまでどおり出ます。\n") + error);
    }
}

std::optional<QString> CandidateFinder::newProblem()
{
    if (!m_notices.empty()) {
        QString notice = m_notices.front();
        m_notices.erase(m_notices.begin());
        return notice;
    }
    if (!m_engine)
        return std::nullopt;
    // Once when the candidates go, once when they come back.
    const bool working = m_engine->working();
    if (working == !m_problemTold)
        return std::nullopt;
    m_problemTold = !working;
    if (working) {
        qCInfo(lcCandidates) << "kanji candidates are back";
        return QStringLiteral("漢字の候補がまた出せるようになりました。");
    }
    qCWarning(lcCandidates) << "no kanji candidates:" << m_engine->problem();
    return QStringLiteral("漢字の候補が出せません。かなで書き続けられます。");
}
