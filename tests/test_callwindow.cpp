#include "access/accesscontrol.h"
#include "access/accessdialog.h"
#include "entries/mailwindow.h"
#include "shared/okdialog.h"
#include "support/talkfixture.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QWidget *coverOf(const QWidget *window)
{
    return window->findChild<QWidget *>(QStringLiteral("callCover"));
}

QPushButton *callKeyOf(const QWidget *window)
{
    return window->findChild<QPushButton *>(QStringLiteral("cmdCall"));
}

} // namespace

// The call on Pirokan's windows: every way of starting it, and the answer that presses nothing else.
class TestCallWindow : public QObject
{
    Q_OBJECT

private slots:
    void touchCallsAndAnyPressAnswersWithoutPressingWhatIsUnder()
    {
        TalkFixture f({}, true, true);
        QWidget *key = callKeyOf(&f.window());
        QVERIFY(key && key->isVisible());
        QVERIFY(key->height() >= 44 && key->width() >= 44);
        f.typed(QStringLiteral("あ[]"));
        const QString before = f.window().txtTalk->toPlainText();
        TalkFixture::press(key);
        QVERIFY(f.program().calling.controller().isCalling());
        QVERIFY(f.shared().state.calling()); // what records the room's sound waits
        QCOMPARE(f.chime.count(), size_t(1));
        QVERIFY(coverOf(&f.window()) && coverOf(&f.window())->isVisible());

        TalkFixture::press(f.window().cmdStart); // answers, and does not clear the text
        QVERIFY(!f.program().calling.controller().isCalling());
        QVERIFY(!f.shared().state.calling());
        QVERIFY(!coverOf(&f.window()));
        QCOMPARE(f.window().txtTalk->toPlainText(), before);
        QTest::keyClick(f.window().txtTalk, Qt::Key_A); // and the next press is an ordinary one again
        QVERIFY(!f.program().calling.controller().isCalling());

        // With quick second presses ignored (a tremor), a bounce of the press that called answers
        // nothing; a press after that time does.
        f.accessSettings.values = {{"IgnoreRepeatMs", "400"}};
        f.program().applyAccess();
        const QString typed = f.window().txtTalk->toPlainText();
        TalkFixture::press(key);
        TalkFixture::press(f.window().cmdStart);
        QVERIFY(f.program().calling.controller().isCalling());
        QCOMPARE(f.window().txtTalk->toPlainText(), typed); // and pressed nothing under the cover
        QTest::qWait(450);
        TalkFixture::press(f.window().cmdStart);
        QVERIFY(!f.program().calling.controller().isCalling());
    }

    void theMailWindowsKeyCallsAndIsClearOfTheBody()
    {
        TalkFixture f({}, true, true);
        MailWindow mail(f.shared(), &f.window(), {});
        mail.show();
        QPushButton *key = callKeyOf(&mail);
        QVERIFY(key && key->isVisible());
        QVERIFY(!key->geometry().intersects(mail.txtData->geometry()));
        TalkFixture::press(key);
        QVERIFY(f.program().calling.controller().isCalling());
        QVERIFY(coverOf(&mail) && coverOf(&mail)->isVisible());
    }

    void offLeavesTheWindowAsItWas()
    {
        TalkFixture plain;
        TalkFixture f({}, false, true);
        f.callSettings.values = {{"Enabled", "0"}};
        QVERIFY(f.start());
        QVERIFY(!callKeyOf(&f.window())->isVisible());
        QCOMPARE(f.window().txtTalk->geometry(), plain.window().txtTalk->geometry());
        QVERIFY(!f.shared().callForHelp);
    }

