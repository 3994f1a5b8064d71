#include "platform/processtable.h"

#include <QDir>
#include <QFile>

namespace ProcessTable {

namespace {

QByteArray read(int pid, const char *entry)
{
    QFile f(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(entry)));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The fields of /proc/<pid>/stat after the command name, which may itself hold
// spaces and parentheses: the state first, then the parent.
QList<QByteArray> statFields(int pid)
{
    const QByteArray line = read(pid, "stat");
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0 || close + 2 > line.size())
        return {};
    return line.mid(close + 2).split(' ');
}

} // namespace

QList<int> all()
{
    QList<int> pids;
    for (const QString &name : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const int pid = name.toInt(&number);
        if (number && pid > 0)
            pids << pid;
    }
    return pids;
}

bool isRunning(int pid)
{
    const QList<QByteArray> fields = statFields(pid);
    return !fields.isEmpty() && !fields.front().isEmpty() && fields.front() != "Z";
}

int parentOf(int pid)
{
    bool number = false;
    const int parent = statFields(pid).value(1).toInt(&number);
    return number ? parent : -1;
}

QByteArray commandOf(int pid)
{
    return read(pid, "comm").trimmed();
}

QString homeOf(int pid)
{
    for (const QByteArray &var : read(pid, "environ").split('\0'))
        if (var.startsWith("HOME="))
            return QString::fromLocal8Bit(var.mid(5));
    return {};
}

} // namespace ProcessTable
