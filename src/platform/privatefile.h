#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

// A small file of the user's own kept beside the settings. It is read only when
// it is a regular file of a sensible size, as the settings file is, so that a
// FIFO or a device put in its place never makes the program wait; it is written
// whole through a temporary file, readable by the user alone.
namespace PrivateFile {

constexpr qint64 MaxBytes = 1024 * 1024;

// What the user's own files and folders are made: theirs alone.
constexpr QFileDevice::Permissions UserOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions UserOnlyFolder = UserOnly | QFileDevice::ExeOwner;

enum class ReadResult { Missing, Read, Refused };

// Refused says why in `error`, ready to show.
ReadResult read(const QString &path, QByteArray *bytes, QString *error);
// False, saying why, when the file could not be replaced; the old one is then as it was.
bool write(const QString &path, const QByteArray &bytes, QString *error);

// A file of this name in the folder that holds the user's settings.
QString inSettingsFolder(const QString &fileName);

} // namespace PrivateFile
