#pragma once

#include <QString>

class QFileDevice;

// Why a file could not be written, for the log and for the user, from the
// device's own error or, when it has none to give, the system's.
namespace FileFailure {

// The system's words ("No space left on device"); never "Unknown error" when errno knows better.
QString systemCause(const QFileDevice &file, int savedErrno);
// The cause in Japanese, ready to follow a message: "理由：ディスクがいっぱいです。".
QString causeForUser(const QFileDevice &file, int savedErrno);

} // namespace FileFailure
