#include "access/callcontroller.h"

#include "platform/speech/audiooutput.h"
#include "platform/speech/chime.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcCall, "pirokan.call", QtInfoMsg)

CallController::CallController(QObject *parent) : QObject(parent)
{
    m_clock.start();
    m_repeat.setTimerType(Qt::PreciseTimer);
    m_repeat.setInterval(RepeatMs);
    m_limit.setTimerType(Qt::PreciseTimer);
    m_limit.setSingleShot(true);
    connect(&m_repeat, &QTimer::timeout, this, &CallController::tick);
    connect(&m_limit, &QTimer::timeout, this, [this] { finish(End::TimedOut, false); });
    apply(CallSettings());
}

CallController::~CallController()
{
    if (m_calling)
        finish(End::Answered, true);
    setOutput(nullptr);
}

void CallController::setOutput(AudioOutput *output)
{
    if (m_output)
        m_output->setHealthHandler({});
    m_output = output;
    if (!m_output)
        return;
    // A chime dropped unheard (no sound server, or one that plays nothing) is told
    // on the cover; the health comes from the sound thread, the call lives here.
    m_output->setHealthHandler([this](bool heard) {
        QMetaObject::invokeMethod(
            this, [this, heard] { soundHeard(heard); }, Qt::QueuedConnection);
    });
}

void CallController::soundHeard(bool heard)
{
    // The cover says what is true now: the chime lost, or heard again.
    if (!m_calling || heard != m_soundLost)
        return;
    m_soundLost = !heard;
    qCInfo(lcCall) << (heard ? "the chime is heard again" : "the chime was not heard");
    emit problem(shownProblem());
}

QString CallController::shownProblem() const
{
    QStringList lines;
    if (m_soundLost)
        lines << noSoundMessage();
    if (!m_hookProblem.isEmpty())
        lines << m_hookProblem;
    return lines.join(QLatin1Char('\n'));
}

void CallController::setHook(std::unique_ptr<CommandHook> hook)
{
    m_hook = std::move(hook);
    if (m_hook)
        m_hook->onFailure = [this](const CommandHook::Failure &f) { report(hookMessage(f)); };
}

void CallController::setManualTicks(bool manual)
{
    m_manual = manual;
    if (manual) {
        m_repeat.stop();
        m_limit.stop();
    }
}

void CallController::apply(const CallSettings &settings)
{
    // Made here, so that a call sounds without waiting for it.
    if (m_chime.isEmpty() || settings.volumePercent != m_settings.volumePercent)
        m_chime = ChimeClip(settings.volumePercent / 100.0);
    m_settings = settings;
}

void CallController::start(Way way)
{
    if (m_calling || !m_settings.enabled)
        return;
    qCInfo(lcCall) << "call started by" << way;
    m_calling = true;
    m_reported = false;
    m_soundLost = false;
    m_hookProblem.clear();
    m_startedAt = now();
    if (m_stopSpeech)
        m_stopSpeech();
    ring(); // first: the chime is what has to be quick
    if (!m_manual) {
        m_repeat.start();
        m_limit.start(m_settings.durationS * 1000);
    }
    emit started(way);
    if (m_hook)
        m_hook->run(QStringLiteral("start"));
}

bool CallController::acknowledge()
{
    if (!m_calling)
        return false;
    finish(End::Answered, false);
    return true;
}

void CallController::tick()
{
    if (!m_calling)
        return;
    if (now() - m_startedAt >= qint64(m_settings.durationS) * 1000) {
        finish(End::TimedOut, false);
        return;
    }
    ring();
}

void CallController::ring()
{
    if (!m_output) {
        soundHeard(false);
        return;
    }
    m_output->stop(); // a chime still ringing, or anything else queued, gives way
    m_output->play(m_chime);
}

void CallController::finish(End why, bool quietly)
{
    qCInfo(lcCall) << (why == End::Answered ? "call answered" : "call timed out");
    m_calling = false;
    m_repeat.stop();
    m_limit.stop();
    if (m_output)
        m_output->stop();
    if (m_hook)
        m_hook->run(QStringLiteral("stop"));
    if (!quietly)
        emit ended(why);
}

void CallController::report(const QString &message)
{
    if (m_reported)
        return;
    m_reported = true;
    qCWarning(lcCall).noquote() << message;
    if (!m_calling) {
        emit problem(message);
        return;
    }
    m_hookProblem = message;
    emit problem(shownProblem());
}

QString CallController::noSoundMessage()
{
    return tr("呼び出しの音を鳴らせませんでした。音を出す機器か音の出力が使えません。");
}

QString CallController::hookMessage(const CommandHook::Failure &f)
{
    const QString command = f.program + QLatin1Char(' ') + f.argument;
    QString why;
    switch (f.kind) {
    case CommandHook::Failure::Missing:
        why = tr("呼び出しのコマンド「%1」が見つかりません。").arg(f.program);
        break;
    case CommandHook::Failure::NotStarted:
        why = tr("呼び出しのコマンド「%1」を起動できません（%2）。").arg(f.program, f.detail);
        break;
    case CommandHook::Failure::Crashed:
        why = tr("呼び出しのコマンド「%1」が途中で止まりました。").arg(command);
        break;
    case CommandHook::Failure::TimedOut:
        why = tr("呼び出しのコマンド「%1」が %2 秒たっても終わらないので、止めました。")
                  .arg(command)
                  .arg(ProcessCommandHook::TimeLimitMs / 1000);
        if (!f.detail.isEmpty())
            why += QLatin1Char('\n') + f.detail;
        break;
    case CommandHook::Failure::ExitCode:
        why = tr("呼び出しのコマンド「%1」が失敗しました（終了コード %2）。").arg(command).arg(f.exitCode);
        if (!f.detail.isEmpty())
            why += QLatin1Char('\n') + f.detail;
        break;
    }
    return why + QLatin1Char('\n') + tr("外のベルには伝わっていないかもしれません。");
}