    void scanOffersTheCallLastAtTheTopAndDwellAndActionPressIt()
    {
        TalkFixture f({}, true, true);
        f.accessSettings.values = {{"Method", "2"}};
        f.program().applyAccess();
        f.program().access.setManualTicks(true);
        AccessControl &access = f.program().access;
        // Last of the top level, on the board and on the selection screen: one round reaches it,
        // and no character waits for it.
        auto lastIsTheCall = [&] {
            const ScanScreen &screen = access.screen();
            const ScanNode &last = screen.tree.children.back();
            return !last.isGroup() &&
                   screen.targets[size_t(last.target)].widget.data() == callKeyOf(&f.window());
        };
        QVERIFY(lastIsTheCall());
        TalkFixture::pressCell(f.window().grdBoard, 0, 8);
        access.tick();
        QCOMPARE(access.screen().kind, QStringLiteral("selection"));
        QVERIFY(lastIsTheCall());
        // While a call covers the selection screen, nothing under the cover is there to press.
        f.program().calling.controller().start(CallController::Way::Key);
        access.tick();
        for (const ScanTarget &t : access.screen().targets)
            QVERIFY(t.widget.data() != f.window().grdBoard2);
        f.program().calling.controller().acknowledge();
        access.tick();
        f.press(f.window().cmdEnd2);
        access.tick();
        QCOMPARE(access.screen().kind, QStringLiteral("board"));
        while (access.scanner().path().front() + 1 < int(access.screen().tree.children.size()))
            access.tick();
        QTest::keyClick(&f.window(), Qt::Key_Space); // the top level's last highlight, pressed by the switch
        QTRY_VERIFY(f.program().calling.controller().isCalling());
        QTest::keyClick(&f.window(), Qt::Key_Space); // any switch press answers
        QVERIFY(!f.program().calling.controller().isCalling());

        // Dwell and assistive tools press the same key the way a touch does.
        f.accessSettings.values = {{"Method", "1"}, {"DwellMs", "300"}};
        f.program().applyAccess();
        QWidget *key = callKeyOf(&f.window());
        const QPoint at = key->mapToGlobal(key->rect().center());
        for (int t = 0; t <= 400; t += 50)
            f.program().access.pointerAt(at, 10000 + t);
        QVERIFY(f.program().calling.controller().isCalling());
        f.program().calling.controller().acknowledge();

        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(key);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("呼び出し"));
        a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(f.program().calling.controller().isCalling());
    }

    void aKeyAModalDialogBlocksIsNotShownTheDialogsOwnCalls()
    {
        TalkFixture f({}, true, true);
        QWidget *key = callKeyOf(&f.window());
        const QRect place = key->geometry();
        QVERIFY(key->isVisible());
        f.modal.answers.push_back([&](QDialog &d) {
            d.setWindowModality(Qt::ApplicationModal);
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            QVERIFY(!key->isVisible()); // the main window takes no press now
            // Turned on or off meanwhile, it still shows only once it can be pressed.
            f.window().showCallKey(true);
            QVERIFY(!key->isVisible());
            TalkFixture::press(callKeyOf(&d));
            QVERIFY(f.program().calling.controller().isCalling());
            f.program().calling.controller().acknowledge();
            d.reject();
        });
        ShowOKDialog(f.shared(), QStringLiteral("確認"), OkDialog::OkCancel, QStringLiteral("Pirokan"));
        QTRY_VERIFY(key->isVisible());
        QCOMPARE(key->geometry(), place);

        // The mail window's key, under a question of its own.
        MailWindow mail(f.shared(), &f.window(), {});
        mail.setWindowModality(Qt::ApplicationModal);
        mail.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mail));
        QVERIFY(!key->isVisible());
        QWidget *mailKey = callKeyOf(&mail);
        QVERIFY(mailKey->isVisible());
        f.modal.answers.push_back([&](QDialog &d) {
            d.setWindowModality(Qt::ApplicationModal);
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            QVERIFY(!mailKey->isVisible());
            f.window().showCallKey(false); // the call turned off while blocked stays hidden
            d.reject();
        });
        ShowOKDialog(f.shared(), QStringLiteral("確認"), OkDialog::OkCancel, QStringLiteral("Pirokan"));
        QTRY_VERIFY(mailKey->isVisible());
        mail.hide();
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QVERIFY(!key->isVisible()); // turned off meanwhile: it stays hidden
        f.window().showCallKey(true);
        QVERIFY(key->isVisible());
    }

    void holdingTheSwitchCallsFromAModalDialogAndAShorterHoldPresses()
    {
        TalkFixture f({}, true, true);
        f.accessSettings.values = {{"Method", "2"}, {"CallHoldMs", "2000"}};
        f.program().applyAccess();
        f.program().access.setManualTicks(true);
        bool shortHoldPressed = false;
        f.modal.answers.push_back([&](QDialog &d) {
            QVERIFY(callKeyOf(&d)); // the confirmation dialog has its own key
            d.setWindowModality(Qt::ApplicationModal);
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            auto *first = callKeyOf(&d);
            connect(first, &QPushButton::clicked, &d, [&] { shortHoldPressed = true; });
            // Held before the dialog's highlight is drawn, it calls all the same.
            QTest::keyPress(&d, Qt::Key_Space);
            QTRY_VERIFY_WITH_TIMEOUT(f.program().calling.controller().isCalling(), 3000);
            QVERIFY(coverOf(&d) && coverOf(&d)->isVisible()); // over the dialog too
            QTest::keyRelease(&d, Qt::Key_Space);
            QVERIFY(!shortHoldPressed); // the long hold pressed nothing
            QVERIFY(f.program().calling.controller().isCalling());
            f.program().calling.controller().acknowledge();
            f.program().access.tick(); // the dialog again, its first key highlighted

            // Shorter: an ordinary press of what is highlighted, the call key, first in the scan.
            QTest::keyPress(&d, Qt::Key_Space);
            QTest::qWait(500);
            QTest::keyRelease(&d, Qt::Key_Space);
            QVERIFY(shortHoldPressed);
            QVERIFY(f.program().calling.controller().isCalling());
            d.reject();
        });
        ShowOKDialog(f.shared(), QStringLiteral("確認"), OkDialog::OkCancel, QStringLiteral("Pirokan"));
        QVERIFY(f.program().calling.controller().isCalling());
    }

    // 設定, 操作方法… from it and the record from that: each shows its own key while the
    // call is on, pressed by touch, by dwell or as the first highlight of one switch; none when off.
    void theOptionsWaysOfPressingAndRecordDialogsEachShowTheirOwnKey()
    {
        enum Case { Off, Touch, OneSwitch, Dwell };
        for (const Case c : {Off, Touch, OneSwitch, Dwell}) {
            TalkFixture f({}, false, true);
            if (c == Off)
                f.callSettings.values = {{"Enabled", "0"}};
            QVERIFY(f.start());
            AccessControl &access = f.program().access;
            if (c == OneSwitch) {
                f.accessSettings.values = {{"Method", "2"}};
                f.program().applyAccess();
                access.setManualTicks(true);
            } else if (c == Dwell) {
                f.accessSettings.values = {{"Method", "1"}, {"DwellMs", "300"}};
                f.program().applyAccess();
            }
            QStringList seen;
            qint64 now = 10000;
            QWidget *optionsKey = nullptr;
            auto check = [&](QDialog &d) {
                seen << d.objectName();
                d.setWindowModality(Qt::ApplicationModal);
                d.show();
                QVERIFY(QTest::qWaitForWindowExposed(&d));
                QPushButton *key = callKeyOf(&d);
                if (d.objectName() == QLatin1String("frmOPT"))
                    optionsKey = key;
                if (c == Off) {
                    QVERIFY(!key);
                    return;
                }
                QVERIFY2(key && key->isVisible(), qPrintable(d.objectName()));
                if (optionsKey && optionsKey != key)
                    QVERIFY(!optionsKey->isVisible()); // blocked under this dialog
                // In a column of its own at the right: it covers nothing the dialog had.
                for (QWidget *w : d.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                    if (w != key && w->isVisible())
                        QVERIFY2(w->geometry().right() < key->x(), qPrintable(w->objectName()));
                QVERIFY(key->geometry().right() < d.width());
                QCOMPARE(QAccessible::queryAccessibleInterface(key)->text(QAccessible::Name),
                         QStringLiteral("呼び出し"));
                if (c == Touch) {
                    TalkFixture::press(key);
                } else if (c == Dwell) {
                    // The pointer comes from the dialog's own keys (the key before stood where this one is).
                    access.pointerAt(d.mapToGlobal(QPoint(2, 2)), now);
                    now += 50;
                    const QPoint at = key->mapToGlobal(key->rect().center());
                    for (const qint64 end = now + 400; now <= end; now += 50)
                        access.pointerAt(at, now);
                    now += 1000;
                } else {
                    access.tick(); // the dialog is on top now
                    const ScanScreen &screen = access.screen();
                    QCOMPARE(screen.kind, d.objectName());
                    const ScanNode &first = screen.tree.children.front();
                    QVERIFY(!first.isGroup() && screen.targets[size_t(first.target)].widget.data() == key);
                    QTest::keyClick(&d, Qt::Key_Space);
                }
                QTRY_VERIFY(f.program().calling.controller().isCalling());
                QVERIFY(coverOf(&d) && coverOf(&d)->isVisible());
                f.program().calling.controller().acknowledge();
            };
            f.modal.answers.push_back([&](QDialog &options) {
                f.modal.answers.push_back([&](QDialog &d) {
                    auto &ways = static_cast<AccessDialog &>(d);
                    check(ways);
                    ways.runRecord = [&](QDialog &record) {
                        check(record);
                        record.reject();
                    };
                    ways.cmdRecord->click();
                    ways.reject();
                });
                check(options);
                options.findChild<QPushButton *>(QStringLiteral("cmdAccess"))->click();
                options.reject();
            });
            f.press(f.window().cmdOpt);
            QCOMPARE(seen, (QStringList{QStringLiteral("frmOPT"), QStringLiteral("frmAccess"),
                                        QStringLiteral("frmRecord")}));
        }
    }

    void aMissingBellCommandIsToldOnTheCover()
    {
        TalkFixture f({}, false, true);
        f.callSettings.values = {{"Command", "/nonexistent/pirokan-bell"}};
        QVERIFY(f.start());
        TalkFixture::press(callKeyOf(&f.window()));
        QTRY_VERIFY(coverOf(&f.window())
                        ->findChild<QLabel *>(QStringLiteral("lblCallProblem"))
                        ->text()
                        .contains(QStringLiteral("見つかりません")));
        QCOMPARE(f.chime.count(), size_t(1)); // the chime sounded anyway
    }

    // Closing the options while the bell's "start" still runs keeps that bell: its "stop" still follows.
    void theBellOutlivesTheOptionsClosing()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("bell.log"));
        const QString script = dir.filePath(QStringLiteral("bell"));
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\necho \"$2\" >> \"$1\"\n[ \"$2\" = start ] && sleep 1\nexit 0\n");
        f.close();
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        TalkFixture t({}, false, true);
        t.callSettings.values = {{"Command", QStringLiteral("\"%1\" \"%2\"").arg(script, log)}};
        QVERIFY(t.start());
        CallController &call = t.program().calling.controller();
        call.start(CallController::Way::Key);
        QVERIFY(call.acknowledge()); // "stop" waits for "start"
        t.program().applyAccess();   // as the options do when they close
        const auto logged = [&log] {
            QFile l(log);
            return l.open(QIODevice::ReadOnly) ? QString::fromUtf8(l.readAll()) : QString();
        };
        QTRY_COMPARE_WITH_TIMEOUT(logged(), QStringLiteral("start\nstop\n"), 5000);
    }

    // No sound output at all: the very first ring fails, before the covers are up, and they say so.
    void aChimeThatCannotSoundIsToldOnTheCoverFromTheStart()
    {
        TalkFixture f({}, false, true);
        QVERIFY(f.start());
        f.program().calling.controller().setOutput(nullptr);
        TalkFixture::press(callKeyOf(&f.window()));
        QVERIFY(coverOf(&f.window())
                    ->findChild<QLabel *>(QStringLiteral("lblCallProblem"))
                    ->text()
                    .startsWith(QStringLiteral("呼び出しの音を鳴らせませんでした")));
    }
};

QTEST_MAIN(TestCallWindow)
#include "test_callwindow.moc"
