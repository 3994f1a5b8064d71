#include "platform/speech/audiooutput.h"

#include "platform/speech/pcmqueue.h"
#include "platform/speech/streamkeeper.h"

#include <QLoggingCategory>
#include <QObject>
#include <QThread>
#include <chrono>
#include <pulse/pulseaudio.h>

Q_LOGGING_CATEGORY(lcAudio, "pirokan.audio", QtWarningMsg)

namespace {

constexpr int TargetMs = 40;   // what the server holds ahead of the speaker
constexpr int RequestMs = 10;  // the server asks for more in steps of this
constexpr int SettleMs = 1500; // how long start-up waits for the first stream
// A call's chime comes again every two seconds, stopping the one before.
constexpr int CallStallMs = 1000;
constexpr int CallGiveUpMs = 1900;

constexpr uint32_t bytesFor(int ms)
{
    return uint32_t(Clip::Rate) * 2 * uint32_t(ms) / 1000;
}

qint64 nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// One playback stream on its own context, so that rebuilding it also reconnects
// to a server that went away. Called with the mainloop's lock held.
class PulseStream final : public SoundStream
{
public:
    // `heardAlways`: at full volume and unmuted whatever the program's sound was turned to.
    PulseStream(pa_threaded_mainloop *loop, const char *name, bool heardAlways, std::function<void()> changed)
        : m_loop(loop), m_name(name), m_heardAlways(heardAlways), m_changed(std::move(changed))
    {}
    ~PulseStream() override { close(); }

    void open() override
    {
        close();
        qCDebug(lcAudio) << "opening a stream";
        m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "Pirokan");
        if (!m_context)
            return;
        pa_context_set_state_callback(m_context, &PulseStream::contextChanged, this);
        // No server of our own is started: a missing one is waited for instead.
        pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr);
    }

    State state() const override
    {
        if (!m_context)
            return State::Closed;
        switch (pa_context_get_state(m_context)) {
        case PA_CONTEXT_READY:
            break;
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED:
            return State::Failed;
        default:
            return State::Connecting;
        }
        if (m_streamFailed)
            return State::Failed;
        if (!m_stream)
            return State::Connecting;
        switch (pa_stream_get_state(m_stream)) {
        case PA_STREAM_READY:
            return State::Ready;
        case PA_STREAM_FAILED:
        case PA_STREAM_TERMINATED:
            return State::Failed;
        default:
            return State::Connecting;
        }
    }

    qint64 writable() const override
    {
        const size_t n = m_stream ? pa_stream_writable_size(m_stream) : 0;
        return n == size_t(-1) ? 0 : qint64(n);
    }

    void write(const QByteArray &bytes) override
    {
        pa_stream_write(m_stream, bytes.constData(), size_t(bytes.size()), nullptr, 0, PA_SEEK_RELATIVE);
    }

    void flush() override
    {
        if (pa_operation *op = pa_stream_flush(m_stream, nullptr, nullptr))
            pa_operation_unref(op);
    }

    qint64 played() const override
    {
        const pa_timing_info *info = m_stream ? pa_stream_get_timing_info(m_stream) : nullptr;
        return info ? info->read_index : 0;
    }

    qint64 held() const override
    {
        const pa_timing_info *info = m_stream ? pa_stream_get_timing_info(m_stream) : nullptr;
        if (!info || info->read_index_corrupt || info->write_index_corrupt)
            return -1;
        return std::max<qint64>(0, info->write_index - info->read_index);
    }

    void askProgress() override
    {
        if (m_timing && pa_operation_get_state(m_timing) == PA_OPERATION_RUNNING)
            return;
        dropTiming();
        m_timing = pa_stream_update_timing_info(m_stream, &PulseStream::timingDone, this);
    }

    void close()
    {
        dropTiming();
        if (m_stream) {
            pa_stream_set_state_callback(m_stream, nullptr, nullptr);
            pa_stream_set_write_callback(m_stream, nullptr, nullptr);
            pa_stream_disconnect(m_stream);
            pa_stream_unref(m_stream);
            m_stream = nullptr;
        }
        m_streamFailed = false;
        if (m_context) {
            pa_context_set_state_callback(m_context, nullptr, nullptr);
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
            m_context = nullptr;
        }
    }

