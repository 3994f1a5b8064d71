#include "platform/commandhook.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

constexpr int FinishOnCloseMs = 2000;

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

ProcessCommandHook::ProcessCommandHook(const QString &program, const QStringList &arguments)
    : m_program(program), m_arguments(arguments)
{}

ProcessCommandHook::~ProcessCommandHook()
{
    onFailure = nullptr; // nobody is left to tell
    for (QProcess *p : findChildren<QProcess *>())
        if (p->state() != QProcess::NotRunning)
            p->waitForFinished(FinishOnCloseMs);
}

void ProcessCommandHook::run(const QString &lastArgument)
{
    auto *p = new QProcess(this);
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardInputFile(QProcess::nullDevice());
    const auto fail = [this, lastArgument](Failure::Kind kind, int exitCode, const QString &detail) {
        if (onFailure)
            onFailure({kind, m_program, lastArgument, exitCode, detail});
    };
    connect(p, &QProcess::errorOccurred, this, [p, fail](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return; // the others end in finished()
        fail(exists(p->program()) ? Failure::NotStarted : Failure::Missing, 0, p->errorString());
        p->deleteLater();
    });
    connect(p, &QProcess::finished, this, [p, fail](int code, QProcess::ExitStatus status) {
        const QString said = lastLine(p->readAllStandardError());
        if (status == QProcess::CrashExit)
            fail(Failure::Crashed, code, said);
        else if (code != 0)
            fail(Failure::ExitCode, code, said);
        p->deleteLater();
    });
    p->start(m_program, m_arguments + QStringList{lastArgument});
}

std::unique_ptr<CommandHook> CreateCommandHook(const QString &commandLine)
{
    QStringList words = QProcess::splitCommand(commandLine);
    if (words.isEmpty())
        return nullptr;
    const QString program = words.takeFirst();
    return std::make_unique<ProcessCommandHook>(program, words);
}
