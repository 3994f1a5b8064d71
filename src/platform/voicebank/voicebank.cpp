#include "platform/voicebank/voicebank.h"

#include "platform/privatefile.h"
#include "platform/voicebank/bankfiles.h"
#include "platform/voicebank/phrasekey.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace {

// About 20 minutes of recordings stay in memory; beyond that they are read again.
constexpr qint64 MaxCachedSamples = qint64(Clip::Rate) * 60 * 20;

QString tr(const char *text)
{
    return QCoreApplication::translate("VoiceBank", text);
}

} // namespace

QString VoiceBank::folderBeside(const QString &entryFolder)
{
    return QDir(entryFolder).filePath(QStringLiteral("voice-bank"));
}

VoiceBank::VoiceBank(const QString &folder) : m_folder(folder) {}

QString VoiceBank::keyOf(const QString &text, Kind kind)
{
    return kind == Kind::Kana ? QStringLiteral("k|") + PhraseKey::ofKana(text)
                              : QStringLiteral("p|") + PhraseKey::ofPhrase(text);
}

qsizetype VoiceBank::findLast(const QList<BankEntry> &entries, const QString &text, Kind kind)
{
    const QString key = keyOf(text, kind);
    for (qsizetype i = entries.size() - 1; i >= 0; --i)
        if (keyOf(entries[i].text, entries[i].kind) == key)
            return i;
    return -1;
}

void VoiceBank::rebuildKeysLocked()
{
    m_byKey.clear();
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        m_byKey.insert(keyOf(m_entries[i].text, m_entries[i].kind), i); // a later line wins
}

bool VoiceBank::load(QString *error)
{
    QMutexLocker writing(&m_writeMutex);
    const QString path = QDir(m_folder).filePath(indexName());
    QList<BankEntry> entries;
    bool ok = true;
    if (QFileInfo::exists(path)) {
        QString why;
        if (const auto bytes = BankFiles::readChecked(path, MaxFileBytes, &why)) {
            entries = BankIndex::parse(QString::fromUtf8(*bytes));
        } else {
            *error = tr("録音の一覧「%1」を読めません：%2").arg(QDir::toNativeSeparators(path), why);
            ok = false;
        }
    }
    // An index that could not be read is not known: a save reads it again first, and never writes
    // over it from the empty list here.
    m_stamp = ok ? indexStamp() : QString();
    QMutexLocker lock(&m_mutex);
    m_entries = std::move(entries);
    m_clips.clear();
    m_cachedSamples = 0;
    m_warmed = 0;
    rebuildKeysLocked();
    return ok;
}

QString VoiceBank::indexStamp() const
{
    const QFileInfo info(QDir(m_folder).filePath(indexName()));
    return info.exists() ? QStringLiteral("%1|%2|%3")
                               .arg(info.size())
                               .arg(info.lastModified().toMSecsSinceEpoch())
                               .arg(info.fileTime(QFileDevice::FileMetadataChangeTime).toMSecsSinceEpoch())
                         : QString();
}

bool VoiceBank::refreshFromDisk(QString *error)
{
    const QString stamp = indexStamp();
    if (stamp == m_stamp || stamp.isEmpty())
        return false;
    QString why;
    const QString path = QDir(m_folder).filePath(indexName());
    const auto bytes = BankFiles::readChecked(path, MaxFileBytes, &why);
    if (!bytes) {
        // What is in memory stays; a save refuses, since it would drop what the index lists.
        if (error)
            *error = tr("録音の一覧「%1」を読めません：%2").arg(QDir::toNativeSeparators(path), why);
        return false;
    }
    QList<BankEntry> entries = BankIndex::parse(QString::fromUtf8(*bytes));
    m_stamp = stamp;
    QMutexLocker lock(&m_mutex);
    m_entries = std::move(entries);
    rebuildKeysLocked();
    m_warmed = 0; // the new recordings are read into memory too
    return true;
}

void VoiceBank::refresh()
{
    QMutexLocker writing(&m_writeMutex);
    refreshFromDisk();
}

