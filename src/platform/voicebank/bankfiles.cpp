#include "platform/voicebank/bankfiles.h"

#include "platform/privatefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace BankFiles {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("VoiceBank", text);
}

} // namespace

std::optional<QByteArray> readChecked(const QString &path, qint64 maxBytes, QString *why)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        *why = tr("ファイルがありません");
        return std::nullopt;
    }
    if (!info.isFile()) {
        *why = tr("普通のファイルではありません");
        return std::nullopt;
    }
    if (info.size() > maxBytes) {
        *why = tr("大きすぎます（%1 MB を超えています）").arg(maxBytes / (1024 * 1024));
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = tr("読めません（%1）").arg(file.errorString());
        return std::nullopt;
    }
    QByteArray bytes = file.read(maxBytes + 1);
    // A read that broke off (a stick pulled) is no file: it is never taken for a shorter one.
    if (file.error() != QFileDevice::NoError) {
        *why = tr("読めません（%1）").arg(file.errorString());
        return std::nullopt;
    }
    if (bytes.size() > maxBytes) {
        *why = tr("大きすぎます（%1 MB を超えています）").arg(maxBytes / (1024 * 1024));
        return std::nullopt;
    }
    return bytes;
}

bool saveAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = tr("「%1」を書き込めません。\n%2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    file.setPermissions(PrivateFile::UserOnly);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        *error = tr("「%1」を保存できません（ディスクがいっぱいかもしれません）。\n%2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

} // namespace BankFiles
