#include "support/talkfixture.h"

#include <QApplication>
#include <QTest>

// A user writes "きょうは　がっこう" press by press, with the default options,
// and hears each character as it is chosen and entered.
class TestScenarioSentence : public QObject
{
    Q_OBJECT

private slots:
    void writeASentence()
    {
        TalkFixture f({{QStringLiteral("Samp"), QStringLiteral("0")}});
        TestTalkWindow &w = f.window();
        // Press a first-screen cell, then a cell of the selection screen it opens.
        auto enter = [&](int r, int c, int sr, int sc) {
            f.pressCell(w.grdBoard, r, c);
            QVERIFY(w.fraSet->isVisible());
            f.pressCell(w.grdBoard2, sr, sc);
            QVERIFY(!w.fraSet->isVisible());
            QCOMPARE(w.txtTalk->selText(), QStringLiteral("_"));
            QCOMPARE(QApplication::focusWidget(), w.txtTalk);
        };
        enter(1, 8, 1, 1); // き
        enter(2, 2, 1, 2); // よ, then its small form ょ
        enter(2, 9, 1, 1); // う
        enter(0, 4, 1, 1); // は
        f.pressCell(w.grdBoard, 0, 9);
        f.press(w.cmdspace); // full-width space
        f.press(w.cmdEnd2);
        QVERIFY(!w.fraSet->isVisible());
        enter(0, 8, 1, 2); // か → が
        enter(2, 6, 1, 0); // つ → っ
        enter(4, 8, 1, 1); // こ
        enter(2, 9, 1, 1); // う
        QCOMPARE(w.txtTalk->text(), QStringLiteral("きょうは　がっこう_"));
        QCOMPARE(f.agent.spoken().join(QString()), QStringLiteral("ききよょううははあかがつっここうう"));
    }
};

QTEST_MAIN(TestScenarioSentence)
#include "test_scenario_sentence.moc"
