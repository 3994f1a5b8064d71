#include "platform/speech/audiooutput.h"

#include "platform/speech/pcmqueue.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QLoggingCategory>
#include <QMediaDevices>
#include <QObject>
#include <QThread>
#include <QTimer>
#include <atomic>

Q_LOGGING_CATEGORY(lcAudio, "pirokan.audio", QtWarningMsg)

namespace {

constexpr int BufferMs = 20; // what a Stop lets through at most

constexpr qint64 bytesFor(int ms)
{
    return qint64(Clip::Rate) * 2 * ms / 1000;
}

// Owns the sink and feeds it a little at a time; lives on the audio thread.
// The stream is opened once and never reset or reopened: a Stop only empties
// the queue, so every clip after it plays at once and at its own speed.
class SinkHost final : public QObject
{
public:
    SinkHost(const QAudioDevice &device, PcmQueue *queue, std::atomic_bool *active)
        : m_device(device), m_queue(queue), m_active(active), m_feed(new QTimer(this))
    {
        m_feed->setTimerType(Qt::PreciseTimer);
        m_feed->setInterval(BufferMs / 4);
        connect(m_feed, &QTimer::timeout, this, &SinkHost::feed);
    }

    // Opens the stream ahead of the first clip: a server can take a second to set one up.
    void open()
    {
        if (!m_sink) {
            QAudioFormat format;
            format.setSampleRate(Clip::Rate);
            format.setChannelCount(1);
            format.setSampleFormat(QAudioFormat::Int16);
            m_sink = new QAudioSink(m_device, format, this);
            m_sink->setBufferSize(int(bytesFor(BufferMs)));
            connect(m_sink, &QAudioSink::stateChanged, this, [this](QAudio::State s) {
                qCDebug(lcAudio) << "sink" << s << m_sink->error() << "pending" << m_queue->pending();
                *m_active = s == QAudio::ActiveState;
            });
        }
        if (!m_output) {
            m_output = m_sink->start();
            rest();
        }
    }

    void kick()
    {
        open();
        if (m_sink->state() == QAudio::SuspendedState)
            m_sink->resume();
        feed();
        m_feed->start();
    }

private:
    void feed()
    {
        if (!m_output)
            return;
        const qint64 pending = m_queue->pending();
        if (pending == 0) {
            if (m_sink->state() != QAudio::ActiveState)
                rest();
            return;
        }
        const QByteArray bytes = m_queue->take(m_sink->bytesFree());
        if (!bytes.isEmpty())
            m_output->write(bytes);
    }

    // Played out: the stream is paused (not closed), so nothing wakes the machine until the next clip.
    void rest()
    {
        m_feed->stop();
        if (m_sink->state() != QAudio::SuspendedState && m_sink->state() != QAudio::StoppedState)
            m_sink->suspend();
    }

    QAudioDevice m_device;
    PcmQueue *m_queue;
    std::atomic_bool *m_active;
    QAudioSink *m_sink = nullptr;
    QIODevice *m_output = nullptr;
    QTimer *m_feed; // a child, so it moves to the audio thread with its host
};

class QtAudioOutput final : public AudioOutput
{
public:
    explicit QtAudioOutput(const QAudioDevice &device)
    {
        m_thread.setObjectName(QStringLiteral("pirokan-audio"));
        m_host = new SinkHost(device, &m_queue, &m_active);
        m_host->moveToThread(&m_thread);
        QObject::connect(&m_thread, &QThread::finished, m_host, &QObject::deleteLater);
        m_thread.start(QThread::TimeCriticalPriority);
        QMetaObject::invokeMethod(
            m_host, [h = m_host] { h->open(); }, Qt::QueuedConnection);
    }
    ~QtAudioOutput() override
    {
        m_queue.clear();
        m_thread.quit();
        m_thread.wait();
    }
    void play(const Clip &clip) override
    {
        m_queue.append(ClipOps::toBytes(clip));
        QMetaObject::invokeMethod(
            m_host, [h = m_host] { h->kick(); }, Qt::QueuedConnection);
    }
    void stop() override
    {
        // Only what the sink already holds, one small buffer, is still heard.
        m_queue.clear();
    }
    bool isPlaying() const override { return m_active || m_queue.pending() > 0; }

private:
    PcmQueue m_queue;
    std::atomic_bool m_active{false};
    QThread m_thread;
    SinkHost *m_host;
};

} // namespace

std::unique_ptr<AudioOutput> createSystemAudioOutput(QString *whyNot)
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        if (whyNot)
            *whyNot = QObject::tr("no sound output device was found");
        return nullptr;
    }
    return std::make_unique<QtAudioOutput>(device);
}
