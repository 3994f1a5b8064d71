#include "platform/conversion/learningstore.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>
#include <functional>

namespace {

const QString Header =
    QStringLiteral("# Pirokan: words learnt from the user's writing. Deleting this file is safe.");

int score(int taken, int seen)
{
    return taken * 3 + seen;
}

} // namespace

LearningStore::Entry &LearningStore::entry(QHash<QString, Entry> &in, const QString &key,
                                           const QString &reading, const QString &word)
{
    Entry &e = in[key];
    e.reading = reading;
    e.word = word;
    e.stamp = ++m_clock;
    m_dirty = true;
    return e;
}

void LearningStore::noteTaken(const QString &reading, const QString &word)
{
    if (reading.isEmpty() || word.isEmpty())
        return;
    ++entry(m_words, reading + u'\t' + word, reading, word).taken;
    trim(m_words);
}

void LearningStore::noteSeen(const QString &reading, const QString &word)
{
    if (reading.isEmpty() || word.isEmpty())
        return;
    ++entry(m_words, reading + u'\t' + word, reading, word).seen;
    trim(m_words);
}

void LearningStore::noteFollows(const QString &previous, const QString &reading, const QString &next)
{
    if (previous.isEmpty() || reading.isEmpty() || next.isEmpty())
        return;
    ++entry(m_follows, previous + u'\t' + reading + u'\t' + next, reading, next).seen;
    trim(m_follows);
}

void LearningStore::noteSentence(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.contains(u'\t') || t.contains(u'\n'))
        return;
    SentenceUse &u = m_sentences[t];
    u.text = t;
    ++u.count;
    u.stamp = ++m_clock;
    m_dirty = true;
    if (m_sentences.size() <= MaxSentences)
        return;
    // The oldest go first.
    std::vector<std::pair<qint64, QString>> order;
    for (const SentenceUse &s : m_sentences)
        order.push_back({s.stamp, s.text});
    std::sort(order.begin(), order.end());
    for (size_t i = 0; i < order.size() - size_t(MaxSentences) * 9 / 10; ++i)
        m_sentences.remove(order[i].second);
}

std::vector<LearningStore::SentenceUse> LearningStore::sentences() const
{
    return {m_sentences.cbegin(), m_sentences.cend()};
}

void LearningStore::trim(QHash<QString, Entry> &table)
{
    if (table.size() <= MaxEntries)
        return;
    // The least used go first, the oldest of them before the newer.
    std::vector<std::pair<std::pair<int, qint64>, QString>> order;
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        order.push_back({{score(it->taken, it->seen), it->stamp}, it.key()});
    std::sort(order.begin(), order.end());
    for (size_t i = 0; i < order.size() - size_t(MaxEntries) * 9 / 10; ++i)
        table.remove(order[i].second);
}

QStringList LearningStore::wordsFor(const QString &reading) const
{
    std::vector<const Entry *> found;
    for (const Entry &e : m_words)
        if (e.reading == reading)
            found.push_back(&e);
    std::sort(found.begin(), found.end(), [](const Entry *a, const Entry *b) {
        if ((a->taken > 0) != (b->taken > 0))
            return a->taken > 0;
        if (a->taken > 0)
            return a->stamp > b->stamp;
        return a->seen != b->seen ? a->seen > b->seen : a->stamp > b->stamp;
    });
    QStringList out;
    for (const Entry *e : found)
        out << e->word;
    return out;
}

std::vector<Candidate> LearningStore::best(const QHash<QString, Entry> &table, int max,
                                           const std::function<bool(const QString &, const Entry &)> &pick)
{
    std::vector<const Entry *> found;
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        if (pick(it.key(), *it))
            found.push_back(&*it);
    std::sort(found.begin(), found.end(), [](const Entry *a, const Entry *b) {
        const int sa = score(a->taken, a->seen), sb = score(b->taken, b->seen);
        return sa != sb ? sa > sb : a->stamp > b->stamp;
    });
    std::vector<Candidate> out;
    for (const Entry *e : found) {
        if (int(out.size()) >= max)
            break;
        out.push_back({e->word, e->reading});
    }
    return out;
}

std::vector<Candidate> LearningStore::startingWith(const QString &prefix, int max) const
{
    return best(m_words, max, [&](const QString &, const Entry &e) {
        return e.reading.size() > prefix.size() && e.reading.startsWith(prefix);
    });
}

std::vector<Candidate> LearningStore::following(const QString &previous, int max) const
{
    const QString key = previous + u'\t';
    return best(m_follows, max, [&](const QString &k, const Entry &) { return k.startsWith(key); });
}

bool LearningStore::load(QString *error)
{
    m_words.clear();
    m_follows.clear();
    m_sentences.clear();
    m_clock = 0;
    m_dirty = false;
    QFile f(m_path);
    if (!f.exists())
        return true;
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    for (const QString &line : QString::fromUtf8(f.readAll()).split(u'\n')) {
        const QStringList c = line.split(u'\t');
        bool ok1 = false, ok2 = false, ok3 = false;
        if (c.size() == 6 && c[0] == u"W") {
            Entry e{c[1], c[2], c[3].toInt(&ok1), c[4].toInt(&ok2), c[5].toLongLong(&ok3)};
            if (ok1 && ok2 && ok3 && !e.reading.isEmpty() && !e.word.isEmpty())
                m_words.insert(e.reading + u'\t' + e.word, e);
            m_clock = std::max(m_clock, e.stamp);
        } else if (c.size() == 6 && c[0] == u"F") {
            Entry e{c[2], c[3], 0, c[4].toInt(&ok1), c[5].toLongLong(&ok2)};
            if (ok1 && ok2 && !c[1].isEmpty() && !e.reading.isEmpty() && !e.word.isEmpty())
                m_follows.insert(c[1] + u'\t' + e.reading + u'\t' + e.word, e);
            m_clock = std::max(m_clock, e.stamp);
        } else if (c.size() == 4 && c[0] == u"S") {
            SentenceUse u{c[1], c[2].toInt(&ok1), c[3].toLongLong(&ok2)};
            if (ok1 && ok2 && !u.text.isEmpty())
                m_sentences.insert(u.text, u);
            m_clock = std::max(m_clock, u.stamp);
        }
    }
    return true;
}

bool LearningStore::save(QString *error)
{
    QString out = Header + u'\n';
    for (const Entry &e : m_words)
        // One arg() for all: a word holding "%3" must not take the next number.
        out += QStringLiteral("W\t%1\t%2\t%3\t%4\t%5\n")
                   .arg(e.reading, e.word, QString::number(e.taken), QString::number(e.seen),
                        QString::number(e.stamp));
    for (auto it = m_follows.cbegin(); it != m_follows.cend(); ++it)
        out += QStringLiteral("F\t%1\t%2\t%3\t%4\t%5\n")
                   .arg(it.key().section(u'\t', 0, 0), it->reading, it->word, QString::number(it->seen),
                        QString::number(it->stamp));
    for (const SentenceUse &u : m_sentences)
        out +=
            QStringLiteral("S\t%1\t%2\t%3\n").arg(u.text, QString::number(u.count), QString::number(u.stamp));
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly) || f.write(out.toUtf8()) < 0 || !f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    // Whole sentences the user wrote are theirs alone.
    QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    m_dirty = false;
    return true;
}
