#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>

// Where recordings come from: the sound server's input, or a fake in tests.
class SoundInput
{
public:
    struct Source
    {
        QString name;        // as the server knows it
        QString description; // as the user reads it
    };
    // Mono 16-bit samples at Clip::Rate, from any thread.
    using Samples = std::function<void(const qint16 *samples, size_t count)>;

    virtual ~SoundInput() = default;
    // The inputs the user may choose from; empty when none can be found.
    virtual QList<Source> sources() = 0;
    // Starts taking sound from `source` (empty: the server's default). False,
    // with the reason in Japanese, when it cannot.
    virtual bool start(const QString &source, Samples onSamples, QString *why) = 0;
    // No samples arrive after it returns.
    virtual void stop() = 0;
};

// The sound server's input through a libpulse record stream.
std::unique_ptr<SoundInput> createPulseInput();