private:
    void dropTiming()
    {
        if (!m_timing)
            return;
        pa_operation_cancel(m_timing);
        pa_operation_unref(m_timing);
        m_timing = nullptr;
    }

    void makeStream()
    {
        const pa_sample_spec format{PA_SAMPLE_S16LE, uint32_t(Clip::Rate), 1};
        m_stream = pa_stream_new(m_context, m_name, &format, nullptr);
        if (!m_stream) {
            m_streamFailed = true;
            return;
        }
        pa_stream_set_state_callback(m_stream, &PulseStream::streamChanged, this);
        pa_stream_set_write_callback(m_stream, &PulseStream::requested, this);
        pa_buffer_attr attr;
        attr.maxlength = uint32_t(-1);
        attr.tlength = bytesFor(TargetMs);
        // Plays as soon as one sample is there, and waits (rather than skips) after running dry,
        // so the stream never needs to be paused and resumed.
        attr.prebuf = 2;
        attr.minreq = bytesFor(RequestMs);
        attr.fragsize = uint32_t(-1);
        // The sound server gives a new stream the volume and the mute it remembers for the program's
        // name (a voice a carer turned down or muted) unless the stream sets its own.
        pa_cvolume full;
        pa_cvolume_set(&full, format.channels, PA_VOLUME_NORM);
        const auto flags =
            pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | (m_heardAlways ? PA_STREAM_START_UNMUTED : 0));
        if (pa_stream_connect_playback(m_stream, nullptr, &attr, flags, m_heardAlways ? &full : nullptr,
                                       nullptr) < 0)
            m_streamFailed = true;
    }

    static void contextChanged(pa_context *c, void *self)
    {
        auto *s = static_cast<PulseStream *>(self);
        const pa_context_state_t state = pa_context_get_state(c);
        if (state == PA_CONTEXT_READY && !s->m_stream)
            s->makeStream();
        else if (state == PA_CONTEXT_FAILED)
            qCDebug(lcAudio) << "no sound server:" << pa_strerror(pa_context_errno(c));
        s->m_changed();
    }
    static void streamChanged(pa_stream *stream, void *self)
    {
        if (pa_stream_get_state(stream) == PA_STREAM_FAILED)
            qCWarning(lcAudio) << "the sound stream failed:"
                               << pa_strerror(pa_context_errno(pa_stream_get_context(stream)));
        static_cast<PulseStream *>(self)->m_changed();
    }
    static void requested(pa_stream *, size_t, void *self) { static_cast<PulseStream *>(self)->m_changed(); }
    static void timingDone(pa_stream *, int, void *self) { static_cast<PulseStream *>(self)->m_changed(); }

    pa_threaded_mainloop *m_loop;
    const char *m_name;
    bool m_heardAlways;
    std::function<void()> m_changed;
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;
    pa_operation *m_timing = nullptr;
    bool m_streamFailed = false;
};

class MainloopLock
{
public:
    explicit MainloopLock(pa_threaded_mainloop *loop) : m_loop(loop) { pa_threaded_mainloop_lock(m_loop); }
    ~MainloopLock() { pa_threaded_mainloop_unlock(m_loop); }
    MainloopLock(const MainloopLock &) = delete;
    MainloopLock &operator=(const MainloopLock &) = delete;

private:
    pa_threaded_mainloop *m_loop;
};

class PulseOutput final : public AudioOutput
{
public:
    PulseOutput(const char *streamName, bool heardAlways)
        : m_loop(pa_threaded_mainloop_new()),
          m_stream(m_loop, streamName, heardAlways, [this] { service(); }), m_keeper(m_stream, m_queue)
    {}
    ~PulseOutput() override
    {
        if (!m_loop)
            return;
        if (m_running) {
            {
                MainloopLock lock(m_loop);
                m_keeper.setHealthHandler({});
                if (m_timer)
                    pa_threaded_mainloop_get_api(m_loop)->time_free(m_timer);
                m_stream.close();
            }
            pa_threaded_mainloop_stop(m_loop);
        }
        m_stream.close();
        pa_threaded_mainloop_free(m_loop);
    }

