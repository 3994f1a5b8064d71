#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// A word or phrase offered for kana the user typed, with the reading it
// stands for (longer than the typed kana when it is a prediction).
struct Candidate
{
    QString text;
    QString reading;
    bool operator==(const Candidate &) const = default;
};

// One piece of a converted run: its reading and its written forms, best first.
struct Segment
{
    QString reading;
    QStringList forms;
};

// Kana-kanji conversion and prediction. Every call answers at once or not at
// all: when the engine is missing or has stopped it returns nothing, and
// working() turns false with problem() saying why.
class ConversionEngine
{
public:
    virtual ~ConversionEngine() = default;
    // The run cut into segments, each with its forms; empty when there is no answer.
    virtual std::vector<Segment> convert(const QString &kana) = 0;
    // Words and phrases whose reading begins with the kana, best first.
    virtual std::vector<Candidate> predict(const QString &kana) = 0;
    virtual bool working() const = 0;
    virtual QString problem() const = 0;
};
