#pragma once

#include <QAudioDevice>
#include <QAudioSource>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QIODevice>
#include <QMediaDevices>
#include <memory>

// Listens to a sound server's monitor and tells when sound arrives there: the
// whole way through the real server. Qt lists no ".monitor" sources, so the
// monitor is remapped to a source whose name holds "monitor", e.g.
//   pactl load-module module-null-sink sink_name=nullsink
//   pactl load-module module-remap-source master=nullsink.monitor source_name=nullsink_monitor
class MonitorListener
{
public:
    static std::unique_ptr<MonitorListener> open()
    {
        for (const QAudioDevice &d : QMediaDevices::audioInputs()) {
            if (!d.id().contains("monitor"))
                continue;
            auto l = std::unique_ptr<MonitorListener>(new MonitorListener(d));
            if (l->m_input)
                return l;
        }
        return nullptr;
    }

    // Milliseconds until a sample louder than the threshold is heard; -1 after timeoutMs.
    double waitForSound(const QElapsedTimer &since, int timeoutMs, int threshold = 64)
    {
        while (since.elapsed() < timeoutMs) {
            if (heardLouderThan(threshold))
                return since.nsecsElapsed() / 1e6;
        }
        return -1;
    }

    // Milliseconds until the monitor has been quiet for `quietMs`, counted from `since`.
    double waitForQuiet(const QElapsedTimer &since, int quietMs, int timeoutMs, int threshold = 64)
    {
        double lastLoud = since.nsecsElapsed() / 1e6;
        while (since.elapsed() < timeoutMs) {
            if (heardLouderThan(threshold))
                lastLoud = since.nsecsElapsed() / 1e6;
            if (since.nsecsElapsed() / 1e6 - lastLoud > quietMs)
                return lastLoud;
        }
        return -1;
    }

    void drain()
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 300) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            m_input->readAll();
        }
    }

private:
    // Whether what arrived since the last look holds a sample louder than the threshold.
    bool heardLouderThan(int threshold)
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        const QByteArray bytes = m_input->readAll();
        const auto *s = reinterpret_cast<const qint16 *>(bytes.constData());
        for (qsizetype i = 0; i < bytes.size() / 2; ++i)
            if (std::abs(int(s[i])) > threshold)
                return true;
        return false;
    }

    explicit MonitorListener(const QAudioDevice &device)
    {
        QAudioFormat f;
        f.setSampleRate(48000);
        f.setChannelCount(1);
        f.setSampleFormat(QAudioFormat::Int16);
        m_source = std::make_unique<QAudioSource>(device, f);
        m_source->setBufferSize(48000 * 2 / 100); // 10 ms
        m_input = m_source->start();
    }

    std::unique_ptr<QAudioSource> m_source;
    QIODevice *m_input = nullptr;
};
