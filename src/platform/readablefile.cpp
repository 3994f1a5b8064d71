#include "platform/readablefile.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QObject>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcReadable, "pirokan.files")

namespace ReadableFile {

namespace {

Result verdict(const struct stat &st, qint64 maxBytes)
{
    if (!S_ISREG(st.st_mode))
        return {Status::NotRegular, QStringLiteral("not a regular file")};
    if (qint64(st.st_size) > maxBytes)
        return {Status::TooLarge, QStringLiteral("%1 bytes, over %2").arg(qint64(st.st_size)).arg(maxBytes)};
    return {Status::Opened, {}};
}

Result failed(int error)
{
    return {error == ENOENT || error == ENOTDIR ? Status::Missing : Status::Failed,
            QString::fromLocal8Bit(std::strerror(error))};
}

} // namespace

Result check(const QString &path, qint64 maxBytes)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return failed(errno);
    return verdict(st, maxBytes);
}

Result open(QFile &file, const QString &path, qint64 maxBytes)
{
    // A look first, so that a device is never even opened.
    if (Result r = check(path, maxBytes); !r.ok())
        return r;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return failed(errno);
    struct stat st
    {
    };
    Result r = ::fstat(fd, &st) == 0 ? verdict(st, maxBytes) : failed(errno);
    if (r.ok()) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        file.setFileName(path);
        if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
            r = {Status::Failed, file.errorString()};
        else
            return r;
    }
    ::close(fd);
    return r;
}

QString reasonForUser(const Result &r)
{
    switch (r.status) {
    case Status::NotRegular:
        return QObject::tr("は普通のファイルではない（フォルダーや特殊なファイル）ので、読みませんでした。");
    case Status::TooLarge:
        return QObject::tr("は大きすぎるので、読みませんでした。");
    case Status::Failed:
        return QObject::tr("を開けません。ファイルを読む許可があるか確かめてください。");
    case Status::Missing:
    case Status::Opened:
        break;
    }
    return {};
}

void removeStaleTemporaries(const QString &folder, const QStringList &names)
{
    const QDir dir(folder);
    for (const QString &name : names) {
        const QRegularExpression temporary(
            QStringLiteral("^%1\\.[A-Za-z]{6}$").arg(QRegularExpression::escape(name)));
        for (const QString &file : dir.entryList({name + QStringLiteral(".*")}, QDir::Files | QDir::Hidden)) {
            if (temporary.match(file).hasMatch() && QFile::remove(dir.filePath(file)))
                qCInfo(lcReadable) << "removed" << dir.filePath(file) << "left by an interrupted save";
        }
    }
}

} // namespace ReadableFile
