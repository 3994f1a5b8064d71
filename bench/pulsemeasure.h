#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <cstdlib>
#include <memory>
#include <pulse/simple.h>

// A sound server of the benchmark's own, in a scratch runtime folder, with a
// null sink whose monitor is listened to: the whole way through a real server,
// which the benchmark may stop and start again.
class ScratchServer
{
public:
    ~ScratchServer() { stop(); }

    // Empty when it runs; otherwise why not.
    QString start()
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        if (program.isEmpty())
            return QStringLiteral("pulseaudio is not installed");
        if (!m_dir.isValid())
            return QStringLiteral("no scratch folder");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
        env.insert(QStringLiteral("HOME"), m_dir.path());
        m_server.setProcessEnvironment(env);
        m_server.setStandardOutputFile(QProcess::nullDevice());
        m_server.setStandardErrorFile(m_dir.filePath(QStringLiteral("server.log")), QIODevice::Append);
        m_server.start(
            program,
            {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--system=false"),
             QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"), QStringLiteral("-L"),
             QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=%1").arg(socket()),
             QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=nullsink rate=48000")});
        if (!m_server.waitForStarted(5000))
            return QStringLiteral("pulseaudio did not start");
        return {};
    }

    void stop()
    {
        if (m_server.state() == QProcess::NotRunning)
            return;
        m_server.terminate();
        if (!m_server.waitForFinished(5000)) {
            m_server.kill();
            m_server.waitForFinished(5000);
        }
        QFile::remove(socket());
    }

    // Plays a short tone as another program would, and returns once it has been played:
    // a server just started holds back its first sound for up to two seconds.
    static bool playTone()
    {
        const pa_sample_spec format{PA_SAMPLE_S16LE, 48000, 1};
        pa_simple *pa = pa_simple_new(nullptr, "bench_voice", PA_STREAM_PLAYBACK, nullptr, "tone", &format,
                                      nullptr, nullptr, nullptr);
        if (!pa)
            return false;
        qint16 tone[2400];
        for (int i = 0; i < 2400; ++i)
            tone[i] = qint16(i % 48 < 24 ? 4000 : -4000);
        const bool played =
            pa_simple_write(pa, tone, sizeof tone, nullptr) >= 0 && pa_simple_drain(pa, nullptr) >= 0;
        pa_simple_free(pa);
        return played;
    }

    QByteArray address() const { return "unix:" + QFile::encodeName(socket()); }

private:
    QString socket() const { return m_dir.filePath(QStringLiteral("native")); }

    QTemporaryDir m_dir;
    QProcess m_server;
};

// Listens to the null sink's monitor and tells when sound arrives there, in
// steps of a few milliseconds. Every wait is bounded, whatever the server does.
class MonitorListener
{
public:
    // Null when the server does not answer within the time.
    static std::unique_ptr<MonitorListener> open(int timeoutMs = 5000)
    {
        QElapsedTimer t;
        t.start();
        do {
            const pa_sample_spec format{PA_SAMPLE_S16LE, 48000, 1};
            pa_buffer_attr attr;
            attr.maxlength = uint32_t(-1);
            attr.fragsize = ChunkBytes;
            attr.tlength = attr.prebuf = attr.minreq = uint32_t(-1);
            if (pa_simple *pa = pa_simple_new(nullptr, "bench_voice", PA_STREAM_RECORD, "nullsink.monitor",
                                              "monitor", &format, nullptr, &attr, nullptr))
                return std::unique_ptr<MonitorListener>(new MonitorListener(pa));
            QThread::msleep(10);
        } while (t.elapsed() < timeoutMs);
        return nullptr;
    }
    ~MonitorListener() { pa_simple_free(m_pa); }

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

    // The longest quiet stretch between sounds, from `since` until the monitor has
    // been quiet for `endMs`; -1 when nothing was heard in `timeoutMs`.
    double longestSilence(const QElapsedTimer &since, int endMs, int timeoutMs, int threshold = 64)
    {
        double lastLoud = -1, longest = 0;
        while (since.elapsed() < timeoutMs) {
            const double now = since.nsecsElapsed() / 1e6;
            if (heardLouderThan(threshold)) {
                if (lastLoud >= 0)
                    longest = std::max(longest, now - lastLoud);
                lastLoud = now;
            } else if (lastLoud >= 0 && now - lastLoud > endMs) {
                return longest;
            }
        }
        return -1;
    }

    // Listens (and forgets) until `since` is `ms` old.
    void listenUntil(const QElapsedTimer &since, int ms)
    {
        while (since.elapsed() < ms)
            heardLouderThan(1 << 16);
    }

    // Forgets what was heard before now.
    void drain() { pa_simple_flush(m_pa, nullptr); }

private:
    static constexpr uint32_t ChunkBytes = 48000 * 2 * 25 / 10000; // 2.5 ms

    explicit MonitorListener(pa_simple *pa) : m_pa(pa) {}

    // Whether the next few milliseconds hold a sample louder than the threshold.
    bool heardLouderThan(int threshold)
    {
        qint16 s[ChunkBytes / 2];
        if (pa_simple_read(m_pa, s, sizeof s, nullptr) < 0) {
            QThread::msleep(2); // the server went away: time passes, nothing is heard
            return false;
        }
        for (qint16 v : s)
            if (std::abs(int(v)) > threshold)
                return true;
        return false;
    }

    pa_simple *m_pa;
};
