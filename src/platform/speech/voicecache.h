#pragma once

#include "platform/speech/clip.h"

#include <QHash>
#include <QMutex>
#include <QSet>
#include <QString>
#include <optional>

struct VoiceCacheLimits
{
    qint64 memoryBytes = 48LL << 20; // about eight minutes of speech
    qint64 diskBytes = 160LL << 20;
};

// Clips already made, in memory and on disk, keyed by engine, voice, parameters and text.
//
// Every sentence read aloud is made once and kept, so both stores are bounded: the clips
// used least lately go first (on disk, by the time a file was last written or read). What
// is kept is what the user said: the folder and its files are theirs alone.
class VoiceCache
{
public:
    using Limits = VoiceCacheLimits;

    // An empty folder keeps clips in memory only.
    explicit VoiceCache(const QString &folder, Limits limits = {}) : m_folder(folder), m_limits(limits) {}

    std::optional<Clip> inMemory(const QString &key) const;
    // Memory first, then disk.
    std::optional<Clip> find(const QString &key);
    void store(const QString &key, const Clip &clip);
    // A clip that must be heard at once however much else is said (a board character): once made, it
    // stays in memory and on disk, until forgetReady().
    void keepReady(const QString &key);
    void forgetReady();
    void clearMemory();

    qint64 memoryBytes() const;

private:
    struct Kept
    {
        Clip clip;
        quint64 used = 0;
    };
    QString fileFor(const QString &key) const;
    void keep(const QString &key, const Clip &clip);
    // Removes the files used least lately until the folder is well within its bound.
    void trimDisk(const QString &justWritten);

    QString m_folder;
    Limits m_limits;
    mutable QMutex m_mutex; // the memory store: read from the window, filled by the voice's thread
    mutable QHash<QString, Kept> m_memory;
    mutable quint64 m_uses = 0;
    QSet<QString> m_ready;
    qint64 m_memoryBytes = 0;
    QMutex m_diskMutex;
    qint64 m_diskBytes = -1; // -1: not yet counted this run
};
