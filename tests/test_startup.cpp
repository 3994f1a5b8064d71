#include "app/lifetime.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/textbox.h"
#include "platform/twips.h"
#include "support/talkfixture.h"

#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void startUpState()
    {
        TalkFixture f;
        TestTalkWindow &w = f.window();
        QCOMPARE(w.windowTitle(), QStringLiteral("Pirokan!  Ver 1.2"));
        // The figure is placed before the window shows, and again as the window comes up.
        QCOMPARE(
            f.agent.log.mid(0, 7),
            (QStringList{QStringLiteral("load Genie"), QStringLiteral("character Genie"),
                         QStringLiteral("language 1041"), QStringLiteral("show"), QStringLiteral("fit 76"),
                         QStringLiteral("move 961 0"), QStringLiteral("play greet")}));
        QVERIFY(w.fraRes->isVisible());
        QVERIFY(!w.fraDay->isVisible());
        QVERIFY(!w.fraTalk->isVisible());
        QVERIFY(!w.fraSet->isVisible());
        QVERIFY(w.cmdSampADD->isVisible());
        QVERIFY(!w.cmdSampDel->isVisible());
        for (Grid *g : {w.grdEx, w.grdSp, w.grdDay, w.grdAD, w.grdMail})
            QVERIFY(!g->isVisible());
        QVERIFY(w.grdBoard->isVisible());
        QCOMPARE(w.cmdKey->text(), QStringLiteral("ひら"));
        QCOMPARE(w.grdBoard->textMatrix(0, 9), QStringLiteral("あ"));
        QCOMPARE(w.cmdSamp->text(), QStringLiteral("例文表示"));
        QCOMPARE(w.cmdBack->text(), QStringLiteral("戻る"));
        QCOMPARE(w.txtTalk->text(), QString());
        QCOMPARE(Twips::fontPoints(w.txtTalk), 55.0);
        QTRY_VERIFY(w.txtTalk->hasFocus());
        // cmdCopy and cmdPaste lie below the text area's normal height.
        QVERIFY(Twips::rect(w.cmdCopy).top() > Twips::rect(w.fraText).height());
        QCOMPARE(f.beeper.count, 0);
    }

    void everyControlIsNamedAndStackedFrontToBack()
    {
        TalkFixture f;
        QStringList order;
        for (QObject *child : f.window().children())
            if (child->isWidgetType())
                order.prepend(child->objectName());
        QCOMPARE(order,
                 (QStringList{"fraSet", "fraRes",  "fraDay",  "fraTalk",    "grdMail",    "grdAD",  "grdSp",
                              "grdEx",  "fraText", "cmdSamp", "cmdSampADD", "grdDay",     "cmdKey", "cmdRead",
                              "cmdEnd", "cmdOpt",  "fraCand", "grdBoard",   "cmdSampDel", "txtHide"}));
        for (int i = 0; i < 5; ++i)
            QVERIFY(arrayButton(f.window().fraRes, QStringLiteral("cmdRes"), i));
    }

    void largeTextOptionAtStartUp()
    {
        TalkFixture f({{QStringLiteral("Moji"), QStringLiteral("1")}});
        QCOMPARE(Twips::fontPoints(f.window().txtTalk), 100.0);
    }

    void textIsCutTo500Characters()
    {
        TalkFixture f;
        TextBox *t = f.window().txtTalk;
        t->setText(QString(501, QLatin1Char('a')));
        QCOMPARE(t->length(), 500);
        t->setSelStart(500);
        t->insertPlainText(QStringLiteral("bb"));
        QCOMPARE(t->length(), 500);
        QCOMPARE(t->text(), QString(500, QLatin1Char('a')));
    }

    void missingCharacterFileStopsStartUpNamingIt()
    {
        TalkFixture f({}, false);
        QFile::remove(f.folder.filePath(QStringLiteral("genie.acs")));
        QString error;
        QVERIFY(!f.program().start(&error));
        QVERIFY2(error.contains(QStringLiteral("「genie.acs」を読めない")), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("\nフォルダー：") + f.folder.path()), qPrintable(error));
        QVERIFY(!f.window().isVisible());
    }

    void scalingKeepsProportions()
    {
        TalkFixture f;
        TestTalkWindow &w = f.window();
        const QRect before = w.grdBoard->geometry();
        const QRect keyBefore = w.cmdKey->geometry();
        w.resize(w.width() * 2, w.height() * 2);
        QTRY_COMPARE(w.grdBoard->geometry().width(), before.width() * 2);
        QCOMPARE(w.grdBoard->geometry().top(), before.top() * 2);
        QVERIFY(qAbs(w.cmdKey->geometry().left() - keyBefore.left() * 2) <= 1);
        QCOMPARE(Twips::rect(w.grdBoard), QRect(0, 2400, 15345, 5715)); // logical place unchanged
        QVERIFY(w.grdBoard->font().pixelSize() > 140);
        // A wider than tall window scales by its height and keeps the canvas whole.
        w.resize(w.width() * 2, w.height());
        QTRY_COMPARE(w.grdBoard->geometry().width(), before.width() * 2);
    }

    void aMuteVoiceIsToldOnScreen()
    {
        TalkFixture f;
        QVERIFY(f.agent.recording()->muted);
        f.answerOk(0);
        f.agent.recording()->muted();
        QCOMPARE(f.modal.shown, QStringList{QStringLiteral("frmOK")});
        QVERIFY2(f.prompts.value(0).startsWith(QStringLiteral("声が出せません。")),
                 qPrintable(f.prompts.value(0)));
        QVERIFY(f.prompts.value(0).contains(QStringLiteral("README")));
    }

    void figureFollowsTheWindowAndNeverCoversTheText()
    {
        TalkFixture f;
        TestTalkWindow &w = f.window();
        const auto lastOf = [&f](const QString &what) {
            for (auto it = f.agent.log.crbegin(); it != f.agent.log.crend(); ++it)
                if (it->startsWith(what))
                    return it->mid(what.size() + 1).split(QLatin1Char(' '));
            return QStringList();
        };
        const auto figureRect = [&] {
            const QStringList at = lastOf(QStringLiteral("move"));
            const int h = lastOf(QStringLiteral("fit")).value(0).toInt();
            return QRect(at.value(0).toInt(), at.value(1).toInt(), h * 3 / 4, h);
        };
        for (const QSize size : {w.size(), w.size() * 2, QSize(w.width() * 3, w.height())}) {
            w.resize(size);
            w.move(40, 30);
            QTRY_COMPARE(figureRect().topLeft(),
                         w.mapToGlobal(QPoint(Twips::toPixels(14415, Twips::scaleOf(&w)), 0)));
            const QRect text(w.txtTalk->mapToGlobal(QPoint(0, 0)), w.txtTalk->size());
            const QRect window(w.mapToGlobal(QPoint(0, 0)), w.size());
            QVERIFY(!figureRect().intersects(text));
            QVERIFY(window.contains(figureRect()));
            QVERIFY(figureRect().height() >= Twips::toPixels(1140, Twips::scaleOf(&w)) - 1);
        }
    }

    void endButtonEndsTheProgramButAsksBeforeLosingText()
    {
        TalkFixture f;
        TestTalkWindow &w = f.window();
        QSignalSpy closing(&w, &TalkWindow::closing);
        f.typed(QStringLiteral("あした_"));
        f.answerOk(1); // キャンセル: the text stays
        f.press(w.cmdEnd);
        QCOMPARE(f.prompts.size(), 1);
        QCOMPARE(f.modal.shown, QStringList{QStringLiteral("frmOK")});
        QCOMPARE(closing.count(), 0);
        QVERIFY(w.isVisible());
        QCOMPARE(w.txtTalk->text(), QStringLiteral("あした_"));
        f.answerOk(0);
        f.press(w.cmdEnd);
        QCOMPARE(closing.count(), 1);
        QVERIFY(!w.isVisible());

        for (const QString &empty : {QString(), QStringLiteral("_")}) {
            TalkFixture g;
            QSignalSpy ended(&g.window(), &TalkWindow::closing);
            g.window().txtTalk->setText(empty);
            g.press(g.window().cmdEnd); // nothing to lose: ends at once
            QCOMPARE(ended.count(), 1);
            QVERIFY(g.modal.shown.isEmpty());
        }
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
