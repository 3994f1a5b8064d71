// Device actions against a fake home server on 127.0.0.1 and fake programs:
// what is sent, what comes back, and that nothing waits past the time-out.
#include "devices/devicekeys.h"
#include "platform/deviceactions.h"
#include "support/fakehomeassistant.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

namespace {

constexpr int ShortTimeoutMs = 400; // the program's 3 s, shortened so the tests do not wait for it

DeviceRequest service(const FakeHomeAssistant &ha, const QString &name, const QString &entity)
{
    DeviceRequest r;
    r.kind = DeviceRequest::Kind::Service;
    r.server = QUrl(ha.url());
    r.token = QString::fromLatin1(ha.token);
    r.domain = name.section(QLatin1Char('.'), 0, 0);
    r.service = name.section(QLatin1Char('.'), 1);
    r.entity = entity;
    return r;
}

DeviceRequest program(const QString &path, const QStringList &arguments)
{
    DeviceRequest r;
    r.program = path;
    r.arguments = arguments;
    return r;
}

// Runs one request and waits for its one reply.
DeviceReply runOne(DeviceActions &actions, const DeviceRequest &request)
{
    std::optional<DeviceReply> got;
    int replies = 0;
    actions.run(request, [&](const DeviceReply &r) {
        got = r;
        ++replies;
    });
    if (!QTest::qWaitFor([&] { return got.has_value(); }, 10000))
        qFatal("no reply");
    QTest::qWait(50);
    if (replies != 1)
        qFatal("a request was answered %d times", replies);
    return *got;
}

} // namespace

class TestDeviceActions : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // Whether the process whose number a script wrote is still alive (a zombie is not).
    static bool running(const QString &pidFile)
    {
        QFile f(pidFile);
        if (!f.open(QIODevice::ReadOnly))
            return false;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(f.readAll().trimmed())));
        if (!stat.open(QIODevice::ReadOnly))
            return false;
        const QByteArray line = stat.readAll();
        return !line.mid(line.lastIndexOf(')') + 2, 1).startsWith('Z');
    }

    // A program that writes its arguments, one a line, to a file and exits with the code given.
    QString fakeProgram(const QString &name, const QString &body)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("#!/bin/sh\n" + body.toUtf8() + "\n");
        f.close();
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return path;
    }

