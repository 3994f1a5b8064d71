#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// A command the user configured, run without a shell, with one more argument
// at its end each time. It runs on its own; run() returns at once.
class CommandHook
{
public:
    struct Failure
    {
        enum Kind { Missing, NotStarted, Crashed, ExitCode };
        Kind kind = NotStarted;
        QString program;
        QString argument; // the one run() added
        int exitCode = 0;
        QString detail; // the system's reason, or the command's last line on stderr
    };

    virtual ~CommandHook() = default;
    virtual void run(const QString &lastArgument) = 0;

    // Called for every run that could not start, crashed or exited non-zero.
    std::function<void(const Failure &)> onFailure;
};

// Runs `program` with `arguments` through QProcess.
class ProcessCommandHook final : public QObject, public CommandHook
{
public:
    ProcessCommandHook(const QString &program, const QStringList &arguments);
    // A command still running is given a short while to finish, then ended.
    ~ProcessCommandHook() override;

    void run(const QString &lastArgument) override;

private:
    QString m_program;
    QStringList m_arguments;
};

// The hook for a command line as the settings file holds it, split as
// QProcess::splitCommand does (quotes group, no shell); null when it is empty.
std::unique_ptr<CommandHook> CreateCommandHook(const QString &commandLine);
