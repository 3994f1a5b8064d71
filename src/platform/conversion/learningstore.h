#pragma once

#include "platform/conversion/conversionengine.h"

#include <QHash>
#include <QString>
#include <functional>
#include <vector>

// What the user's own writing taught: the words taken for a reading, the
// phrases of the sentences they keep and send, and which phrase followed
// which. Kept in one file, replaced whole on every save, so a kill during a
// save leaves the last complete file; a missing or damaged file is an empty store.
class LearningStore
{
public:
    static inline const QString FileName = QStringLiteral("learnt-words.tsv");
    // A bound on the file, so years of writing keep it quick to load.
    static constexpr int MaxEntries = 20000;
    // Far above what MaxEntries lines take; a larger file is not ours.
    static constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;
    // Counts and stamps stop here: a damaged or hand-edited file cannot make them overflow.
    static constexpr int MaxCount = 1 << 24;
    static constexpr qint64 MaxStamp = qint64(1) << 52;

    explicit LearningStore(const QString &path) : m_path(path) {}

    // Reads the file; a missing one is no error. Lines that cannot be read are
    // skipped; temporary files a killed save left are removed. A file that is
    // there but cannot be read is never saved over.
    bool load(QString *error = nullptr);
    bool save(QString *error = nullptr);
    QString path() const { return m_path; }

    // The learning as the file holds it, and back (what load and save read and write).
    static QByteArray encodeLine(QChar kind, const QStringList &fields);
    static QStringList decodeFields(QStringView line);

    // The user took `word` for `reading`: it comes first for that reading from now on.
    void noteTaken(const QString &reading, const QString &word);
    // A phrase of a sentence the user kept or sent.
    void noteSeen(const QString &reading, const QString &word);
    // `next` came right after `previous` (both written forms).
    void noteFollows(const QString &previous, const QString &reading, const QString &next);

    // Words for exactly this reading: the last taken first, then the most often seen.
    QStringList wordsFor(const QString &reading) const;
    // Words whose reading begins with the prefix and is longer, the most used first.
    std::vector<Candidate> startingWith(const QString &prefix, int max) const;
    // What most often came after `previous`.
    std::vector<Candidate> following(const QString &previous, int max) const;

    // Whole sentences the user read aloud, kept or sent: how often, and when last.
    static constexpr int MaxSentences = 2000;
    struct SentenceUse
    {
        QString text;
        int count = 0;
        qint64 stamp = 0;
    };
    void noteSentence(const QString &text);
    std::vector<SentenceUse> sentences() const;
    // The store's clock now: every use moves it on.
    qint64 clock() const { return m_clock; }

    bool isEmpty() const { return m_words.isEmpty() && m_follows.isEmpty() && m_sentences.isEmpty(); }
    bool isDirty() const { return m_dirty; }

private:
    struct Entry
    {
        QString reading;
        QString word;
        int taken = 0;
        int seen = 0;
        qint64 stamp = 0; // when last used, on the store's own clock
    };
    Entry &entry(QHash<QString, Entry> &in, const QString &key, const QString &reading, const QString &word);
    void trim(QHash<QString, Entry> &table);
    static std::vector<Candidate> best(const QHash<QString, Entry> &table, int max,
                                       const std::function<bool(const QString &, const Entry &)> &pick);

    QString m_path;
    QHash<QString, Entry> m_words;   // reading \t word
    QHash<QString, Entry> m_follows; // previous \t reading \t word
    QHash<QString, SentenceUse> m_sentences;
    qint64 m_clock = 0;
    bool m_dirty = false;
    QString m_unreadable; // why a file that is there was not read, for the user
};