private slots:
    void serviceCallSendsPathTokenAndEntity()
    {
        FakeHomeAssistant ha;
        ha.states["light.bedroom"] = "off";
        SystemDeviceActions actions(ShortTimeoutMs);
        const DeviceReply r =
            runOne(actions, service(ha, QStringLiteral("light.turn_on"), QStringLiteral("light.bedroom")));
        QVERIFY2(r.ok, qPrintable(r.reason));
        QCOMPARE(ha.requests.size(), 1);
        QCOMPARE(ha.requests[0].method, QByteArray("POST"));
        QCOMPARE(ha.requests[0].path, QByteArray("/api/services/light/turn_on"));
        QCOMPARE(ha.requests[0].authorization, QByteArray("Bearer secret-token"));
        QCOMPARE(ha.requests[0].body, QByteArray("{\"entity_id\":\"light.bedroom\"}"));
        QCOMPARE(ha.states["light.bedroom"], QByteArray("on"));

        DeviceRequest state = service(ha, QStringLiteral("light.turn_on"), QStringLiteral("light.bedroom"));
        state.kind = DeviceRequest::Kind::State;
        const DeviceReply s = runOne(actions, state);
        QVERIFY(s.ok);
        QCOMPARE(s.state, QStringLiteral("on"));
        QCOMPARE(ha.requests.last().path, QByteArray("/api/states/light.bedroom"));
        QCOMPARE(ha.requests.last().method, QByteArray("GET"));
    }

    void serverErrorsAreToldWithTheirReason()
    {
        FakeHomeAssistant ha;
        ha.states["light.bedroom"] = "off";
        SystemDeviceActions actions(ShortTimeoutMs);
        DeviceRequest wrongToken =
            service(ha, QStringLiteral("light.turn_on"), QStringLiteral("light.bedroom"));
        wrongToken.token = QStringLiteral("stale");
        DeviceReply r = runOne(actions, wrongToken);
        QVERIFY(!r.ok);
        QVERIFY2(r.reason.contains(QStringLiteral("トークン")), qPrintable(r.reason));

        DeviceRequest missing = service(ha, QStringLiteral("light.turn_on"), QStringLiteral("light.bedroom"));
        missing.kind = DeviceRequest::Kind::State;
        missing.entity = QStringLiteral("light.attic");
        r = runOne(actions, missing);
        QVERIFY(!r.ok);
        QVERIFY(r.reason.contains(QStringLiteral("404")));

        ha.answer = FakeHomeAssistant::Answer::Status;
        ha.status = 500;
        r = runOne(actions, service(ha, QStringLiteral("light.turn_on"), QStringLiteral("light.bedroom")));
        QVERIFY(!r.ok);
        QVERIFY(r.reason.contains(QStringLiteral("500")));
        QVERIFY(!r.timedOut);
    }

    void aServerThatIsAwayOrSilentIsTold()
    {
        FakeHomeAssistant ha;
        ha.answer = FakeHomeAssistant::Answer::Silence;
        SystemDeviceActions actions(ShortTimeoutMs);
        DeviceReply r =
            runOne(actions, service(ha, QStringLiteral("light.turn_on"), QStringLiteral("light.bedroom")));
        QVERIFY(!r.ok);
        QVERIFY(r.timedOut);
        QVERIFY2(r.reason.contains(QStringLiteral("答えがありません")), qPrintable(r.reason));
        QCOMPARE(ha.requests.size(), 1); // it was asked, and kept silent

        // Nothing listens on the port any more.
        DeviceRequest away = service(ha, QStringLiteral("light.turn_on"), QStringLiteral("light.bedroom"));
        {
            QTcpServer closed;
            closed.listen(QHostAddress::LocalHost);
            away.server = QUrl(QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort()));
        }
        r = runOne(actions, away);
        QVERIFY(!r.ok);
        // Said in Japanese, not in Qt's English, which the voice would read out.
        QVERIFY2(r.reason.contains(QStringLiteral("断られました")), qPrintable(r.reason));
        QVERIFY2(!r.reason.contains(QStringLiteral("refused"), Qt::CaseInsensitive), qPrintable(r.reason));
    }

    void programsRunWithoutAShell()
    {
        SystemDeviceActions actions(ShortTimeoutMs);
        const QString record = m_dir.filePath(QStringLiteral("args.txt"));
        const QString ok =
            fakeProgram(QStringLiteral("irsend"), QStringLiteral("printf '%s\\n' \"$@\" > '%1'").arg(record));
        // Quotes, a semicolon and a $ reach the program as they are: no shell reads them.
        DeviceReply r =
            runOne(actions, program(ok, {QStringLiteral("SEND_ONCE"), QStringLiteral("tv power; rm x"),
                                         QStringLiteral("$HOME")}));
        QVERIFY2(r.ok, qPrintable(r.reason));
        QFile f(record);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("SEND_ONCE\ntv power; rm x\n$HOME\n"));

        r = runOne(actions, program(fakeProgram(QStringLiteral("fails"),
                                                QStringLiteral("echo 'no such remote' >&2; exit 3")),
                                    {}));
        QVERIFY(!r.ok);
        QVERIFY2(r.reason.contains(QStringLiteral("3")) &&
                     r.reason.contains(QStringLiteral("no such remote")),
                 qPrintable(r.reason));

        r = runOne(actions, program(m_dir.filePath(QStringLiteral("absent")), {}));
        QVERIFY(!r.ok);
        QVERIFY(r.reason.contains(QStringLiteral("見つかりません")));
    }

    // A program past the time-out is asked to stop first, so a script can switch its relay off, and
    // what it started stops with it; one that will not stop is killed after the grace, children too.
    void aProgramThatHangsIsStoppedAndTold()
    {
        SystemDeviceActions actions(ShortTimeoutMs, 300);
        const QString tidied = m_dir.filePath(QStringLiteral("tidied"));
        const QString gentlePid = m_dir.filePath(QStringLiteral("gentle.pid"));
        DeviceReply r = runOne(
            actions,
            program(fakeProgram(QStringLiteral("hangs"), QStringLiteral("trap 'touch \"%1\"; exit 0' TERM\n"
                                                                        "sleep 30 & echo $! > '%2'\nwait")
                                                             .arg(tidied, gentlePid)),
                    {}));
        QVERIFY(!r.ok);
        QVERIFY(r.timedOut);
        QVERIFY(r.reason.contains(QStringLiteral("止めました")));
        QTRY_VERIFY(QFile::exists(tidied));
        QTRY_VERIFY(!running(gentlePid));

        const QString stubbornPid = m_dir.filePath(QStringLiteral("stubborn.pid"));
        r = runOne(
            actions,
            program(
                fakeProgram(QStringLiteral("stubborn"),
                            QStringLiteral("trap '' TERM\nsleep 30 & echo $! > '%1'\nwait").arg(stubbornPid)),
                {}));
        QVERIFY(r.timedOut);
        QVERIFY(running(stubbornPid));
        QTRY_VERIFY(!running(stubbornPid));
    }

    // The keys over the real requests: a light turned on shows its new state,
    // and a press repeated while the first is under way sends nothing more.
    void aKeyTurnsTheLightOnOncePerHeldPress()
    {
        FakeHomeAssistant ha;
        ha.states["light.bedroom"] = "off";
        SystemDeviceActions actions(ShortTimeoutMs);
        DeviceKeys keys(actions);
        DeviceList list;
        list.server = QUrl(ha.url());
        list.token = QString::fromLatin1(ha.token);
        list.keys << DeviceKey{QStringLiteral("明かり"),
                               QStringLiteral("明かりをつけます"),
                               DeviceKey::Kind::HomeAssistant,
                               {},
                               {},
                               QStringLiteral("light.turn_on"),
                               QStringLiteral("light.bedroom")};
        keys.setList(list);
        QStringList said;
        keys.speak = [&said](const QString &text) { said << text; };
        keys.readStates();
        QTRY_COMPARE(keys.view(0).line, QStringLiteral("消えています"));

        QVERIFY(keys.press(0));
        for (int i = 0; i < 5; ++i)
            QVERIFY(!keys.press(0)); // the switch still held, repeating
        QTRY_COMPARE(keys.view(0).line, QStringLiteral("ついています"));
        int posts = 0;
        for (const auto &r : ha.requests)
            posts += r.method == "POST";
        QCOMPARE(posts, 1);
        QCOMPARE(said, QStringList{QStringLiteral("明かりをつけます")});

        ha.answer = FakeHomeAssistant::Answer::Silence;
        QVERIFY(keys.press(0));
        QTRY_COMPARE(keys.view(0).look, DeviceKeys::Look::Unknown);
        QVERIFY(keys.view(0).line.contains(QStringLiteral("答えがありません")));
        QTest::qWait(ShortTimeoutMs + 200); // the state read that may follow speaks nothing
        QCOMPARE(said.size(), 3);
        QVERIFY(said.last().contains(QStringLiteral("届いたかわかりません"))); // it may yet come on
    }
};

QTEST_GUILESS_MAIN(TestDeviceActions)
#include "test_deviceactions.moc"
