#pragma once

#include "platform/conversion/conversionengine.h"

#include <QHash>
#include <QString>
#include <functional>
#include <vector>

// Whole sentences the user wrote before, offered from the first kana of a
// new sentence: those that go on from what the sentence holds so far, ranked
// by how often and how lately they were written. No widgets, no files.
class SentenceCandidates
{
public:
    using ReadingOf = std::function<QString(const QString &)>;
    // How many ticks of the learning store's clock later a sentence counts half as much:
    // a written sentence moves it on by about ten.
    static constexpr double HalfLife = 600;
    // Readings not yet known that one lookup computes, at most.
    static constexpr int MaxReadingsAPress = 200;

    explicit SentenceCandidates(ReadingOf readingOf) : m_readingOf(std::move(readingOf)) {}

    struct Source
    {
        QString text;
        int count = 1;
        qint64 stamp = 0; // when last written, on the clock `now` is on; 0: long ago
    };
    // The sentence's score: each writing counts, a recent one more.
    static double score(int count, qint64 age);

    // Sentences that begin with `written` and whose rest is read starting with `run`
    // (what was typed after it), as candidates for the run: the rest and its reading.
    std::vector<Candidate> forTyped(const std::vector<Source> &sources, qint64 now, const QString &written,
                                    const QString &run, int max);

    // Where the sentence holding position `at` of `text` begins: after the last mark that ends one.
    static int sentenceStart(const QString &text, int at);

private:
    QString readingOf(const QString &text);

    ReadingOf m_readingOf;
    QHash<QString, QString> m_readings; // kept: a reading is looked up once
};
