#include "platform/entrystorage.h"

#include "platform/filefailure.h"
#include "platform/memoryhints.h"
#include "platform/privatefile.h"
#include "platform/readablefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStorageInfo>
#include <cerrno>
#include <optional>
#include <sys/stat.h>

Q_LOGGING_CATEGORY(lcFiles, "pirokan.files")

namespace {

// A file's bytes, read into one block advised as large, as a file of a
// hundred megabytes needs; nothing when a read fails part-way (a stick pulled,
// a share gone), which must not pass for the file's end.
std::optional<QByteArray> readWhole(QFile &file)
{
    QByteArray bytes(file.size(), Qt::Uninitialized);
    AdviseHugePages(bytes.data(), size_t(bytes.size()));
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.read(bytes.data() + done, bytes.size() - done);
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    // A file that grew while it was read is read to its end.
    if (const QByteArray more = file.readAll(); !more.isEmpty())
        bytes += more;
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace

QString FolderEntryStorage::pathOf(const QString &name) const
{
    return QDir(m_folder).filePath(name);
}

QString FolderEntryStorage::stamp(const QString &name) const
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(pathOf(name)).constData(), &st) != 0)
        return {};
    // A save renames a new file into place, so the identity changes even within one tick of the clock.
    return QStringLiteral("%1:%2:%3:%4.%5:%6.%7")
        .arg(st.st_dev)
        .arg(st.st_ino)
        .arg(st.st_size)
        .arg(st.st_mtim.tv_sec)
        .arg(st.st_mtim.tv_nsec)
        .arg(st.st_ctim.tv_sec)
        .arg(st.st_ctim.tv_nsec);
}

QString FolderEntryStorage::named(const QString &name, const QString &what) const
{
    return QObject::tr("「%1」%2\nフォルダー：%3").arg(name, what, QDir::toNativeSeparators(m_folder));
}

bool FolderEntryStorage::exists(const QString &name) const
{
    return QFileInfo::exists(pathOf(name));
}

EntryStorage::Read FolderEntryStorage::read(const QString &name)
{
    Read r;
    QFile file;
    const ReadableFile::Result opened = ReadableFile::open(file, pathOf(name), MaxBytes);
    r.exists = opened.status != ReadableFile::Status::Missing;
    if (!r.exists) {
        m_unreadable.remove(name); // moved away: a save makes it anew
        return r;
    }
    if (!opened.ok()) {
        qCWarning(lcFiles) << pathOf(name) << "cannot be read:" << opened.detail;
        r.error = named(name, ReadableFile::reasonForUser(opened));
        m_unreadable.insert(name);
        return r;
    }
    const std::optional<QByteArray> bytes = readWhole(file);
    if (!bytes) {
        qCWarning(lcFiles) << pathOf(name) << "read failed part-way:" << file.errorString();
        r.error = named(name, QObject::tr("を最後まで読めませんでした。ファイルはそのままにしてあります。"));
        m_unreadable.insert(name);
        return r;
    }
    const auto decoded = TextCodec::decode(*bytes);
    if (!decoded) {
        r.error = named(name, QObject::tr("の文字コードが分かりません（壊れた文字があります）。"));
        m_unreadable.insert(name);
        return r;
    }
    m_unreadable.remove(name);
    m_encodings.insert(name, decoded->encoding);
    // Each file is read and saved whole; beyond this the start, a save or a list's opening waits noticeably.
    constexpr qint64 LargeBytes = 16 * 1024 * 1024;
    if (file.size() > LargeBytes && !m_warnedLarge.contains(name)) {
        m_warnedLarge.insert(name);
        qCWarning(lcFiles) << file.fileName() << "holds" << file.size()
                           << "bytes; reading and saving it take time";
        r.warning = named(name, QObject::tr("がとても大きい（%1 MB）ので、読み込みと保存に時間がかかります。"
                                            "いらない行を消すか、古い分を別のファイルに移してください。")
                                    .arg(file.size() / (1024 * 1024)));
    }
    r.ok = true;
    r.text = decoded->text;
    return r;
}

bool FolderEntryStorage::write(const QString &name, const QString &text, QString *error)
{
    const auto fail = [&](const QString &message, const QString &detail) {
        qCWarning(lcFiles) << pathOf(name) << "could not be saved:" << detail;
        if (error)
            *error = message;
        return false;
    };
    if (m_unreadable.contains(name))
        return fail(named(name, QObject::tr("は読めなかったので、上書きしません。")),
                    QStringLiteral("unread"));
    const bool earlier = QFileInfo::exists(pathOf(name));
    const QString kept = earlier ? QObject::tr("\n前の内容は残っています。") : QString();
    const QByteArray bytes =
        TextCodec::encode(text, m_encodings.value(name, TextCodec::Encoding::CodePage932));

    QSaveFile file(pathOf(name));
    errno = 0;
    const bool newFolder = !QFileInfo::exists(m_folder);
    const bool made = QDir().mkpath(m_folder);
    // The diary, the mails and the addresses are the user's alone. A folder and a file the program
    // makes itself are made so; an existing file keeps its permissions, as the user or a carer set them.
    if (made && (newFolder || m_folder == QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)))
        QFile::setPermissions(m_folder, PrivateFile::UserOnlyFolder);
    const bool opened = made && file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    // A disk without permissions (a memory stick) refuses this; the save goes on all the same.
    if (opened && !earlier) {
        file.setPermissions(PrivateFile::UserOnly);
        errno = 0; // a refusal is no cause of a later failure
    }
    if (opened && file.write(bytes) == bytes.size() && file.commit())
        return true;
    const int savedErrno = errno;
    QString detail = FileFailure::systemCause(file, savedErrno);
    file.cancelWriting();
    const QFileInfo folder(m_folder);
    const QStorageInfo disk(m_folder);
    QString what = QObject::tr("を保存できませんでした。書き込みの途中でエラーが起きました。");
    if (!folder.isDir() || !folder.isWritable())
        what = QObject::tr("を保存できませんでした。フォルダーを作れないか、書き込めません。"
                           "フォルダーの場所と書き込み許可を確かめてください。");
    else if (file.error() == QFileDevice::ResourceError || savedErrno == ENOSPC ||
             (disk.isValid() && disk.bytesAvailable() < bytes.size())) {
        what = QObject::tr("を保存できませんでした。ディスクがいっぱいです。"
                           "いらないファイルを消してから、もう一度保存してください。");
        detail += QStringLiteral(" (disk full: %1 bytes free, %2 needed)")
                      .arg(disk.isValid() ? disk.bytesAvailable() : -1)
                      .arg(bytes.size());
    }
    return fail(named(name, what) + kept, detail);
}

QString FolderEntryStorage::chooseFolder(const QString &programFolder)
{
    const QFileInfo talk(QDir(programFolder).filePath(QStringLiteral("Talk.txt")));
    if (talk.exists() && QFileInfo(programFolder).isWritable())
        return programFolder;
    // An installed program's folder, or a build folder that may be wiped, is no place for the user's words.
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}
