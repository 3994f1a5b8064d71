#pragma once

#include "platform/speech/clip.h"
#include "platform/voicebank/bankindex.h"

#include <QHash>
#include <QMutex>
#include <QSet>
#include <QString>
#include <atomic>
#include <memory>
#include <optional>

class QLockFile;

// The user's recorded voice: a folder with one FLAC file per recording and
// index.tsv naming them. Nothing is shown as kept before its file and its
// index line are on disk; a save cut short leaves the bank as it was. The
// folder and its files are the user's alone. Safe to use from any thread.
// Every error is a complete message in Japanese, ready to show.
class VoiceBank
{
public:
    using Kind = BankEntry::Kind;
    static constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;
    static constexpr int LockWaitMs = 3000; // the longest wait for another process writing the index
    static QString indexName() { return QStringLiteral("index.tsv"); }
    // The bank's folder beside the entry files.
    static QString folderBeside(const QString &entryFolder);

    explicit VoiceBank(const QString &folder);

    // Reads the index; a bank not yet made is empty and fine.
    bool load(QString *error);
    QString folder() const { return m_folder; }
    // Takes in what another Pirokan (an import from the command line) wrote meanwhile.
    // Every save does so first, so that nobody's recordings drop out of the index.
    void refresh();
    // The same, but gives way to a save under way, so the voice never waits on one;
    // true when the index had changed.
    bool refreshUnlessBusy();
    QList<BankEntry> entries() const;
    bool has(const QString &text, Kind kind) const;
    qsizetype size() const;

    // The recording for this text at Clip::Rate, read once and then kept in memory.
    std::optional<Clip> clip(const QString &text, Kind kind, QString *error = nullptr);
    // Reads one more recording into memory, kana first, while there is room:
    // false when there is nothing more to read.
    bool warmNext();
    // Only what is already in memory: never touches the disk.
    std::optional<Clip> cachedClip(const QString &text, Kind kind) const;

    enum class Index { Write, Later };
    // Keeps the clip as the recording of this text, replacing an earlier one of the
    // same text and kind only once the new one is safely saved.
    bool keep(const QString &text, Kind kind, const Clip &clip, QString *error, Index index = Index::Write);
    // Writes the index: after keep(…, Index::Later).
    bool saveIndex(QString *error);
    bool remove(const QString &text, Kind kind, QString *error);
    // The recording now stands for another text (a stored sentence revised).
    bool retext(const QString &from, const QString &to, Kind kind, QString *error);
    // A copy of the whole bank (index and files) in `target`; `stop`, set from another thread, ends
    // it after the file in hand, with no index written.
    bool exportTo(const QString &target, QString *error, const std::atomic_bool *stop = nullptr) const;
    // Where in `folder` an export goes: a name no earlier export there has, so a copy made before
    // (maybe the only good one) is never written over.
    static QString exportTargetIn(const QString &folder);

private:
    static QString keyOf(const QString &text, Kind kind);
    // The entry that stands for the text (the last line, as lookups take it); -1 for none.
    static qsizetype findLast(const QList<BankEntry> &entries, const QString &text, Kind kind);
    QString newFileName(Kind kind) const;
    bool ensureFolder(QString *error) const;
    // With m_writeMutex held:
    bool writeIndex(const QList<BankEntry> &entries, QString *error);
    bool refreshFromDisk(QString *error = nullptr); // true when the index had changed
    // Another process writing the same bank (an import beside the program) waits for this, held from
    // reading the index to writing it; null, with `error`, when it cannot be had in time.
    std::unique_ptr<QLockFile> lockIndex(QString *error) const;
    // The same, with the index then read again if another writer changed it; null, with `error`,
    // also when it cannot be read.
    std::unique_ptr<QLockFile> lockFollowed(QString *error);
    void install(QList<BankEntry> entries);
    void rebuildKeysLocked();
    QString indexStamp() const;

    QString m_folder;
    // Writers one at a time, files written under this one only; m_mutex is held
    // just long enough to read or swap what is in memory, so the voice never waits on a disk.
    QMutex m_writeMutex;
    mutable QMutex m_mutex;
    QList<BankEntry> m_entries;
    QHash<QString, qsizetype> m_byKey; // into m_entries
    QHash<QString, Clip> m_clips;      // by file name
    qint64 m_cachedSamples = 0;
    QString m_stamp;           // of the index as last read or written
    QSet<QString> m_unindexed; // files kept with Index::Later and not yet in the index on disk
    qsizetype m_warmed = 0;    // entries looked at by warmNext, kana first, then phrases
};
