#include "platform/conversion/learningstore.h"

#include "platform/filefailure.h"
#include "platform/privatefile.h"
#include "platform/readablefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <functional>

namespace {

const QString Header =
    QStringLiteral("# Pirokan: words learnt from the user's writing. Deleting this file is safe.");

int score(int taken, int seen)
{
    return taken * 3 + seen;
}

int counted(int n)
{
    return std::min(n + 1, LearningStore::MaxCount);
}

// A tab, a line break or a backslash in a word would cut its line: each is written escaped.
QString escaped(const QString &field)
{
    QString out;
    out.reserve(field.size());
    for (const QChar c : field) {
        switch (c.unicode()) {
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString unescaped(QStringView field)
{
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != u'\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        switch (field[++i].unicode()) {
        case u't':
            out += u'\t';
            break;
        case u'n':
            out += u'\n';
            break;
        case u'r':
            out += u'\r';
            break;
        default:
            out += field[i];
        }
    }
    return out;
}

// A count or a stamp as the file gives it, within its bounds; false when it is no number.
template <typename T> bool bounded(QStringView field, T max, T *out)
{
    bool ok = false;
    const qlonglong n = field.toLongLong(&ok);
    *out = T(std::clamp<qlonglong>(n, 0, qlonglong(max)));
    return ok;
}

} // namespace

LearningStore::Entry &LearningStore::entry(QHash<QString, Entry> &in, const QString &key,
                                           const QString &reading, const QString &word)
{
    Entry &e = in[key];
    e.reading = reading;
    e.word = word;
    // The clock only grows; at its bound the newest uses share a stamp.
    m_clock = std::min(m_clock + 1, MaxStamp);
    e.stamp = m_clock;
    m_dirty = true;
    return e;
}

void LearningStore::noteTaken(const QString &reading, const QString &word)
{
    if (reading.isEmpty() || word.isEmpty())
        return;
    Entry &e = entry(m_words, reading + u'\t' + word, reading, word);
    e.taken = counted(e.taken);
    trim(m_words);
}

void LearningStore::noteSeen(const QString &reading, const QString &word)
{
    if (reading.isEmpty() || word.isEmpty())
        return;
    Entry &e = entry(m_words, reading + u'\t' + word, reading, word);
    e.seen = counted(e.seen);
    trim(m_words);
}

void LearningStore::noteFollows(const QString &previous, const QString &reading, const QString &next)
{
    if (previous.isEmpty() || reading.isEmpty() || next.isEmpty())
        return;
    Entry &e = entry(m_follows, previous + u'\t' + reading + u'\t' + next, reading, next);
    e.seen = counted(e.seen);
    trim(m_follows);
}

void LearningStore::noteSentence(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.contains(u'\t') || t.contains(u'\n'))
        return;
    SentenceUse &u = m_sentences[t];
    u.text = t;
    u.count = counted(u.count);
    m_clock = std::min(m_clock + 1, MaxStamp);
    u.stamp = m_clock;
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

QByteArray LearningStore::encodeLine(QChar kind, const QStringList &fields)
{
    QString line(kind);
    for (const QString &f : fields)
        line += u'\t' + escaped(f);
    line += u'\n';
    return line.toUtf8();
}

QStringList LearningStore::decodeFields(QStringView line)
{
    QStringList out;
    for (const QStringView f : line.split(u'\t'))
        out << unescaped(f);
    return out;
}

bool LearningStore::load(QString *error)
{
    m_words.clear();
    m_follows.clear();
    m_sentences.clear();
    m_clock = 0;
    m_dirty = false;
    m_unreadable.clear();
    const QFileInfo info(m_path);
    ReadableFile::removeStaleTemporaries(info.absolutePath(), {info.fileName()});
    QFile f;
    const ReadableFile::Result opened = ReadableFile::open(f, m_path, MaxFileBytes);
    if (opened.status == ReadableFile::Status::Missing)
        return true;
    if (!opened.ok()) {
        m_unreadable = QStringLiteral("「%1」%2").arg(m_path, ReadableFile::reasonForUser(opened));
        if (error)
            *error = m_unreadable + QStringLiteral(" (") + opened.detail + u')';
        return false;
    }
    const QString text = QString::fromUtf8(f.readAll());
    for (const QStringView line : QStringView(text).split(u'\n')) {
        const QStringList c = decodeFields(line);
        bool ok1 = false, ok2 = false, ok3 = false;
        if (c.size() == 4 && c[0] == u"S") {
            SentenceUse u;
            u.text = c[1];
            ok1 = bounded(c[2], MaxCount, &u.count);
            ok2 = bounded(c[3], MaxStamp, &u.stamp);
            if (ok1 && ok2 && !u.text.isEmpty())
                m_sentences.insert(u.text, u);
            m_clock = std::max(m_clock, u.stamp);
            continue;
        }
        if (c.size() != 6)
            continue;
        Entry e;
        if (c[0] == u"W") {
            e.reading = c[1];
            e.word = c[2];
            ok1 = bounded(c[3], MaxCount, &e.taken);
            ok2 = bounded(c[4], MaxCount, &e.seen);
            ok3 = bounded(c[5], MaxStamp, &e.stamp);
            if (ok1 && ok2 && ok3 && !e.reading.isEmpty() && !e.word.isEmpty())
                m_words.insert(e.reading + u'\t' + e.word, e);
        } else if (c[0] == u"F") {
            e.reading = c[2];
            e.word = c[3];
            ok1 = bounded(c[4], MaxCount, &e.seen);
            ok2 = bounded(c[5], MaxStamp, &e.stamp);
            if (ok1 && ok2 && !c[1].isEmpty() && !e.reading.isEmpty() && !e.word.isEmpty())
                m_follows.insert(c[1] + u'\t' + e.reading + u'\t' + e.word, e);
        }
        m_clock = std::max(m_clock, e.stamp);
    }
    return true;
}

bool LearningStore::save(QString *error)
{
    if (!m_unreadable.isEmpty()) {
        if (error)
            *error = m_unreadable + QStringLiteral("上書きもしません。");
        return false;
    }
    QByteArray out = Header.toUtf8() + '\n';
    for (const Entry &e : m_words)
        out += encodeLine(u'W', {e.reading, e.word, QString::number(e.taken), QString::number(e.seen),
                                 QString::number(e.stamp)});
    for (auto it = m_follows.cbegin(); it != m_follows.cend(); ++it) {
        // The key's first field is the previous word as it was written.
        const QString previous = it.key().left(it.key().size() - it->reading.size() - it->word.size() - 2);
        out += encodeLine(
            u'F', {previous, it->reading, it->word, QString::number(it->seen), QString::number(it->stamp)});
    }
    for (const SentenceUse &u : m_sentences)
        out += encodeLine(u'S', {u.text, QString::number(u.count), QString::number(u.stamp)});
    QSaveFile f(m_path);
    errno = 0;
    const bool opened = f.open(QIODevice::WriteOnly);
    // Whole sentences the user wrote are theirs alone, from the moment the file is there (where the
    // disk keeps permissions at all).
    if (opened) {
        f.setPermissions(PrivateFile::UserOnly);
        errno = 0; // a refusal is no cause of a later failure
    }
    if (!opened || f.write(out) < 0 || !f.commit()) {
        if (error)
            *error = QStringLiteral("「%1」\n%2").arg(m_path, FileFailure::causeForUser(f, errno));
        return false;
    }
    m_dirty = false;
    return true;
}
