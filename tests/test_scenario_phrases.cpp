#include "entries/entryformat.h"
#include "shared/talkstate.h"
#include "support/talkfixture.h"

#include <QTest>

// A user stores a sentence, finds it again while typing, and deletes it.
class TestScenarioPhrases : public QObject
{
    Q_OBJECT

private slots:
    void registerFindAndDelete()
    {
        TalkFixture f({{QStringLiteral("OPT1"), QStringLiteral("2")}}, false);
        f.writeEntries(QStringLiteral("Talk.txt"), {EntryFormat::Placeholder, EntryFormat::Placeholder});
        QVERIFY(f.start());
        TestTalkWindow &w = f.window();
        auto press = [&](int r, int c) { f.pressCell(w.grdBoard, r, c); };

        press(2, 2); // よ
        press(2, 2);
        press(1, 4); // ひ
        press(4, 9); // お
        QCOMPARE(w.txtTalk->text(), QStringLiteral("よよひお_"));
        f.press(w.cmdSampADD);
        QCOMPARE(CurrentMode(w), Mode::ExampleList);
        QCOMPARE(w.grdEx->textMatrix(f.shared().state.listRow(), 1), QStringLiteral("よよひお"));
        QCOMPARE(w.grdEx->textMatrix(f.shared().state.listRow(), 0), QStringLiteral("や行"));

        f.press(w.cmdSamp); // back to the board, the text kept
        f.answerOk(0);
        f.press(w.cmdStart);
        QCOMPARE(w.txtTalk->text(), QString());
        press(2, 2); // よ: the stored sentence is offered at once
        QCOMPARE(CurrentMode(w), Mode::Suggest);
        QCOMPARE(w.grdSp->textMatrix(0, 0), QStringLiteral("よ"));
        QCOMPARE(w.grdSp->textMatrix(1, 0), QStringLiteral("よよひお"));
        f.press(w.cmdDown);
        f.press(w.cmdDec);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("よよひお_"));

        f.press(w.cmdSamp);
        for (int r = 0; r < w.grdEx->rows(); ++r)
            if (w.grdEx->textMatrix(r, 1) == QStringLiteral("よよひお"))
                f.pressCell(w.grdEx, r, 1);
        f.answerOk(0);
        f.press(w.cmdSampDel);
        QCOMPARE(f.readEntries(QStringLiteral("Talk.txt")),
                 (QStringList{EntryFormat::Placeholder, EntryFormat::Placeholder}));
        f.press(w.cmdSamp);
        f.answerOk(0);
        f.press(w.cmdStart);
        press(2, 2);
        QCOMPARE(CurrentMode(w), Mode::Board); // no longer offered
    }
};

QTEST_MAIN(TestScenarioPhrases)
#include "test_scenario_phrases.moc"
