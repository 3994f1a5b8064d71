#pragma once

#include "platform/conversion/conversionengine.h"

#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>

// Words by their reading, read from a plain list: one "reading<TAB>word" a
// line, the most useful first.
class WordList
{
public:
    // False, with the reason, when the file cannot be read; lines without a tab are skipped.
    bool load(const QString &path, QString *error = nullptr);
    void add(const QString &reading, const QString &word);

    QStringList wordsFor(const QString &reading) const { return m_words.value(reading); }
    // Words whose reading is longer than the prefix and begins with it, in the list's order.
    std::vector<Candidate> startingWith(const QString &prefix, int max) const;
    bool isEmpty() const { return m_words.isEmpty(); }

private:
    QMap<QString, QStringList> m_words;
    QHash<QString, int> m_rank; // reading \t word: its place in the list
    int m_added = 0;
};
