// The devices file, the keys' results and states over a fake runner, and the
// devices screen as the main window opens it and a scan walks it.
#include "access/accesscontrol.h"
#include "access/accesssettings.h"
#include "access/scantargets.h"
#include "devices/devicekeys.h"
#include "devices/devices.h"
#include "devices/devicesetup.h"
#include "devices/devicesscreen.h"
#include "platform/controls.h"
#include "platform/privatefile.h"
#include "support/talkfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTest>
#include <deque>
#include <sys/stat.h>

namespace {

// Keeps every request, answered when the test says.
class HeldActions final : public DeviceActions
{
public:
    struct Pending
    {
        DeviceRequest request;
        Done done;
    };
    void run(const DeviceRequest &request, Done done) override
    {
        pending.push_back({request, std::move(done)});
    }
    void answer(const DeviceReply &reply)
    {
        Pending p = std::move(pending.front());
        pending.pop_front();
        p.done(reply);
    }
    std::deque<Pending> pending;
};

DeviceReply ok(const QString &state = {})
{
    return {true, false, state, {}};
}

DeviceReply failure(const QString &reason)
{
    return {false, false, {}, reason};
}

DeviceList sampleList()
{
    DeviceList list;
    list.server = QUrl(QStringLiteral("http://192.168.1.10:8123"));
    list.token = QStringLiteral("eyJhbGciOiJIUzI1NiJ9.long-lived.token-ABCD");
    list.keys << DeviceKey{QStringLiteral("テレビ"),
                           QStringLiteral("テレビをつけます"),
                           DeviceKey::Kind::Program,
                           QStringLiteral("irsend"),
                           {QStringLiteral("SEND_ONCE"), QStringLiteral("tv"), QStringLiteral("KEY_POWER")},
                           {},
                           {}};
    list.keys << DeviceKey{QStringLiteral("明かり"),
                           {},
                           DeviceKey::Kind::HomeAssistant,
                           {},
                           {},
                           QStringLiteral("light.toggle"),
                           QStringLiteral("light.bedroom")};
    list.keys << DeviceKey{QStringLiteral("ベッドを起こす"), {}, DeviceKey::Kind::HomeAssistant, {}, {},
                           QStringLiteral("script.bed_up"),  {}};
    return list;
}

QByteArray withKey(const char *key)
{
    return "{\"homeassistant\":{\"url\":\"http://h:8123\",\"token\":\"t\"},\"keys\":[" + QByteArray(key) +
           "]}";
}

// A program key that notes each run in a file, in a program started with these ways of pressing.
struct RoomFixture
{
    explicit RoomFixture(const QHash<QString, QString> &access) : f({}, false, true)
    {
        const QString program = dir.filePath(QStringLiteral("tv"));
        QFile script(program);
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\necho \"$@\" >> \"$0.runs\"\n");
        script.close();
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        DeviceList list;
        list.keys << DeviceKey{QStringLiteral("テレビ"),
                               {},
                               DeviceKey::Kind::Program,
                               program,
                               {QStringLiteral("power")},
                               {},
                               {}};
        PrivateFile::write(dir.filePath(QStringLiteral("devices.json")), SerializeDeviceList(list), nullptr);
        f.accessSettings.values = access;
        f.program().shared.sv.devicesFile = dir.filePath(QStringLiteral("devices.json"));
        if (!f.start())
            qFatal("start-up failed");
        f.program().access.setManualTicks(true);
    }
    int runs()
    {
        QTest::qWait(300); // a run that was started has time to note itself
        QFile file(dir.filePath(QStringLiteral("tv.runs")));
        return file.open(QIODevice::ReadOnly) ? int(file.readAll().count('\n')) : 0;
    }
    QTemporaryDir dir;
    TalkFixture f;
};

} // namespace

class TestDevices : public QObject
{
    Q_OBJECT

private slots:
    void theFileRoundTrips()
    {
        const DeviceList list = sampleList();
        DeviceList back;
        QString error;
        QVERIFY2(ParseDeviceList(SerializeDeviceList(list), &back, &error), qPrintable(error));
        QCOMPARE(back, list);
        QVERIFY(ParseDeviceList("{\"keys\":[]}", &back, &error));
        QCOMPARE(back.keys.size(), 0);
    }

