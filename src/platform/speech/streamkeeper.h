#pragma once

#include <QtGlobal>
#include <functional>

class PcmQueue;

// A sound server's playback stream, as the keeper drives it. Every call comes
// from one thread at a time (the keeper's caller holds the lock that guards it).
class SoundStream
{
public:
    enum class State { Closed, Connecting, Ready, Failed };

    virtual ~SoundStream() = default;
    // Drops the stream there may be and starts making a new one.
    virtual void open() = 0;
    virtual State state() const = 0;
    // Bytes the stream takes now without holding up the caller.
    virtual qint64 writable() const = 0;
    virtual void write(const QByteArray &bytes) = 0;
    // Drops what the server holds unplayed.
    virtual void flush() = 0;
    // Bytes played since the stream was opened, as last reported by the server.
    virtual qint64 played() const = 0;
    // Bytes written and not yet played; -1 while the server has not said.
    virtual qint64 held() const = 0;
    // Asks the server for a new report of played() and held().
    virtual void askProgress() = 0;
};

// Feeds a stream from the queue and keeps it alive: a stream that stops
// playing while samples wait, or that fails, is rebuilt and goes on with what
// is queued; while no stream can be had it is tried again now and then, and
// what waits is dropped rather than left hanging. It has no clock or thread of
// its own: the caller calls service() on every event and when it asks to be.
class StreamKeeper
{
public:
    static constexpr int StallMs = 250;    // nothing played while samples wait: rebuild
    static constexpr int GiveUpMs = 1000;  // nothing played for this long: drop what waits
    static constexpr int RetryMs = 500;    // between attempts while no stream can be had
    static constexpr int ConnectMs = 2000; // a stream not ready by then is given up
    static constexpr int WatchMs = 100;    // how often progress is asked for while sound waits

    StreamKeeper(SoundStream &stream, PcmQueue &queue);

    // How long it waits on a server that plays nothing before it rebuilds the
    // stream and before it drops what waits: the voice is better unsaid than
    // said late, a call's chime is not.
    void setPatience(int stallMs, int giveUpMs)
    {
        m_stallMs = stallMs;
        m_giveUpMs = giveUpMs;
    }

    // Feeds, watches and rebuilds the stream. Returns the milliseconds until
    // it wants to be called again, or -1 when only an event needs it.
    int service(qint64 nowMs);
    // Drops what waits, here and in the server.
    void stop();
    // Whether samples wait here or in the server.
    bool isPlaying() const;
    // Called with false when waiting samples were dropped because nothing could be
    // played, and with true when sound is played again after that.
    void setHealthHandler(std::function<void(bool heard)> handler) { m_health = std::move(handler); }
    // Sound is known not to be heard (no server at start, already told): the first sound played
    // after it is told as heard again, so a later loss is told anew.
    void markLost() { m_lost = true; }
    int rebuilds() const { return m_opens > 0 ? m_opens - 1 : 0; }

private:
    void open(qint64 nowMs);
    void feed();
    void drop();

    SoundStream &m_stream;
    PcmQueue &m_queue;
    std::function<void(bool)> m_health;
    int m_stallMs = StallMs;
    int m_giveUpMs = GiveUpMs;
    int m_opens = 0;
    qint64 m_openedAt = 0;
    qint64 m_readyAt = -1;      // when the stream last became ready; -1 while it is not
    qint64 m_downSince = -1;    // since when no stream has been ready; -1 while one is
    qint64 m_waitingSince = -1; // since when samples wait; -1 while none do
    qint64 m_progressAt = 0;    // when the stream last played something while samples waited
    qint64 m_lastPlayed = 0;
    qint64 m_askedAt = -1;
    bool m_lost = false; // something was dropped since sound was last played
};
