#include "support/talkfixture.h"

#include <QTest>

// The read button: its caption follows the reading; the marker is read as a space.
class TestReadAloud : public QObject
{
    Q_OBJECT

private slots:
    void readThenStop()
    {
        TalkFixture f({{QStringLiteral("Beep"), QStringLiteral("1")}});
        TestTalkWindow &w = f.window();
        f.press(w.cmdRead); // empty text: only the beep
        QCOMPARE(f.beeper.count, 1);
        QCOMPARE(w.cmdRead->text(), QStringLiteral("読む"));
        QCOMPARE(Twips::rect(w.txtTalk).height(), 2295);

        f.typed(QStringLiteral("あ_い_"));
        f.agent.log.clear();
        f.press(w.cmdRead);
        QCOMPARE(w.cmdRead->text(), QStringLiteral("♪"));
        QCOMPARE(f.agent.log, QStringList{"speak あ い "});
        QCOMPARE(w.txtTalk->text(), QStringLiteral("あ_い_"));
        QCOMPARE(Twips::rect(w.txtTalk).height(), w.heightTwips() - 3630);
        QCOMPARE(w.cmdWide->text(), QStringLiteral("広げる"));

        w.txtTalk->setText(QStringLiteral("あい")); // the marker lost, as after a paste
        f.press(w.cmdRead);
        QCOMPARE(f.agent.log.last(), QStringLiteral("stop"));
        QCOMPARE(w.cmdRead->text(), QStringLiteral("読む"));
        QCOMPARE(w.txtTalk->text(), QStringLiteral("あい_"));
        QCOMPARE(w.txtTalk->selText(), QStringLiteral("_"));
        QCOMPARE(Twips::rect(w.txtTalk).height(), 2295);

        // The text emptied while it is read (始め): the reading can still be stopped.
        f.press(w.cmdRead);
        QCOMPARE(w.cmdRead->text(), QStringLiteral("♪"));
        w.txtTalk->setText(QString());
        f.press(w.cmdRead);
        QCOMPARE(f.agent.log.last(), QStringLiteral("stop"));
        QCOMPARE(w.cmdRead->text(), QStringLiteral("読む"));
    }

    void theCaptionFollowsTheVoiceWhenItEndsByItself()
    {
        TalkFixture f;
        TestTalkWindow &w = f.window();
        f.typed(QStringLiteral("あいう_"));
        f.press(w.cmdRead);
        QCOMPARE(w.cmdRead->text(), QStringLiteral("♪"));
        QTest::qWait(400);
        QCOMPARE(w.cmdRead->text(), QStringLiteral("♪")); // still sounding
        w.txtTalk->setSelLength(0);
        f.agent.recording()->speaking = false; // the sentence ends by itself
        QTRY_COMPARE(w.cmdRead->text(), QStringLiteral("読む"));
        QCOMPARE(w.txtTalk->selText(), QStringLiteral("_"));
        QCOMPARE(Twips::rect(w.txtTalk).height(), 2295);
        QVERIFY(!f.agent.log.contains(QStringLiteral("stop")));
        // The next press reads again at once.
        f.press(w.cmdRead);
        QCOMPARE(w.cmdRead->text(), QStringLiteral("♪"));
        QCOMPARE(f.agent.spoken().size(), 2);
    }

    void stoppingWhileAnEntryIsViewedKeepsItWide()
    {
        TalkFixture f;
        TestTalkWindow &w = f.window();
        f.typed(QStringLiteral("にっき_"));
        f.shared().state.showEntry(); // an opened entry, widened
        f.program().textArea.WidenTextArea(true);
        f.press(w.cmdRead);
        f.press(w.cmdRead);
        QCOMPARE(w.cmdRead->text(), QStringLiteral("読む"));
        QCOMPARE(Twips::rect(w.txtTalk).height(), w.heightTwips() - 3630);
        QCOMPARE(w.cmdWide->text(), QStringLiteral("狭める"));
    }
};

QTEST_MAIN(TestReadAloud)
#include "test_readaloud.moc"
