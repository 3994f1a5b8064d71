#include "platform/speech/openjtalkengine.h"

#include <QFileInfo>
#include <QObject>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

OpenJTalkEngine::OpenJTalkEngine(Setup setup)
    : m_setup(std::move(setup)), m_path(QStandardPaths::findExecutable(m_setup.program))
{}

QString OpenJTalkEngine::key() const
{
    return QStringLiteral("openjtalk|%1|%2|%3|%4")
        .arg(m_setup.voiceFile)
        .arg(m_setup.speed)
        .arg(m_setup.pitch)
        .arg(m_setup.volume);
}

QString OpenJTalkEngine::unavailableReason() const
{
    if (m_path.isEmpty())
        return QObject::tr("the program %1 is not installed").arg(m_setup.program);
    if (!QFileInfo(m_setup.dictionary).isDir())
        return QObject::tr("the dictionary %1 is missing").arg(m_setup.dictionary);
    if (!QFileInfo(m_setup.voiceFile).isReadable())
        return QObject::tr("the voice %1 is missing").arg(m_setup.voiceFile);
    return {};
}

QStringList OpenJTalkEngine::arguments() const
{
    return {QStringLiteral("-x"),  m_setup.dictionary,
            QStringLiteral("-m"),  m_setup.voiceFile,
            QStringLiteral("-r"),  QString::number(m_setup.speed),
            QStringLiteral("-fm"), QString::number(m_setup.pitch),
            QStringLiteral("-ow"), QStringLiteral("/dev/stdout")};
}

std::optional<Clip> OpenJTalkEngine::synthesize(const QString &text, const std::atomic_bool &cancelled)
{
    if (m_path.isEmpty() || text.trimmed().isEmpty())
        return std::nullopt;
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardErrorFile(QProcess::nullDevice());
#ifdef Q_OS_UNIX
    if (m_lowPriority)
        process.setChildProcessModifier([] { (void)!nice(10); });
#endif
    process.start(m_path, arguments());
    if (!process.waitForStarted(2000))
        return std::nullopt;
    process.write(text.toUtf8() + '\n');
    process.closeWriteChannel();
    QByteArray wav;
    // Poll, so that a stop ends the synthesis at once.
    while (!process.waitForFinished(5)) {
        wav += process.readAllStandardOutput();
        if (cancelled || process.state() == QProcess::NotRunning) {
            if (process.state() != QProcess::NotRunning) {
                process.kill();
                process.waitForFinished(500);
            }
            if (cancelled)
                return std::nullopt;
            break;
        }
    }
    wav += process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    auto clip = ClipOps::decode(wav);
    if (!clip)
        return std::nullopt;
    ClipOps::trimSilence(*clip);
    Clip out = ClipOps::resampled(*clip);
    ClipOps::scaleVolume(out, m_setup.volume);
    return out;
}
