#pragma once

#include "platform/speech/clip.h"

#include <QHash>
#include <QMutex>
#include <QString>
#include <optional>

// Clips already made, in memory and on disk, keyed by engine, voice, parameters and text.
class VoiceCache
{
public:
    // An empty folder keeps clips in memory only.
    explicit VoiceCache(const QString &folder) : m_folder(folder) {}

    std::optional<Clip> inMemory(const QString &key) const;
    // Memory first, then disk.
    std::optional<Clip> find(const QString &key);
    void store(const QString &key, const Clip &clip);
    void clearMemory();

private:
    QString fileFor(const QString &key) const;

    QString m_folder;
    mutable QMutex m_mutex;
    QHash<QString, Clip> m_memory;
};
