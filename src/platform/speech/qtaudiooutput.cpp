#include "platform/speech/audiooutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QMutex>
#include <QObject>
#include <QThread>
#include <atomic>

namespace {

constexpr int BufferMs = 40;

// The samples waiting to be played, read by the sink from its own thread.
class PcmQueue final : public QIODevice
{
public:
    PcmQueue() { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    void append(const QByteArray &bytes)
    {
        QMutexLocker lock(&m_mutex);
        m_data += bytes;
    }
    void clear()
    {
        QMutexLocker lock(&m_mutex);
        m_data.clear();
        m_read = 0;
    }
    qint64 pending() const
    {
        QMutexLocker lock(&m_mutex);
        return m_data.size() - m_read;
    }
    qint64 bytesAvailable() const override { return pending() + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        QMutexLocker lock(&m_mutex);
        const qint64 n = std::min<qint64>(maxSize, m_data.size() - m_read);
        if (n <= 0)
            return 0;
        memcpy(data, m_data.constData() + m_read, size_t(n));
        m_read += n;
        if (m_read > (1 << 20)) {
            m_data.remove(0, m_read);
            m_read = 0;
        }
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    mutable QMutex m_mutex;
    QByteArray m_data;
    qint64 m_read = 0;
};

// Owns the sink; lives on the audio thread.
class SinkHost final : public QObject
{
public:
    SinkHost(const QAudioDevice &device, PcmQueue *queue, std::atomic_bool *active)
        : m_device(device), m_queue(queue), m_active(active)
    {}

    void kick()
    {
        if (!m_sink) {
            QAudioFormat format;
            format.setSampleRate(Clip::Rate);
            format.setChannelCount(1);
            format.setSampleFormat(QAudioFormat::Int16);
            m_sink = new QAudioSink(m_device, format, this);
            m_sink->setBufferSize(Clip::Rate * 2 * BufferMs / 1000);
            connect(m_sink, &QAudioSink::stateChanged, this, [this](QAudio::State s) {
                *m_active = s == QAudio::ActiveState;
                if (s == QAudio::IdleState && m_queue->pending() == 0)
                    m_sink->stop();
            });
        }
        if (m_sink->state() != QAudio::ActiveState) {
            m_sink->stop();
            m_sink->start(m_queue);
        }
    }

    void halt()
    {
        if (m_sink) {
            m_sink->reset();
            m_sink->stop();
        }
        *m_active = false;
    }

private:
    QAudioDevice m_device;
    PcmQueue *m_queue;
    std::atomic_bool *m_active;
    QAudioSink *m_sink = nullptr;
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
