#include "platform/speech/streamkeeper.h"

#include "platform/speech/pcmqueue.h"

#include <algorithm>

StreamKeeper::StreamKeeper(SoundStream &stream, PcmQueue &queue) : m_stream(stream), m_queue(queue) {}

void StreamKeeper::open(qint64 nowMs)
{
    ++m_opens;
    m_openedAt = nowMs;
    m_readyAt = -1;
    m_askedAt = -1;
    m_stream.open();
}

void StreamKeeper::feed()
{
    const qint64 room = m_stream.writable();
    if (room <= 0 || m_queue.pending() == 0)
        return;
    const QByteArray bytes = m_queue.take(room);
    if (!bytes.isEmpty())
        m_stream.write(bytes);
}

void StreamKeeper::drop()
{
    m_queue.clear();
    m_waitingSince = -1;
    m_lost = true;
    if (m_health)
        m_health(false); // every drop counts: repeated ones bring the mute notice
}

int StreamKeeper::service(qint64 nowMs)
{
    using State = SoundStream::State;
    State state = m_stream.state();
    const qint64 sinceOpen = nowMs - m_openedAt;
    if (m_opens == 0 || ((state == State::Closed || state == State::Failed) && sinceOpen >= RetryMs) ||
        (state == State::Connecting && sinceOpen >= ConnectMs)) {
        open(nowMs);
        state = m_stream.state();
    }
    const bool ready = state == State::Ready;
    if (ready) {
        if (m_readyAt < 0) {
            m_readyAt = nowMs;
            m_lastPlayed = m_stream.played();
        }
        m_downSince = -1;
        feed();
    } else if (m_downSince < 0) {
        m_downSince = nowMs;
    }
    // Until the next attempt to open a stream.
    const auto nextAttempt = [&] {
        const qint64 wait = (state == State::Connecting ? ConnectMs : RetryMs) - (nowMs - m_openedAt);
        return int(std::clamp<qint64>(wait, 0, ConnectMs));
    };

    const bool waiting = m_queue.pending() > 0 || (ready && m_stream.held() != 0);
    if (!waiting) {
        m_waitingSince = -1;
        return ready ? -1 : nextAttempt();
    }
    if (m_waitingSince < 0) {
        m_waitingSince = nowMs;
        m_progressAt = nowMs;
    }
    if (ready && m_stream.played() != m_lastPlayed) {
        m_lastPlayed = m_stream.played();
        m_progressAt = nowMs;
        if (m_lost) {
            m_lost = false;
            if (m_health)
                m_health(true);
        }
    }
    // Said late is worse than not said: after a while what waits goes, and at once
    // while there has been no stream for that long.
    const bool longDown = !ready && m_downSince >= 0 && nowMs - m_downSince >= m_giveUpMs;
    if (longDown || nowMs - m_progressAt >= m_giveUpMs) {
        drop();
        if (ready)
            open(nowMs); // a stream that played nothing for so long is not trusted again
        return std::min(WatchMs, nextAttempt());
    }
    if (ready && nowMs - std::max(m_progressAt, m_readyAt) >= m_stallMs) {
        open(nowMs);
        return std::min(WatchMs, nextAttempt());
    }
    if (!ready)
        return std::min(WatchMs, nextAttempt());
    if (m_askedAt < 0 || nowMs - m_askedAt >= WatchMs) {
        m_askedAt = nowMs;
        m_stream.askProgress();
    }
    return WatchMs;
}

void StreamKeeper::stop()
{
    m_queue.clear();
    m_waitingSince = -1;
    if (m_stream.state() == SoundStream::State::Ready) {
        m_stream.flush();
        m_stream.askProgress();
    }
}

bool StreamKeeper::isPlaying() const
{
    return m_queue.pending() > 0 || (m_stream.state() == SoundStream::State::Ready && m_stream.held() != 0);
}
