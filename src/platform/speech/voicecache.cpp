#include "platform/speech/voicecache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>

QString VoiceCache::fileFor(const QString &key) const
{
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QDir(m_folder).filePath(QString::fromLatin1(hash) + QStringLiteral(".pcm"));
}

std::optional<Clip> VoiceCache::inMemory(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    const auto it = m_memory.constFind(key);
    if (it == m_memory.constEnd())
        return std::nullopt;
    return *it;
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
    QMutexLocker lock(&m_mutex);
    m_memory.insert(key, clip);
    return clip;
}

void VoiceCache::store(const QString &key, const Clip &clip)
{
    {
        QMutexLocker lock(&m_mutex);
        m_memory.insert(key, clip);
    }
    if (m_folder.isEmpty() || !QDir().mkpath(m_folder))
        return;
    QSaveFile file(fileFor(key));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(ClipOps::toBytes(clip));
        file.commit();
    }
}

void VoiceCache::clearMemory()
{
    QMutexLocker lock(&m_mutex);
    m_memory.clear();
}
