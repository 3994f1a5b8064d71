#pragma once

#include <QByteArray>
#include <QMutex>
#include <deque>

// The samples waiting to be heard, in the order they were queued. Safe to
// feed and clear from any thread while the audio thread takes from it.
class PcmQueue
{
public:
    void append(const QByteArray &bytes);
    // Drops everything waiting: what is taken next is what is appended next.
    void clear();
    qint64 pending() const;
    // Up to n bytes (whole samples) from the front.
    QByteArray take(qint64 n);

private:
    mutable QMutex m_mutex;
    std::deque<QByteArray> m_chunks;
    qsizetype m_offset = 0; // into the first chunk
    qint64 m_pending = 0;
};
