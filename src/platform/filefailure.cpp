#include "platform/filefailure.h"

#include <QFileDevice>
#include <QObject>
#include <cerrno>
#include <cstring>

namespace FileFailure {

QString systemCause(const QFileDevice &file, int savedErrno)
{
    QString why = file.error() != QFileDevice::NoError ? file.errorString() : QString();
    // A QSaveFile that failed on commit, or a short write, often says no more than this.
    if ((why.isEmpty() || why == QLatin1String("Unknown error")) && savedErrno != 0)
        why = QString::fromLocal8Bit(std::strerror(savedErrno));
    return why.isEmpty() ? QStringLiteral("no cause given by the system") : why;
}

QString causeForUser(const QFileDevice &file, int savedErrno)
{
    switch (savedErrno) {
    case ENOSPC:
    case EDQUOT:
        return QObject::tr("理由：ディスクがいっぱいです。");
    case EACCES:
    case EPERM:
        return QObject::tr("理由：書き込む許可がありません。");
    case EROFS:
        return QObject::tr("理由：読み出し専用の場所です。");
    default:
        return QObject::tr("理由：%1").arg(systemCause(file, savedErrno));
    }
}

} // namespace FileFailure
