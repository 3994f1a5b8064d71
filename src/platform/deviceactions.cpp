#include "platform/deviceactions.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <memory>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace {

DeviceReply failed(const QString &reason, bool timedOut = false)
{
    DeviceReply r;
    r.reason = reason;
    r.timedOut = timedOut;
    return r;
}

QString timeoutReason(int ms)
{
    return QObject::tr("%1秒待っても答えがありません。").arg(ms / 1000.0);
}

QString lastLine(const QByteArray &output)
{
    const QStringList lines = QString::fromLocal8Bit(output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.last().trimmed().left(200);
}

QString httpReason(int status, QNetworkReply::NetworkError error, const QString &detail)
{
    switch (status) {
    case 400:
        return QObject::tr(
            "機器のサーバーが頼みを受け付けませんでした（400）。サービスか機器の名前を確かめてください。");
    case 401:
    case 403:
        return QObject::tr("機器のサーバーがトークンを受け付けませんでした（%1）。").arg(status);
    case 404:
        return QObject::tr("機器のサーバーにその機器かサービスがありません（404）。");
    default:
        break;
    }
    if (status > 0)
        return QObject::tr("機器のサーバーがエラーを返しました（%1）。").arg(status);
    // Qt says why in English, which the voice would read out: said in Japanese, the words kept for the log.
    qWarning("devices: %s", qUtf8Printable(detail));
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return QObject::tr(
            "機器のサーバーにつながりません（つなぐのを断られました）。サーバーが動いているか、"
            "アドレスのポートを確かめてください。");
    case QNetworkReply::HostNotFoundError:
        return QObject::tr("機器のサーバーが見つかりません。アドレスを確かめてください。");
    case QNetworkReply::SslHandshakeFailedError:
        return QObject::tr("機器のサーバーと安全につなげません（証明書を確かめてください）。");
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
        return QObject::tr("機器のサーバーとのつながりが切れました。");
    default:
        return QObject::tr("機器のサーバーにつながりません（エラー %1）。").arg(int(error));
    }
}

} // namespace

SystemDeviceActions::SystemDeviceActions(int timeoutMs, int stopGraceMs)
    : m_timeoutMs(timeoutMs), m_stopGraceMs(stopGraceMs)
{}

SystemDeviceActions::~SystemDeviceActions()
{
    // A program still running when the program ends is asked to stop, briefly waited for, then killed.
    for (QProcess *p : findChildren<QProcess *>()) {
        p->disconnect(this);
#ifdef Q_OS_UNIX
        if (const qint64 pid = p->processId(); pid > 0) {
            ::kill(-pid_t(pid), SIGTERM);
            if (!p->waitForFinished(500))
                ::kill(-pid_t(pid), SIGKILL);
        }
#endif
        p->kill();
        p->waitForFinished(500);
    }
    for (QNetworkReply *r : m_network.findChildren<QNetworkReply *>())
        r->disconnect(this);
}

void SystemDeviceActions::run(const DeviceRequest &request, Done done)
{
    if (request.kind == DeviceRequest::Kind::Program)
        runProgram(request, std::move(done));
    else
        ask(request, std::move(done));
}

void SystemDeviceActions::runProgram(const DeviceRequest &request, Done done)
{
    auto *p = new QProcess(this);
    p->setStandardInputFile(QProcess::nullDevice());
    p->setStandardOutputFile(QProcess::nullDevice());
    auto *timer = new QTimer(p);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer); // "3 s" means 3 s, not up to 5 % less
    // Whichever comes first answers; the rest find nothing left to say.
    auto answer = std::make_shared<Done>(std::move(done));
    const auto reply = [answer](const DeviceReply &r) {
        if (*answer)
            std::exchange(*answer, nullptr)(r);
    };
    const QString program = request.program;
    connect(timer, &QTimer::timeout, this, [this, p, reply] {
        reply(failed(timeoutReason(m_timeoutMs) + tr("プログラムを止めました。"), true));
        stop(p);
    });
    connect(p, &QProcess::errorOccurred, this, [p, reply, program](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return; // the others end in finished()
        const bool found = program.contains(QLatin1Char('/'))
                               ? QFileInfo::exists(program)
                               : !QStandardPaths::findExecutable(program).isEmpty();
        reply(failed(found ? tr("プログラム「%1」を起動できません（%2）。").arg(program, p->errorString())
                           : tr("プログラム「%1」が見つかりません。").arg(program)));
        p->deleteLater();
    });
    connect(p, &QProcess::finished, this, [p, reply](int code, QProcess::ExitStatus status) {
        const QString said = lastLine(p->readAllStandardError());
        if (status == QProcess::CrashExit)
            reply(failed(tr("プログラムが途中で終わりました。") + said));
        else if (code != 0)
            reply(failed(tr("プログラムが失敗しました（終了コード %1）。").arg(code) + said));
        else
            reply(DeviceReply{true, false, {}, {}});
        p->deleteLater();
    });
#ifdef Q_OS_UNIX
    // A group of its own, so a script's children (a relay held on, a sleep) stop with it.
    p->setChildProcessModifier([] { ::setpgid(0, 0); });
#endif
    timer->start(m_timeoutMs);
    p->start(request.program, request.arguments);
}

void SystemDeviceActions::stop(QProcess *p)
{
#ifdef Q_OS_UNIX
    // A terminate first, so a bed or a light script can switch its relay off on the way out.
    if (const qint64 pid = p->processId(); pid > 0) {
        const auto group = -pid_t(pid);
        ::kill(group, SIGTERM);
        // On this object, not the process: children may outlive the script that started them.
        QTimer::singleShot(m_stopGraceMs, this, [group] { ::kill(group, SIGKILL); });
        return;
    }
#endif
    p->kill();
}

void SystemDeviceActions::ask(const DeviceRequest &request, Done done)
{
    const bool service = request.kind == DeviceRequest::Kind::Service;
    const QString path = service ? QStringLiteral("/api/services/%1/%2").arg(request.domain, request.service)
                                 : QStringLiteral("/api/states/%1").arg(request.entity);
    QNetworkRequest http(QUrl(request.server.toString(QUrl::StripTrailingSlash) + path));
    http.setRawHeader("Authorization", "Bearer " + request.token.toUtf8());
    http.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    http.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply *r = nullptr;
    if (service)
        r = m_network.post(http, QJsonDocument(QJsonObject{{QStringLiteral("entity_id"), request.entity}})
                                     .toJson(QJsonDocument::Compact));
    else
        r = m_network.get(http);
    auto *timer = new QTimer(r);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer); // "3 s" means 3 s, not up to 5 % less
    auto timedOut = std::make_shared<bool>(false);
    connect(timer, &QTimer::timeout, this, [r, timedOut] {
        *timedOut = true;
        r->abort();
    });
    connect(r, &QNetworkReply::finished, this, [this, r, timedOut, service, done = std::move(done)] {
        r->deleteLater();
        if (*timedOut) {
            done(failed(timeoutReason(m_timeoutMs), true));
            return;
        }
        const int status = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (r->error() != QNetworkReply::NoError || status < 200 || status >= 300) {
            done(failed(httpReason(status, r->error(), r->errorString())));
            return;
        }
        DeviceReply ok{true, false, {}, {}};
        if (!service) {
            const QJsonDocument doc = QJsonDocument::fromJson(r->readAll());
            ok.state = doc.object().value(QStringLiteral("state")).toString();
            if (ok.state.isEmpty()) {
                done(failed(tr("機器のサーバーの答えに状態がありません。")));
                return;
            }
        }
        done(ok);
    });
    timer->start(m_timeoutMs);
}
