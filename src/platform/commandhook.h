#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class QProcess;

// A command the user configured, run without a shell, with one more argument
// at its end each time. It runs on its own; run() returns at once.
class CommandHook
{
public:
    struct Failure
    {
        enum Kind { Missing, NotStarted, Crashed, ExitCode, TimedOut };
        Kind kind = NotStarted;
        QString program;
        QString argument; // the one run() added
        int exitCode = 0;
        QString detail; // the system's reason, or the command's last line on stderr
    };

    virtual ~CommandHook() = default;
    virtual void run(const QString &lastArgument) = 0;

    // Called for every run that could not start, crashed, exited non-zero or ran out of time.
    std::function<void(const Failure &)> onFailure;
};

// Runs `program` with `arguments` through QProcess: one run at a time, in its
// own process group, ended with all it started when it runs over its time.
class ProcessCommandHook final : public QObject, public CommandHook
{
public:
    static constexpr int TimeLimitMs = 10000;
    // How long closing the program waits for a run, at most, all runs together.
    static constexpr int FinishOnCloseMs = 500;
    // What is kept of the command's stderr: its end, for the last line.
    static constexpr qsizetype KeptErrorBytes = 4096;

    ProcessCommandHook(const QString &program, const QStringList &arguments, int timeLimitMs = TimeLimitMs);
    ~ProcessCommandHook() override;

    // A run while another is going waits for it (or for its time to run out);
    // of several waiting, only the latest is run.
    void run(const QString &lastArgument) override;
    bool busy() const { return m_process != nullptr; }
    qsizetype keptErrorBytes() const { return m_stderr.size(); }

private:
    void start(const QString &argument);
    void readError();
    void done(std::optional<Failure> failure);
    void endGroup(QProcess *p);

    QString m_program;
    QStringList m_arguments;
    QProcess *m_process = nullptr; // owned by this object, as its child
    qint64 m_pid = 0;              // its process group
    QString m_argument;
    QByteArray m_stderr;
    QTimer m_limit;
    std::optional<QString> m_waiting;
};

// The hook for a command line as the settings file holds it, split as
// QProcess::splitCommand does (quotes group, no shell); null when it is empty.
std::unique_ptr<CommandHook> CreateCommandHook(const QString &commandLine);