    void badFilesAreRefusedSayingWhere_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("said");
        QTest::newRow("not JSON") << QByteArray("{\"keys\": [") << QStringLiteral("JSON");
        QTest::newRow("no keys") << QByteArray("{\"key\": []}") << QStringLiteral("keys");
        QTest::newRow("a list") << QByteArray("[]") << QStringLiteral("keys");
        QTest::newRow("key not an object") << withKey("3") << QStringLiteral("1 番目");
        QTest::newRow("no caption") << withKey("{\"program\":\"irsend\"}") << QStringLiteral("名前");
        QTest::newRow("no program") << withKey("{\"caption\":\"a\",\"program\":\"\"}")
                                    << QStringLiteral("プログラム");
        QTest::newRow("service out of the path")
            << withKey("{\"caption\":\"a\",\"service\":\"light/../../config\"}")
            << QStringLiteral("light.turn_on");
        QTest::newRow("entity out of the path")
            << withKey("{\"caption\":\"a\",\"service\":\"light.turn_on\",\"entity\":\"light.x/../y\"}")
            << QStringLiteral("light.bedroom");
        QTest::newRow("no server") << QByteArray(
                                          "{\"keys\":[{\"caption\":\"a\",\"service\":\"light.turn_on\"}]}")
                                   << QStringLiteral("アドレス");
        QTest::newRow("server not http")
            << QByteArray(
                   "{\"homeassistant\":{\"url\":\"file:///"
                   "etc\",\"token\":\"t\"},\"keys\":[{\"caption\":\"a\",\"service\":\"light.turn_on\"}]}")
            << QStringLiteral("アドレス");
        QTest::newRow("no token") << QByteArray(
                                         "{\"homeassistant\":{\"url\":\"http://"
                                         "h\"},\"keys\":[{\"caption\":\"a\",\"service\":\"light.turn_on\"}]}")
                                  << QStringLiteral("トークン");
        // A value of another type would be read as empty and saved so: it is named instead.
        QTest::newRow("arguments not a list")
            << withKey("{\"caption\":\"a\",\"program\":\"irsend\",\"arguments\":\"SEND_ONCE tv\"}")
            << QStringLiteral("「arguments」は文字列の一覧");
        QTest::newRow("a number among the arguments")
            << withKey("{\"caption\":\"a\",\"program\":\"irsend\",\"arguments\":[\"ch\",3]}")
            << QStringLiteral("「arguments」");
        QTest::newRow("say not a string") << withKey("{\"caption\":\"a\",\"program\":\"p\",\"say\":5}")
                                          << QStringLiteral("1 番目のキー：「say」は文字列");
        QTest::newRow("server not an object")
            << QByteArray("{\"homeassistant\":\"http://h\",\"keys\":[]}") << QStringLiteral("homeassistant");
        QTest::newRow("token not a string")
            << QByteArray("{\"homeassistant\":{\"url\":\"http://h\",\"token\":12},\"keys\":[]}")
            << QStringLiteral("「token」");
        QByteArray many = "{\"keys\":[";
        for (int i = 0; i <= DeviceList::MaxKeys; ++i)
            many += QByteArray(i ? "," : "") + "{\"caption\":\"k\",\"program\":\"p\"}";
        QTest::newRow("too many keys") << many + "]}" << QStringLiteral("多すぎます");
    }
    void badFilesAreRefusedSayingWhere()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, said);
        DeviceList list = sampleList();
        QString error;
        QVERIFY(!ParseDeviceList(bytes, &list, &error));
        QVERIFY2(error.contains(said), qPrintable(error));
        QCOMPARE(list, sampleList()); // untouched
    }

    void theFileIsTheUsersAloneAndNeverAFifo()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Talk/devices.json"));
        QByteArray bytes;
        QString error;
        QCOMPARE(PrivateFile::read(path, &bytes, &error), PrivateFile::ReadResult::Missing);
        QVERIFY2(PrivateFile::write(path, "one", &error), qPrintable(error));
        QCOMPARE(QFile::permissions(path) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(PrivateFile::write(path, "two", &error));
        QCOMPARE(PrivateFile::read(path, &bytes, &error), PrivateFile::ReadResult::Read);
        QCOMPARE(bytes, QByteArray("two"));

        // A FIFO would wait for a writer for ever: it is refused, not opened.
        const QString fifo = dir.filePath(QStringLiteral("fifo.json"));
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QCOMPARE(PrivateFile::read(fifo, &bytes, &error), PrivateFile::ReadResult::Refused);
        QVERIFY(error.contains(QStringLiteral("普通のファイル")));
        QVERIFY(!PrivateFile::write(fifo, "x", &error));

        const QString big = dir.filePath(QStringLiteral("big.json"));
        QFile f(big);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.resize(PrivateFile::MaxBytes + 1);
        f.close();
        QCOMPARE(PrivateFile::read(big, &bytes, &error), PrivateFile::ReadResult::Refused);
    }

    void theTokenIsNeverShownWhole()
    {
        const QString token = sampleList().token;
        const QString shown = MaskedToken(token);
        QVERIFY(shown.endsWith(QStringLiteral("ABCD")));
        QVERIFY(!shown.contains(token.left(5)));
        QVERIFY(!MaskedToken(QStringLiteral("short-secret")).contains(QStringLiteral("cret")));
        QCOMPARE(MaskedToken(QString()), QString());
    }

    void aPressShowsItsResultAndTheState()
    {
        HeldActions actions;
        DeviceKeys keys(actions);
        keys.setList(sampleList());
        QStringList said;
        keys.speak = [&said](const QString &text) { said << text; };

        QVERIFY(keys.press(0));
        QCOMPARE(actions.pending.size(), size_t(1));
        QCOMPARE(actions.pending.front().request.program, QStringLiteral("irsend"));
        QCOMPARE(keys.view(0).look, DeviceKeys::Look::Busy);
        QCOMPARE(said, QStringList{QStringLiteral("テレビをつけます")});
        actions.answer(ok());
        QCOMPARE(keys.view(0).look, DeviceKeys::Look::Done);
        QCOMPARE(actions.pending.size(), size_t(0)); // a program has no state to read

        QVERIFY(keys.press(1));
        const DeviceRequest sent = actions.pending.front().request;
        QCOMPARE(sent.kind, DeviceRequest::Kind::Service);
        QCOMPARE(sent.domain, QStringLiteral("light"));
        QCOMPARE(sent.service, QStringLiteral("toggle"));
        QCOMPARE(sent.entity, QStringLiteral("light.bedroom"));
        actions.answer(ok());
        QCOMPARE(actions.pending.front().request.kind, DeviceRequest::Kind::State);
        actions.answer(ok(QStringLiteral("on")));
        QCOMPARE(keys.view(1).look, DeviceKeys::Look::State);
        QCOMPARE(keys.view(1).line, QStringLiteral("ついています"));
        DeviceList twoKeys = sampleList();
        twoKeys.keys[0] = twoKeys.keys[1];
        twoKeys.keys[0].service = QStringLiteral("light.turn_off");
        DeviceKeys same(actions);
        same.setList(twoKeys);
        same.press(1);
        actions.answer(ok());
        actions.answer(ok(QStringLiteral("on")));
        QCOMPARE(same.view(0).line, QStringLiteral("ついています")); // the other key on the light too
        // A television's or a bed's state is said in words, never in the server's English.
        QCOMPARE(StateWords(QStringLiteral("standby")), QStringLiteral("待っています"));
        QCOMPARE(StateWords(QStringLiteral("heat")), QStringLiteral("ようす：heat"));
        QCOMPARE(StateWords(QStringLiteral("45")), QStringLiteral("45"));

        // A failure is shown with its reason and said once; a failed state read says nothing.
        QVERIFY(keys.press(2));
        actions.answer(failure(QStringLiteral("3秒待っても答えがありません。")));
        QCOMPARE(keys.view(2).look, DeviceKeys::Look::Failed);
        QVERIFY(keys.view(2).line.contains(QStringLiteral("3秒")));
        QCOMPARE(said.size(), 2);
        QVERIFY(said.last().startsWith(QStringLiteral("ベッドを起こす")));
        keys.readStates();
        QCOMPARE(actions.pending.size(), size_t(1)); // only the light has a state
        actions.answer(failure(QStringLiteral("x")));
        QCOMPARE(said.size(), 2);

        // No answer in time is no failure: the light may be coming on. It is said so, and looked at.
        QVERIFY(keys.press(1));
        actions.answer({false, true, {}, QStringLiteral("3秒待っても答えがありません。")});
        QCOMPARE(keys.view(1).look, DeviceKeys::Look::Unknown);
        QVERIFY(keys.view(1).line.startsWith(QStringLiteral("返事がありません")));
        QVERIFY(said.last().contains(QStringLiteral("届いたかわかりません")));
        QVERIFY(!said.last().contains(QStringLiteral("できませんでした")));
        QCOMPARE(actions.pending.front().request.kind, DeviceRequest::Kind::State);
        actions.answer(ok(QStringLiteral("on")));
        QCOMPARE(keys.view(1).line, QStringLiteral("ついています"));
    }

    // The line above the keys tells a key's failure until that key works again, not after.
    void theMessageLineDropsAFailureOnceTheKeyWorks()
    {
        HeldActions actions;
        DeviceKeys keys(actions);
        keys.setList(sampleList());
        DevicesScreen screen(keys, nullptr, {}, QString());
        auto *message = screen.findChild<QLabel *>(QStringLiteral("lblDevicesMessage"));
        QVERIFY(keys.press(0));
        actions.answer(failure(QStringLiteral("リモコンがありません")));
        QVERIFY(message->text().contains(QStringLiteral("リモコンがありません")));
        QVERIFY(keys.press(2)); // another key working leaves it
        actions.answer(ok());
        QVERIFY(message->text().contains(QStringLiteral("リモコンがありません")));
        QVERIFY(keys.press(0));
        QVERIFY(!message->text().isEmpty()); // still true while it is being tried
        actions.answer(ok());
        QCOMPARE(message->text(), QString());

        // No answer in time: the key says nobody knows, not that it failed (pressed again, a
        // television that did come on would go off), and the whole reason is seen above it.
        QVERIFY(keys.press(0));
        const QString longReason = QStringLiteral("3秒待っても答えがありません。プログラムを止めました。") +
                                   QStringLiteral("リモコンの電池と向きを確かめてください。").repeated(6);
        actions.answer({false, true, {}, longReason});
        ColorButton *tv = screen.keyButtons()[0];
        QVERIFY2(tv->text().endsWith(QStringLiteral("わかりません")), qPrintable(tv->text()));
        QVERIFY(!tv->text().contains(QStringLiteral("できません")));
        QVERIFY(tv->accessibleName().startsWith(tv->text().replace(u'\n', QStringLiteral("、"))));
        QVERIFY(tv->accessibleName().contains(longReason));
        QVERIFY(message->text().endsWith(longReason));
        QVERIFY(message->heightForWidth(message->width()) <= message->height());
    }

    void aHeldPressSendsOneAction()
    {
        HeldActions actions;
        DeviceKeys keys(actions);
        keys.setList(sampleList());
        QVERIFY(keys.press(0));
        QVERIFY(!keys.press(0));
        QVERIFY(!keys.press(0));
        QVERIFY(keys.press(1)); // another key is not held up by the first
        QCOMPARE(actions.pending.size(), size_t(2));
        actions.answer(ok());
        QVERIFY(keys.press(0)); // a new press after the first has ended
        QVERIFY(!keys.press(7));
    }

    void aReplyForOldKeysChangesNothing()
    {
        HeldActions actions;
        DeviceKeys keys(actions);
        keys.setList(sampleList());
        keys.press(0);
        DeviceList other;
        other.keys << DeviceKey{
            QStringLiteral("扇風機"), {}, DeviceKey::Kind::Program, QStringLiteral("fan"), {}, {}, {}};
        keys.setList(other);
        actions.answer(failure(QStringLiteral("old")));
        QCOMPARE(keys.view(0).look, DeviceKeys::Look::Idle);
        QVERIFY(keys.press(0));
    }

    void keysStayLargeEnough()
    {
        for (int n : {1, 3, 4, 9, DeviceList::MaxKeys}) {
            const QList<QRect> places = DeviceKeyPlaces(n);
            QCOMPARE(places.size(), n);
            for (const QRect &r : places)
                QVERIFY2(r.height() >= 44 * 15 && r.width() >= 44 * 15, qPrintable(QString::number(n)));
            for (int i = 1; i < n; ++i)
                QVERIFY(!places[i].intersects(places[i - 1]));
        }
    }

    void commandLinesSplitBackAsWritten()
    {
        const QStringList args{QStringLiteral("SEND_ONCE"),    QStringLiteral("living room"),
                               QStringLiteral("KEY_\"X\""),    QString(),
                               QStringLiteral("居間　テレビ"), QStringLiteral("a\tb")};
        QStringList words = SplitCommandLine(JoinCommandLine(QStringLiteral("irsend"), args));
        QCOMPARE(words.takeFirst(), QStringLiteral("irsend"));
        QCOMPARE(words, args);
        // A line written by hand reads as the bell's command line reads.
        const QString typed = QStringLiteral("  irsend \"a b\" c\"\"\"d  e  ");
        QCOMPARE(SplitCommandLine(typed), QProcess::splitCommand(typed));
    }

    // The main window's key opens the screen over it; a scan offers the call
    // first, then 戻る, the devices row by row, and the carer's setup last.
    void theScreenIsScannedCallFirst()
    {
        TalkFixture f({}, false, true);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("devices.json"));
        QString error;
        QVERIFY(PrivateFile::write(file, SerializeDeviceList(sampleList()), &error));
        f.program().shared.sv.devicesFile = file;
        QVERIFY(f.start());
        auto *key = f.window().findChild<QPushButton *>(QStringLiteral("cmdDevices"));
        QVERIFY(key);
        QCOMPARE(key->text(), QStringLiteral("機器"));
        // The key stands where nothing else does.
        for (QWidget *other : f.window().findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (other != key && other->isVisible() && !other->inherits("HighlightFrame"))
                QVERIFY2(!other->geometry().intersects(key->geometry()), qPrintable(other->objectName()));

        QStringList names;
        QString kind;
        f.modal.answers.push_back([&](QDialog &d) {
            d.show();
            ScanControls c{};
            c.window = &f.window();
            const ScanScreen screen = ReadScreen(c, *f.window().state, AccessSettings());
            kind = screen.kind;
            for (const ScanNode &n : screen.tree.children)
                names << (n.isGroup() ? n.children.front().label + QStringLiteral("…") : n.label);
            d.accept();
        });
        key->click();
        QCOMPARE(kind, QStringLiteral("frmDevices"));
        QCOMPARE(names, (QStringList{QStringLiteral("呼び出し"), QStringLiteral("戻る"),
                                     QStringLiteral("テレビ…"), QStringLiteral("設定")}));
        QVERIFY(f.window().txtTalk->hasFocus() || !f.window().isActiveWindow());
    }

    // A pointer that rests on a key presses it once, however long it stays.
    void aDwellThatStaysSendsOneAction()
    {
        RoomFixture room({{QStringLiteral("Method"), QStringLiteral("1")},
                          {QStringLiteral("DwellMs"), QStringLiteral("800")}});
        AccessControl &access = room.f.program().access;
        int before = -1, after = -1;
        room.f.modal.answers.push_back([&](QDialog &screen) {
            screen.show();
            auto *tv = screen.findChild<QPushButton *>(QStringLiteral("cmdDevice"));
            const QPoint at = tv->mapToGlobal(tv->rect().center());
            for (int ms = 0; ms <= 5000; ms += AccessControl::DwellSampleMs)
                access.pointerAt(at, ms);
            after = room.runs();
            before = 0;
            screen.accept();
        });
        auto *key = room.f.window().findChild<QPushButton *>(QStringLiteral("cmdDevices"));
        const QPoint entry = key->mapToGlobal(key->rect().center());
        for (int ms = 10000; ms <= 11000; ms += AccessControl::DwellSampleMs)
            access.pointerAt(entry, ms); // the main window's key, by dwell too
        QCOMPARE(before, 0);
        QCOMPARE(after, 1);
    }

    // One switch: the key is reached by the scan, and a switch held down
    // (the keyboard repeating it) sends one action.
    void aHeldSwitchSendsOneAction()
    {
        RoomFixture room({{QStringLiteral("Method"), QStringLiteral("2")}});
        AccessControl &access = room.f.program().access;
        access.tick();
        QStringList seen;
        int runs = -1;
        room.f.modal.answers.push_back([&](QDialog &screen) {
            screen.show();
            access.tick();
            for (int i = 0; i < 10 && access.scanner().highlighted()->label != QStringLiteral("テレビ");
                 ++i) {
                seen << access.scanner().highlighted()->label;
                access.tick();
            }
            QKeyEvent down(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
            QApplication::sendEvent(&screen, &down);
            for (int i = 0; i < 20; ++i) {
                QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QString(), true);
                QApplication::sendEvent(&screen, &repeat);
            }
            QKeyEvent up(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier);
            QApplication::sendEvent(&screen, &up);
            runs = room.runs();
            screen.accept();
        });
        // The devices key, in the main window's last group.
        for (int i = 0; i < 40 && access.scanner().highlighted()->label != room.f.window().cmdKey->text();
             ++i)
            access.tick();
        QTest::keyClick(&room.f.window(), Qt::Key_Space);
        for (int i = 0; i < 10 && access.scanner().highlighted()->label != QStringLiteral("機器"); ++i)
            access.tick();
        QTest::keyClick(&room.f.window(), Qt::Key_Space);
        QCOMPARE(room.f.modal.shown, QStringList{QStringLiteral("frmDevices")});
        QCOMPARE(seen.value(0), QStringLiteral("呼び出し"));
        QCOMPARE(runs, 1);
    }

    void aMalformedFileIsReportedAndLeftAlone()
    {
        TalkFixture f({}, false, true);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("devices.json"));
        const QByteArray bad = "{\"keys\": [ {\"caption\": \"テレビ\", ";
        QVERIFY(PrivateFile::write(file, bad, nullptr));
        f.program().shared.sv.devicesFile = file;
        QVERIFY(f.start());
        QString message;
        f.modal.answers.push_back([&](QDialog &screen) {
            message = screen.findChild<QLabel *>(QStringLiteral("lblDevicesMessage"))->text();
            screen.findChild<QPushButton *>(QStringLiteral("cmdDevicesSetup"))->click();
            screen.accept();
        });
        QString setupSaid;
        bool setupHasCall = false;
        f.modal.answers.push_back([&](QDialog &setup) {
            auto *d = static_cast<DeviceSetupDialog *>(&setup);
            setupHasCall = d->findChild<QPushButton *>(QStringLiteral("cmdCall"));
            d->txtCaption->setText(QStringLiteral("扇風機"));
            d->txtCommand->setText(QStringLiteral("fan on"));
            d->cmdAdd->click();
            d->cmdSave->click();
            setupSaid = d->lblResult->text();
        });
        f.window().findChild<QPushButton *>(QStringLiteral("cmdDevices"))->click();
        QVERIFY2(message.contains(QStringLiteral("正しくない")) && message.contains(file),
                 qPrintable(message));
        QVERIFY(setupSaid.contains(QStringLiteral("上書きしません")));
        QVERIFY(setupHasCall);
        QFile back(file);
        QVERIFY(back.open(QIODevice::ReadOnly));
        QCOMPARE(back.readAll(), bad);
    }

    void theSetupKeepsKeysInTheirOrderAndTheToken()
    {
        HeldActions actions;
        DeviceList saved;
        int saves = 0;
        DeviceSetupDialog d(
            sampleList(), actions,
            [&](const DeviceList &list, QString *) {
                saved = list;
                ++saves;
                return true;
            },
            QString(), nullptr);
        QVERIFY(!d.txtToken->placeholderText().contains(sampleList().token.left(8)));
        QVERIFY(d.txtToken->text().isEmpty());
        d.lstKeys->setCurrentRow(2);
        d.cmdUp->click();
        d.lstKeys->setCurrentRow(0);
        d.cmdRemove->click();
        d.txtCaption->setText(QStringLiteral("扇風機"));
        d.cmbKind->setCurrentIndex(0);
        d.txtCommand->setText(QStringLiteral("/usr/bin/relay \"fan 1\" on"));
        d.cmdAdd->click();
        d.cmdTry->click();
        QCOMPARE(actions.pending.size(), size_t(1));
        QCOMPARE(actions.pending.front().request.arguments,
                 (QStringList{QStringLiteral("fan 1"), QStringLiteral("on")}));
        // A key changed in the fields but not yet 変更'd is never saved as if it were, nor dropped.
        d.txtCaption->setText(QStringLiteral("せんぷうき"));
        d.cmdSave->click();
        QCOMPARE(saves, 0);
        QVERIFY(d.lblResult->text().contains(QStringLiteral("変更")));
        d.txtCaption->setText(QStringLiteral("扇風機"));
        d.cmdSave->click();
        QCOMPARE(saves, 1);
        QCOMPARE(saved.token, sampleList().token); // an empty field keeps it
        QStringList captions;
        for (const DeviceKey &k : saved.keys)
            captions << k.caption;
        QCOMPARE(captions, (QStringList{QStringLiteral("ベッドを起こす"), QStringLiteral("明かり"),
                                        QStringLiteral("扇風機")}));

        // Every key removed: the list saves empty, the removed key's fields are no key being written.
        while (d.lstKeys->count() > 0) {
            d.lstKeys->setCurrentRow(0);
            d.cmdRemove->click();
        }
        d.cmdSave->click();
        QCOMPARE(saves, 2);
        QVERIFY(saved.keys.isEmpty());

        // A key that cannot be used is not added, and says why.
        d.txtCaption->setText(QString());
        d.cmdAdd->click();
        QVERIFY(d.lblResult->text().contains(QStringLiteral("名前")));
    }
};

QTEST_MAIN(TestDevices)
#include "test_devices.moc"
