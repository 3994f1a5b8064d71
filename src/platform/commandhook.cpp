#include "platform/commandhook.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <csignal>
#include <unistd.h>

namespace {

bool exists(const QString &program)
{
    if (program.contains(QLatin1Char('/')))
        return QFileInfo::exists(program);
    return !QStandardPaths::findExecutable(program).isEmpty();
}

QString lastLine(const QByteArray &output)
{
    const QStringList lines = QString::fromLocal8Bit(output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.last().trimmed().left(200);
}

} // namespace

ProcessCommandHook::ProcessCommandHook(const QString &program, const QStringList &arguments, int timeLimitMs)
    : m_program(program), m_arguments(arguments)
{
    m_limit.setSingleShot(true);
    m_limit.setInterval(timeLimitMs);
    connect(&m_limit, &QTimer::timeout, this, [this] {
        if (!m_process)
            return;
        Failure f{Failure::TimedOut, m_program, m_argument, 0, lastLine(m_stderr)};
        m_process->disconnect(this);
        endGroup(m_process);
        done(f);
    });
}

ProcessCommandHook::~ProcessCommandHook()
{
    onFailure = nullptr; // nobody is left to tell
    m_limit.stop();
    // The last run ("stop" on closing) gets a short while, and what waits after it
    // the rest of it; then all of them end, so that closing never waits on a bell.
    const QDeadlineTimer deadline(FinishOnCloseMs);
    while (m_process) {
        QProcess *p = std::exchange(m_process, nullptr);
        p->disconnect(this);
        p->waitForFinished(int(std::max<qint64>(0, deadline.remainingTime())));
        endGroup(p);
        delete p;
        if (std::optional<QString> next = std::exchange(m_waiting, std::nullopt);
            next && !deadline.hasExpired())
            start(*next);
    }
}

void ProcessCommandHook::run(const QString &lastArgument)
{
    if (m_process)
        m_waiting = lastArgument;
    else
        start(lastArgument);
}

void ProcessCommandHook::start(const QString &argument)
{
    auto *p = new QProcess(this);
    m_process = p;
    m_pid = 0;
    m_argument = argument;
    m_stderr.clear();
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardInputFile(QProcess::nullDevice());
    // A group of its own: whatever the command starts ends with it.
    p->setChildProcessModifier([] { ::setpgid(0, 0); });
    connect(p, &QProcess::readyReadStandardError, this, &ProcessCommandHook::readError);
    connect(p, &QProcess::errorOccurred, this, [this, p](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart || p != m_process)
            return; // the others end in finished()
        done(Failure{exists(m_program) ? Failure::NotStarted : Failure::Missing, m_program, m_argument, 0,
                     p->errorString()});
    });
    connect(p, &QProcess::finished, this, [this, p](int code, QProcess::ExitStatus status) {
        if (p != m_process)
            return;
        readError();
        const QString said = lastLine(m_stderr);
        // Whatever the command left running in its group goes with it.
        endGroup(p);
        if (status == QProcess::CrashExit)
            done(Failure{Failure::Crashed, m_program, m_argument, code, said});
        else if (code != 0)
            done(Failure{Failure::ExitCode, m_program, m_argument, code, said});
        else
            done(std::nullopt);
    });
    m_limit.start();
    p->start(m_program, m_arguments + QStringList{argument});
    // Known as soon as the command is forked, not when its start is told: a close that
    // comes first still ends its whole group.
    m_pid = p->processId();
}

void ProcessCommandHook::readError()
{
    if (!m_process)
        return;
    // Read as it comes, in what the pipe holds at a time; only the end is kept, for its last line.
    m_stderr += m_process->readAllStandardError();
    if (m_stderr.size() > KeptErrorBytes)
        m_stderr = m_stderr.right(KeptErrorBytes);
}

void ProcessCommandHook::done(std::optional<Failure> failure)
{
    m_limit.stop();
    if (m_process) {
        m_process->disconnect(this);
        m_process->deleteLater();
        m_process = nullptr;
    }
    // The next run first: telling of a failure may wait on the user (a notice to close).
    if (std::optional<QString> next = std::exchange(m_waiting, std::nullopt))
        start(*next);
    if (failure && onFailure)
        onFailure(*failure);
}

void ProcessCommandHook::endGroup(QProcess *p)
{
    if (m_pid > 0)
        ::kill(-pid_t(m_pid), SIGKILL);
    m_pid = 0;
    if (p->state() != QProcess::NotRunning) {
        p->kill();
        p->waitForFinished(100);
    }
}

std::unique_ptr<CommandHook> CreateCommandHook(const QString &commandLine)
{
    QStringList words = QProcess::splitCommand(commandLine);
    if (words.isEmpty())
        return nullptr;
    const QString program = words.takeFirst();
    return std::make_unique<ProcessCommandHook>(program, words);
}
