#include "platform/speech/audiooutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QLoggingCategory>
#include <QMediaDevices>
#include <QMutex>
#include <QObject>
#include <QThread>
#include <QTimer>
#include <atomic>

Q_LOGGING_CATEGORY(lcAudio, "pirokan.audio", QtWarningMsg)

namespace {

constexpr int BufferMs = 40;

// The samples waiting to be played, taken by the audio thread.
class PcmQueue
{
public:
    void append(const QByteArray &bytes)
    {
        QMutexLocker lock(&m_mutex);
        m_data += bytes;
    }
    void clear()
    {
        QMutexLocker lock(&m_mutex);
        m_data.clear();
    }
    qint64 pending() const
    {
        QMutexLocker lock(&m_mutex);
        return m_data.size();
    }
    QByteArray take(qint64 n)
    {
        QMutexLocker lock(&m_mutex);
        const QByteArray head = m_data.left(n);
        m_data.remove(0, head.size());
        return head;
    }

private:
    mutable QMutex m_mutex;
    QByteArray m_data;
};

// Owns the sink and feeds it, a buffer's worth at a time; lives on the audio thread.
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
            m_sink->setBufferSize(Clip::Rate * 2 * BufferMs / 1000);
            connect(m_sink, &QAudioSink::stateChanged, this, [this](QAudio::State s) {
                qCDebug(lcAudio) << "sink" << s << m_sink->error() << "pending" << m_queue->pending();
                *m_active = s == QAudio::ActiveState;
            });
        }
        if (!m_output)
            m_output = m_sink->start();
    }

    void kick()
    {
        open();
        feed();
        m_feed->start();
    }

    void halt()
    {
        m_feed->stop();
        if (m_sink) {
            m_sink->reset(); // drops what the device still holds
            m_output = nullptr;
        }
        *m_active = false;
    }

private:
    void feed()
    {
        if (!m_output)
            return;
        const qint64 pending = m_queue->pending();
        if (pending == 0) {
            if (m_sink->state() != QAudio::ActiveState)
                m_feed->stop(); // played out; the next clip starts the feed again
            return;
        }
        const qint64 n = std::min<qint64>(m_sink->bytesFree(), pending) & ~qint64(1);
        if (n <= 0)
            return;
        const QByteArray bytes = m_queue->take(n);
        m_output->write(bytes);
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
        stop();
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
        m_queue.clear(); // nothing more is read; the sink's small buffer is dropped below
        QMetaObject::invokeMethod(
            m_host, [h = m_host] { h->halt(); }, Qt::QueuedConnection);
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
