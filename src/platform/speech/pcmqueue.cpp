#include "platform/speech/pcmqueue.h"

void PcmQueue::append(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    QMutexLocker lock(&m_mutex);
    m_chunks.push_back(bytes);
    m_pending += bytes.size();
}

void PcmQueue::clear()
{
    QMutexLocker lock(&m_mutex);
    m_chunks.clear();
    m_offset = 0;
    m_pending = 0;
}

qint64 PcmQueue::pending() const
{
    QMutexLocker lock(&m_mutex);
    return m_pending;
}

QByteArray PcmQueue::take(qint64 n)
{
    QMutexLocker lock(&m_mutex);
    n = std::min(n, m_pending) & ~qint64(1);
    QByteArray out;
    out.reserve(n);
    while (out.size() < n) {
        const QByteArray &front = m_chunks.front();
        const qsizetype part = std::min<qsizetype>(n - out.size(), front.size() - m_offset);
        out.append(front.constData() + m_offset, part);
        m_offset += part;
        if (m_offset == front.size()) {
            m_chunks.pop_front();
            m_offset = 0;
        }
    }
    m_pending -= n;
    return out;
}
