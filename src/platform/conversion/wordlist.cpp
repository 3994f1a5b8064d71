#include "platform/conversion/wordlist.h"

#include "platform/readablefile.h"

#include <QFile>

bool WordList::load(const QString &path, QString *error)
{
    QFile f;
    // The shipped vocabulary is some kilobytes; far more is no vocabulary of ours.
    if (const ReadableFile::Result r = ReadableFile::open(f, path, 16 * 1024 * 1024); !r.ok()) {
        if (error)
            *error = r.status == ReadableFile::Status::Missing ? QStringLiteral("missing") : r.detail;
        return false;
    }
    for (const QString &line : QString::fromUtf8(f.readAll()).split(u'\n')) {
        if (line.startsWith(u'#'))
            continue;
        const QStringList cells = line.trimmed().split(u'\t');
        if (cells.size() >= 2 && !cells[0].isEmpty() && !cells[1].isEmpty())
            add(cells[0], cells[1]);
    }
    return true;
}

void WordList::add(const QString &reading, const QString &word)
{
    QStringList &words = m_words[reading];
    if (words.contains(word))
        return;
    words << word;
    m_rank.insert(reading + u'\t' + word, m_added++);
}

std::vector<Candidate> WordList::startingWith(const QString &prefix, int max) const
{
    std::vector<Candidate> out;
    for (auto it = m_words.upperBound(prefix); it != m_words.end() && it.key().startsWith(prefix); ++it)
        for (const QString &w : it.value())
            out.push_back({w, it.key()});
    std::sort(out.begin(), out.end(), [this](const Candidate &a, const Candidate &b) {
        return m_rank.value(a.reading + u'\t' + a.text) < m_rank.value(b.reading + u'\t' + b.text);
    });
    if (int(out.size()) > max)
        out.resize(size_t(max));
    return out;
}