bool VoiceBank::refreshUnlessBusy()
{
    if (!m_writeMutex.tryLock())
        return false;
    const bool changed = refreshFromDisk();
    m_writeMutex.unlock();
    return changed;
}

void VoiceBank::install(QList<BankEntry> entries)
{
    QMutexLocker lock(&m_mutex);
    m_entries = std::move(entries);
    rebuildKeysLocked();
}

QList<BankEntry> VoiceBank::entries() const
{
    QMutexLocker lock(&m_mutex);
    return m_entries;
}

bool VoiceBank::has(const QString &text, Kind kind) const
{
    QMutexLocker lock(&m_mutex);
    return m_byKey.contains(keyOf(text, kind));
}

qsizetype VoiceBank::size() const
{
    QMutexLocker lock(&m_mutex);
    return m_entries.size();
}

std::optional<Clip> VoiceBank::cachedClip(const QString &text, Kind kind) const
{
    QMutexLocker lock(&m_mutex);
    const auto it = m_byKey.constFind(keyOf(text, kind));
    if (it == m_byKey.constEnd())
        return std::nullopt;
    const auto clip = m_clips.constFind(m_entries[*it].file);
    if (clip == m_clips.constEnd())
        return std::nullopt;
    return *clip;
}

std::optional<Clip> VoiceBank::clip(const QString &text, Kind kind, QString *error)
{
    QString file;
    {
        QMutexLocker lock(&m_mutex);
        const auto it = m_byKey.constFind(keyOf(text, kind));
        if (it == m_byKey.constEnd())
            return std::nullopt;
        file = m_entries[*it].file;
        if (const auto clip = m_clips.constFind(file); clip != m_clips.constEnd())
            return *clip;
    }
    QString why;
    const QString path = QDir(m_folder).filePath(file);
    auto bytes = BankFiles::readChecked(path, MaxFileBytes, &why);
    std::optional<Clip> clip = bytes ? ClipOps::decode(*bytes, &why) : std::nullopt;
    if (!clip) {
        if (error)
            *error = tr("録音「%1」を再生できません：%2").arg(QDir::toNativeSeparators(path), why);
        return std::nullopt;
    }
    Clip ready = ClipOps::resampled(*clip);
    QMutexLocker lock(&m_mutex);
    if (m_cachedSamples + qint64(ready.samples.size()) > MaxCachedSamples) {
        m_clips.clear();
        m_cachedSamples = 0;
    }
    m_clips.insert(file, ready);
    m_cachedSamples += qint64(ready.samples.size());
    return ready;
}

bool VoiceBank::warmNext()
{
    BankEntry next;
    {
        QMutexLocker lock(&m_mutex);
        const qsizetype n = m_entries.size();
        while (m_warmed < 2 * n) {
            const bool kanaPass = m_warmed < n;
            const BankEntry &e = m_entries[m_warmed % n];
            ++m_warmed;
            if ((e.kind == Kind::Kana) == kanaPass && !m_clips.contains(e.file)) {
                next = e;
                break;
            }
        }
        if (next.file.isEmpty() || m_cachedSamples + qint64(next.seconds * Clip::Rate) > MaxCachedSamples)
            return false;
    }
    clip(next.text, next.kind);
    return true;
}

bool VoiceBank::ensureFolder(QString *error) const
{
    QDir dir(m_folder);
    if (!dir.mkpath(QStringLiteral("."))) {
        *error = tr("録音のフォルダ「%1」を作れません。").arg(QDir::toNativeSeparators(m_folder));
        return false;
    }
    QFile::setPermissions(m_folder, PrivateFile::UserOnlyFolder);
    return true;
}