    bool start()
    {
        if (!m_loop)
            return false;
        pa_threaded_mainloop_set_name(m_loop, "pirokan-audio");
        if (pa_threaded_mainloop_start(m_loop) < 0)
            return false;
        m_running = true;
        MainloopLock lock(m_loop);
        service();
        return true;
    }

    // Whether a stream is ready within the time, or the server is known to be missing sooner.
    bool waitUntilReady(int ms)
    {
        const qint64 until = nowMs() + ms;
        while (nowMs() < until) {
            SoundStream::State state;
            {
                MainloopLock lock(m_loop);
                state = m_stream.state();
            }
            if (state == SoundStream::State::Ready)
                return true;
            if (state == SoundStream::State::Failed)
                return false;
            QThread::msleep(5);
        }
        return false;
    }

    void markLost()
    {
        MainloopLock lock(m_loop);
        m_keeper.markLost();
    }

    void setPatience(int stallMs, int giveUpMs)
    {
        MainloopLock lock(m_loop);
        m_keeper.setPatience(stallMs, giveUpMs);
    }

    void play(const Clip &clip) override
    {
        m_queue.append(ClipOps::toBytes(clip));
        MainloopLock lock(m_loop);
        service();
    }
    void stop() override
    {
        MainloopLock lock(m_loop);
        m_keeper.stop(); // what the server held is dropped too: silent at once
        service();
    }
    bool isPlaying() const override
    {
        MainloopLock lock(m_loop);
        return m_keeper.isPlaying();
    }
    void setHealthHandler(std::function<void(bool)> handler) override
    {
        MainloopLock lock(m_loop);
        m_keeper.setHealthHandler(std::move(handler));
    }

private:
    // With the lock held. A call made while one runs (a callback from within it) runs after it.
    void service()
    {
        if (m_inService) {
            m_again = true;
            return;
        }
        m_inService = true;
        int wait;
        do {
            m_again = false;
            wait = m_keeper.service(nowMs());
        } while (m_again);
        m_inService = false;
        schedule(wait);
    }

    // Nothing wakes this thread while nothing is said and the stream is well.
    void schedule(int ms)
    {
        pa_mainloop_api *api = pa_threaded_mainloop_get_api(m_loop);
        if (ms < 0) {
            if (m_timer && m_armed)
                api->time_restart(m_timer, nullptr);
            m_armed = false;
            return;
        }
        const qint64 deadline = nowMs() + ms;
        if (m_armed && m_deadline <= deadline)
            return;
        timeval tv;
        pa_timeval_add(pa_gettimeofday(&tv), pa_usec_t(ms) * PA_USEC_PER_MSEC);
        if (m_timer)
            api->time_restart(m_timer, &tv);
        else
            m_timer = api->time_new(api, &tv, &PulseOutput::timerFired, this);
        m_armed = true;
        m_deadline = deadline;
    }

    static void timerFired(pa_mainloop_api *, pa_time_event *, const timeval *, void *self)
    {
        auto *o = static_cast<PulseOutput *>(self);
        o->m_armed = false;
        o->service();
    }

    pa_threaded_mainloop *m_loop;
    PcmQueue m_queue;
    PulseStream m_stream;
    StreamKeeper m_keeper;
    pa_time_event *m_timer = nullptr;
    bool m_running = false;
    bool m_armed = false;
    qint64 m_deadline = 0;
    bool m_inService = false;
    bool m_again = false;
};

} // namespace

std::unique_ptr<AudioOutput> createSystemAudioOutput(QString *whyNot, SoundUse use, FirstAnswer first)
{
    // A call is heard whatever the voice was turned to.
    auto output =
        std::make_unique<PulseOutput>(use == SoundUse::Call ? "call" : "voice", use == SoundUse::Call);
    if (use == SoundUse::Call)
        output->setPatience(CallStallMs, CallGiveUpMs);
    if (!output->start()) {
        if (whyNot)
            *whyNot = QObject::tr("the sound output could not be started");
        return nullptr;
    }
    if (first == FirstAnswer::DoNotWait || output->waitUntilReady(SettleMs))
        return output;
    output->markLost(); // the user is told now, and told again if it is lost after it came
    if (whyNot)
        *whyNot = QObject::tr("no sound server (PulseAudio or PipeWire) answers; the voice comes "
                              "as soon as one does");
    return output;
}
