#include "platform/speech/clip.h"
#include "platform/voicebank/soundinput.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <mutex>
#include <pulse/pulseaudio.h>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("PulseInput", text);
}

constexpr int AnswerMs = 3000; // the longest wait for the server, so nothing hangs on it

class PulseInput final : public SoundInput
{
public:
    ~PulseInput() override
    {
        stop();
        if (m_loop)
            pa_threaded_mainloop_stop(m_loop);
        if (m_context) {
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
        }
        if (m_loop)
            pa_threaded_mainloop_free(m_loop);
    }

    QList<Source> sources() override
    {
        QList<Source> out;
        QString why;
        if (!connectServer(&why))
            return out;
        pa_threaded_mainloop_lock(m_loop);
        struct Listing
        {
            QList<Source> *out;
            bool done = false;
        } listing{&out};
        pa_operation *op = pa_context_get_source_info_list(
            m_context,
            [](pa_context *, const pa_source_info *info, int eol, void *user) {
                auto *l = static_cast<Listing *>(user);
                if (eol) {
                    l->done = true;
                    return;
                }
                // Another program's sound, heard on a sink's monitor, is no microphone to offer first.
                l->out->append({QString::fromUtf8(info->name), QString::fromUtf8(info->description)});
            },
            &listing);
        const bool answered = waitLocked([&] { return listing.done; });
        if (op) {
            // A late answer must not reach the listing, which is gone once this returns.
            if (!answered)
                pa_operation_cancel(op);
            pa_operation_unref(op);
        }
        pa_threaded_mainloop_unlock(m_loop);
        return out;
    }

    bool start(const QString &source, Samples onSamples, QString *why) override
    {
        stop();
        if (!connectServer(why))
            return false;
        {
            std::lock_guard lock(m_callbackMutex);
            m_onSamples = std::move(onSamples);
        }
        pa_threaded_mainloop_lock(m_loop);
        const pa_sample_spec format{PA_SAMPLE_S16LE, Clip::Rate, 1};
        m_stream = pa_stream_new(m_context, "録音", &format, nullptr);
        if (!m_stream) {
            pa_threaded_mainloop_unlock(m_loop);
            *why = tr("録音の準備ができません。");
            return false;
        }
        pa_stream_set_read_callback(m_stream, &PulseInput::onRead, this);
        pa_buffer_attr attr;
        attr.maxlength = uint32_t(-1);
        attr.fragsize = uint32_t(Clip::Rate / 50 * 2); // 20 ms: a live meter
        attr.tlength = attr.prebuf = attr.minreq = uint32_t(-1);
        const QByteArray name = source.toUtf8();
        pa_stream_connect_record(m_stream, name.isEmpty() ? nullptr : name.constData(), &attr,
                                 PA_STREAM_ADJUST_LATENCY);
        const bool ready = waitLocked([this] {
            const auto s = pa_stream_get_state(m_stream);
            return s == PA_STREAM_READY || s == PA_STREAM_FAILED || s == PA_STREAM_TERMINATED;
        });
        const bool ok = ready && pa_stream_get_state(m_stream) == PA_STREAM_READY;
        pa_threaded_mainloop_unlock(m_loop);
        if (!ok) {
            stop();
            *why = source.isEmpty() ? tr("マイクが見つかりません。マイクをつないで、もう一度押してください。")
                                    : tr("選んだ入力「%1」から録音できません。").arg(source);
            return false;
        }
        return true;
    }

    void stop() override
    {
        {
            std::lock_guard lock(m_callbackMutex);
            m_onSamples = nullptr;
        }
        if (!m_stream)
            return;
        pa_threaded_mainloop_lock(m_loop);
        pa_stream_set_read_callback(m_stream, nullptr, nullptr);
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
        m_stream = nullptr;
        pa_threaded_mainloop_unlock(m_loop);
    }

private:
    static void onRead(pa_stream *stream, size_t, void *user)
    {
        auto *self = static_cast<PulseInput *>(user);
        const void *data = nullptr;
        size_t bytes = 0;
        while (pa_stream_readable_size(stream) > 0 && pa_stream_peek(stream, &data, &bytes) == 0 &&
               bytes > 0) {
            {
                std::lock_guard lock(self->m_callbackMutex);
                if (self->m_onSamples) {
                    if (data) {
                        self->m_onSamples(static_cast<const qint16 *>(data), bytes / 2);
                    } else {
                        const std::vector<qint16> hole(bytes / 2, 0); // a gap in the input is silence
                        self->m_onSamples(hole.data(), hole.size());
                    }
                }
            }
            pa_stream_drop(stream);
        }
    }

    // Waits, with the loop locked, until `done` or the server's time is up.
    template <typename Done> bool waitLocked(Done done)
    {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > AnswerMs)
                return false;
            pa_threaded_mainloop_unlock(m_loop);
            QThread::msleep(2);
            pa_threaded_mainloop_lock(m_loop);
        }
        return true;
    }

    bool connectServer(QString *why)
    {
        if (m_context && pa_context_get_state(m_context) == PA_CONTEXT_READY)
            return true;
        if (m_context) { // a server that went away: start over
            pa_threaded_mainloop_stop(m_loop);
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
            pa_threaded_mainloop_free(m_loop);
            m_context = nullptr;
            m_loop = nullptr;
            m_stream = nullptr;
        }
        m_loop = pa_threaded_mainloop_new();
        m_context = m_loop ? pa_context_new(pa_threaded_mainloop_get_api(m_loop), "Pirokan") : nullptr;
        if (!m_context || pa_threaded_mainloop_start(m_loop) < 0) {
            *why = tr("音声サーバーにつながりません。");
            return false;
        }
        pa_threaded_mainloop_lock(m_loop);
        pa_context_connect(m_context, nullptr, PA_CONTEXT_NOFLAGS, nullptr);
        const bool answered = waitLocked([this] {
            const auto s = pa_context_get_state(m_context);
            return s == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(s);
        });
        const bool ready = answered && pa_context_get_state(m_context) == PA_CONTEXT_READY;
        pa_threaded_mainloop_unlock(m_loop);
        if (!ready)
            *why = tr("音声サーバーにつながりません。");
        return ready;
    }

    pa_threaded_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;
    std::mutex m_callbackMutex;
    Samples m_onSamples;
};

} // namespace

std::unique_ptr<SoundInput> createPulseInput()
{
    return std::make_unique<PulseInput>();
}