QString VoiceBank::newFileName(Kind kind) const
{
    const QString stem = QStringLiteral("%1-%2").arg(
        kind == Kind::Kana ? QStringLiteral("kana") : QStringLiteral("phrase"),
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")));
    QString name = stem + QStringLiteral(".flac");
    for (int n = 2; QFileInfo::exists(QDir(m_folder).filePath(name)); ++n)
        name = QStringLiteral("%1-%2.flac").arg(stem).arg(n);
    return name;
}

bool VoiceBank::writeIndex(const QList<BankEntry> &entries, QString *error)
{
    if (!BankFiles::saveAtomically(QDir(m_folder).filePath(indexName()), BankIndex::format(entries).toUtf8(),
                                   error))
        return false;
    m_stamp = indexStamp();
    return true;
}

bool VoiceBank::saveIndex(QString *error)
{
    QMutexLocker writing(&m_writeMutex);
    if (!ensureFolder(error))
        return false;
    const auto locked = lockIndex(error);
    if (!locked)
        return false;
    // Another writer (the program, beside an import) may have kept or deleted recordings since the
    // index was read: its index stands, with what was kept here since added to it.
    const QList<BankEntry> mine = entries();
    QList<BankEntry> next = mine;
    const QString stamp = indexStamp();
    const bool merge = !stamp.isEmpty() && stamp != m_stamp;
    if (merge) {
        const QString path = QDir(m_folder).filePath(indexName());
        QString why;
        const auto bytes = BankFiles::readChecked(path, MaxFileBytes, &why);
        if (!bytes) {
            *error = tr("録音の一覧「%1」を読めません：%2").arg(QDir::toNativeSeparators(path), why);
            return false;
        }
        next = BankIndex::parse(QString::fromUtf8(*bytes));
        for (const BankEntry &e : mine)
            if (m_unindexed.contains(e.file) && findLast(next, e.text, e.kind) < 0)
                next << e;
    }
    if (!writeIndex(next, error))
        return false;
    if (merge) {
        install(next);
        m_warmed = 0; // what the other writer kept is read into memory too
    }
    m_unindexed.clear();
    return true;
}

bool VoiceBank::keep(const QString &text, Kind kind, const Clip &clip, QString *error, Index index)
{
    if (PhraseKey::ofPhrase(text).isEmpty() || clip.isEmpty()) {
        *error = tr("録音する言葉か音がありません。");
        return false;
    }
    const Clip stored = ClipOps::resampled(clip);
    const QByteArray flac = ClipOps::toFlac(stored);
    if (flac.isEmpty()) {
        *error = tr("録音を FLAC にできません。");
        return false;
    }
    // Files are written with only the writers held back: the voice reads on meanwhile.
    QMutexLocker writing(&m_writeMutex);
    if (!ensureFolder(error))
        return false;
    std::unique_ptr<QLockFile> locked;
    if (index == Index::Write && !(locked = lockFollowed(error)))
        return false;
    const QString file = newFileName(kind);
    if (!BankFiles::saveAtomically(QDir(m_folder).filePath(file), flac, error))
        return false;
    const QDateTime now = QDateTime::currentDateTime();
    const BankEntry entry{text.trimmed(), file, kind, now.toOffsetFromUtc(now.offsetFromUtc()),
                          stored.seconds()};
    const QString key = keyOf(text, kind);
    qsizetype at;
    QList<BankEntry> next;
    {
        QMutexLocker lock(&m_mutex);
        at = m_byKey.value(key, -1); // only writers change the entries, and this is the one writer now
        next = m_entries;
    }
    const QString replaced = at >= 0 ? next[at].file : QString();
    if (index == Index::Write) {
        if (at >= 0)
            next[at] = entry;
        else
            next << entry;
        if (!writeIndex(next, error)) {
            QFile::remove(QDir(m_folder).filePath(file)); // the old recording still stands
            return false;
        }
    }
    // In place, without reading every key again: a large import stays quick.
    QMutexLocker lock(&m_mutex);
    if (at >= 0) {
        m_entries[at] = entry;
    } else {
        m_entries << entry;
        m_byKey.insert(key, m_entries.size() - 1);
    }
    if (index == Index::Later)
        m_unindexed.insert(file);
    if (!replaced.isEmpty() && index == Index::Write) {
        QFile::remove(QDir(m_folder).filePath(replaced));
        m_clips.remove(replaced);
    }
    m_clips.insert(file, stored);
    m_cachedSamples += qint64(stored.samples.size());
    return true;
}

std::unique_ptr<QLockFile> VoiceBank::lockIndex(QString *error) const
{
    auto lock = std::make_unique<QLockFile>(QDir(m_folder).filePath(indexName() + QStringLiteral(".lock")));
    if (!QFileInfo(m_folder).isDir() || lock->tryLock(LockWaitMs))
        return lock; // no folder: nothing on disk to guard
    *error = tr("ほかのプログラム（録音の取り込み）が録音の一覧を書いているので、できませんでした。"
                "もう一度押してください。");
    return nullptr;
}

std::unique_ptr<QLockFile> VoiceBank::lockFollowed(QString *error)
{
    auto locked = lockIndex(error);
    QString why;
    if (locked)
        refreshFromDisk(&why);
    if (why.isEmpty())
        return locked;
    *error = why;
    return nullptr;
}

bool VoiceBank::remove(const QString &text, Kind kind, QString *error)
{
    QMutexLocker writing(&m_writeMutex);
    const auto locked = lockFollowed(error);
    if (!locked)
        return false;
    QList<BankEntry> next = entries();
    const qsizetype at = findLast(next, text, kind);
    if (at < 0)
        return true;
    const QString file = next[at].file;
    next.removeAt(at);
    if (!writeIndex(next, error))
        return false;
    install(next);
    QFile::remove(QDir(m_folder).filePath(file));
    QMutexLocker lock(&m_mutex);
    m_clips.remove(file);
    return true;
}

bool VoiceBank::retext(const QString &from, const QString &to, Kind kind, QString *error)
{
    QMutexLocker writing(&m_writeMutex);
    const auto locked = lockFollowed(error);
    if (!locked)
        return false;
    QList<BankEntry> next = entries();
    const qsizetype moving = findLast(next, from, kind);
    if (moving < 0)
        return true;
    const QString movingFile = next[moving].file;
    // A recording the new text already had gives way to the one that follows it.
    QString displaced;
    if (const qsizetype old = findLast(next, to, kind); old >= 0 && next[old].file != movingFile) {
        displaced = next[old].file;
        next.removeAt(old);
    }
    for (BankEntry &e : next)
        if (e.file == movingFile)
            e.text = to.trimmed();
    if (!writeIndex(next, error))
        return false;
    install(next);
    if (!displaced.isEmpty()) {
        QFile::remove(QDir(m_folder).filePath(displaced));
        QMutexLocker lock(&m_mutex);
        m_clips.remove(displaced);
    }
    return true;
}

QString VoiceBank::exportTargetIn(const QString &folder)
{
    const QDir dir(folder);
    QString target = dir.filePath(QStringLiteral("pirokan-voice-bank"));
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = dir.filePath(QStringLiteral("pirokan-voice-bank-%1").arg(n));
    return target;
}

bool VoiceBank::exportTo(const QString &target, QString *error, const std::atomic_bool *stop) const
{
    const QList<BankEntry> all = entries();
    QDir dir(target);
    if (!dir.mkpath(QStringLiteral("."))) {
        *error = tr("書き出し先「%1」を作れません。").arg(QDir::toNativeSeparators(target));
        return false;
    }
    for (const BankEntry &e : all) {
        if (stop && *stop) {
            *error = tr("書き出しを途中でやめました。");
            return false;
        }
        QString why;
        const auto bytes = BankFiles::readChecked(QDir(m_folder).filePath(e.file), MaxFileBytes, &why);
        if (!bytes) {
            *error = tr("録音「%1」を書き出せません：%2").arg(e.text, why);
            return false;
        }
        if (!BankFiles::saveAtomically(dir.filePath(e.file), *bytes, error))
            return false;
    }
    return BankFiles::saveAtomically(dir.filePath(indexName()), BankIndex::format(all).toUtf8(), error);
}
