#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The voice bank's files on disk: read whole and checked, written atomically and for the user alone.
namespace BankFiles {

// The bytes of a file after it is checked: a regular file no larger than maxBytes, read to its end.
std::optional<QByteArray> readChecked(const QString &path, qint64 maxBytes, QString *why);
// Replaces the file whole or not at all, readable by the user alone.
bool saveAtomically(const QString &path, const QByteArray &bytes, QString *error);

} // namespace BankFiles
