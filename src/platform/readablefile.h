#pragma once

#include <QString>
#include <QStringList>

class QFile;

// The one check every file the program reads goes through before it is read:
// a regular file of a bounded size. A FIFO or a device would make a read wait
// for ever, a directory or a huge file fail later in worse ways.
namespace ReadableFile {

enum class Status { Missing, Opened, NotRegular, TooLarge, Failed };

struct Result
{
    Status status = Status::Missing;
    QString detail; // the system's words, for the log

    bool ok() const { return status == Status::Opened; }
};

// Opens the file for reading when it passes the check, without ever waiting on
// what it turns out to be: the opened file itself is checked, so a swap
// between the look and the open cannot slip a FIFO in.
Result open(QFile &file, const QString &path, qint64 maxBytes);
// The same check for a file another library opens itself (status Opened means it would pass).
Result check(const QString &path, qint64 maxBytes);
// Why the file was not read, in Japanese, to follow its name: "は普通のファイルではない…" and so on.
QString reasonForUser(const Result &r);

// Removes what a save killed between writing its temporary file and renaming
// it leaves behind: "name.AbCdEf" (six letters) beside each named file. Only
// for the program's own folders: where people keep files, "day.txt.backup"
// has the same form.
void removeStaleTemporaries(const QString &folder, const QStringList &names);

} // namespace ReadableFile
