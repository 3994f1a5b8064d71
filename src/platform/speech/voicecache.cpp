#include "platform/speech/voicecache.h"

#include "platform/privatefile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <vector>

namespace {

qint64 bytesOf(const Clip &clip)
{
    return qint64(clip.samples.size() * sizeof(qint16));
}

// Trimmed to three quarters of its bound, so that a store that has just filled up is not trimmed
// again at the very next clip.
qint64 trimmedTo(qint64 bound)
{
    return bound / 4 * 3;
}

} // namespace

QString VoiceCache::fileFor(const QString &key) const
{
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QDir(m_folder).filePath(QString::fromLatin1(hash) + QStringLiteral(".pcm"));
}

std::optional<Clip> VoiceCache::inMemory(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    const auto it = m_memory.find(key);
    if (it == m_memory.end())
        return std::nullopt;
    it->used = ++m_uses;
    return it->clip;
}

std::optional<Clip> VoiceCache::find(const QString &key)
{
    if (auto clip = inMemory(key))
        return clip;
    if (m_folder.isEmpty())
        return std::nullopt;
    QFile file(fileFor(key));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const Clip clip = ClipOps::fromBytes(file.readAll());
    if (clip.isEmpty())
        return std::nullopt; // an empty file (a write cut short) is made again
    // Used now: the last file to go when the folder is trimmed.
    file.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
    keep(key, clip);
    return clip;
}

void VoiceCache::keep(const QString &key, const Clip &clip)
{
    const qint64 bytes = bytesOf(clip);
    QMutexLocker lock(&m_mutex);
    if (const auto old = m_memory.constFind(key); old != m_memory.constEnd()) {
        m_memoryBytes -= bytesOf(old->clip);
        m_memory.erase(old);
    }
    if (bytes > m_limits.memoryBytes / 4)
        return; // one long reading would push out every character; it stays on disk
    m_memory.insert(key, {clip, ++m_uses});
    m_memoryBytes += bytes;
    if (m_memoryBytes <= m_limits.memoryBytes)
        return;
    std::vector<std::pair<quint64, QString>> byUse;
    byUse.reserve(size_t(m_memory.size()));
    for (auto it = m_memory.cbegin(); it != m_memory.cend(); ++it)
        byUse.emplace_back(it->used, it.key());
    std::sort(byUse.begin(), byUse.end());
    for (const auto &[used, k] : byUse) {
        if (m_memoryBytes <= trimmedTo(m_limits.memoryBytes))
            break;
        if (m_ready.contains(k))
            continue;
        const auto it = m_memory.constFind(k);
        m_memoryBytes -= bytesOf(it->clip);
        m_memory.erase(it);
    }
}

void VoiceCache::store(const QString &key, const Clip &clip)
{
    keep(key, clip);
    if (m_folder.isEmpty() || !QDir().mkpath(m_folder))
        return;
    QFile::setPermissions(m_folder, PrivateFile::UserOnlyFolder);
    const QString path = fileFor(key);
    const QByteArray bytes = ClipOps::toBytes(clip);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.setPermissions(PrivateFile::UserOnly);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return;
    QMutexLocker lock(&m_diskMutex);
    if (m_diskBytes >= 0)
        m_diskBytes += bytes.size();
    if (m_diskBytes < 0 || m_diskBytes > m_limits.diskBytes)
        trimDisk(path);
}

void VoiceCache::trimDisk(const QString &justWritten)
{
    struct File
    {
        QDateTime used;
        QString path;
        qint64 size;
    };
    std::vector<File> files;
    qint64 total = 0;
    QDirIterator it(m_folder, {QStringLiteral("*.pcm")}, QDir::Files);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        files.push_back({info.lastModified(), info.filePath(), info.size()});
        total += info.size();
    }
    if (total > m_limits.diskBytes) {
        // What is in memory is in use (the board's characters above all): its file stays for the next run.
        QSet<QString> inUse{justWritten};
        {
            QMutexLocker lock(&m_mutex);
            for (auto k = m_memory.keyBegin(); k != m_memory.keyEnd(); ++k)
                inUse.insert(fileFor(*k));
        }
        std::sort(files.begin(), files.end(), [](const File &a, const File &b) { return a.used < b.used; });
        for (const File &f : files) {
            if (total <= trimmedTo(m_limits.diskBytes))
                break;
            if (!inUse.contains(f.path) && QFile::remove(f.path))
                total -= f.size;
        }
    }
    m_diskBytes = total;
}

void VoiceCache::keepReady(const QString &key)
{
    QMutexLocker lock(&m_mutex);
    m_ready.insert(key);
}

void VoiceCache::forgetReady()
{
    QMutexLocker lock(&m_mutex);
    m_ready.clear();
}

void VoiceCache::clearMemory()
{
    QMutexLocker lock(&m_mutex);
    m_memory.clear();
    m_memoryBytes = 0;
}

qint64 VoiceCache::memoryBytes() const
{
    QMutexLocker lock(&m_mutex);
    return m_memoryBytes;
}
