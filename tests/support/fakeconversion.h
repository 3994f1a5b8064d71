#pragma once

#include "platform/conversion/conversionengine.h"

#include <QHash>
#include <QThread>

// Conversion from tables the test fills; `stopped` makes it answer nothing, as a crashed engine would.
class FakeConversion final : public ConversionEngine
{
public:
    std::vector<Segment> convert(const QString &kana) override
    {
        ++calls;
        if (stopped)
            return {};
        if (const auto it = conversions.constFind(kana); it != conversions.cend())
            return *it;
        return {{kana, {kana}}};
    }
    std::vector<Candidate> predict(const QString &kana) override
    {
        ++predicted;
        if (predictMs > 0)
            QThread::msleep(predictMs);
        return stopped ? std::vector<Candidate>{} : predictions.value(kana);
    }
    bool working() const override { return !stopped; }
    QString problem() const override { return stopped ? QStringLiteral("stopped") : QString(); }

    QHash<QString, std::vector<Segment>> conversions;
    QHash<QString, std::vector<Candidate>> predictions;
    bool stopped = false;
    int calls = 0;
    int predicted = 0;
    unsigned long predictMs = 0; // how long each prediction takes
};
