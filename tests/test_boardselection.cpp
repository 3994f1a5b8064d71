#include "board/board.h"
#include "platform/colors.h"
#include "support/talkfixture.h"

#include <QTest>

// Presses on the first screen and the selection screen under each option.
class TestBoardSelection : public QObject
{
    Q_OBJECT

    static QStringList row(Grid *g, int r)
    {
        return {g->textMatrix(r, 0), g->textMatrix(r, 1), g->textMatrix(r, 2)};
    }
    static QHash<QString, QString> opts(const char *opt1, const char *opt2, const char *opt3 = "0")
    {
        return {{QStringLiteral("OPT1"), QString::fromUtf8(opt1)},
                {QStringLiteral("OPT2"), QString::fromUtf8(opt2)},
                {QStringLiteral("OPT3"), QString::fromUtf8(opt3)},
                {QStringLiteral("Samp"), QStringLiteral("0")}};
    }

private slots:
    void onePressOpensTheSelectionScreen()
    {
        TalkFixture f(opts("0", "0"));
        TestTalkWindow &w = f.window();
        f.pressCell(w.grdBoard, 0, 8); // か
        QVERIFY(w.fraSet->isVisible());
        QCOMPARE(Twips::rect(w.fraSet).left(), Twips::rect(w.grdBoard).left());
        // Every cell and both buttons lie inside the window.
        const QRect inside = w.rect();
        for (int c = 0; c < 3; ++c) {
            const QRect cell = w.grdBoard2->visualRect(w.grdBoard2->model()->index(2, c));
            const QRect onWindow(w.grdBoard2->viewport()->mapTo(&w, cell.topLeft()), cell.size());
            QVERIFY2(inside.contains(onWindow), qPrintable(QStringLiteral("column %1").arg(c)));
        }
        for (QWidget *b : {static_cast<QWidget *>(w.cmdspace), static_cast<QWidget *>(w.cmdEnd2)})
            QVERIFY(inside.contains(QRect(b->mapTo(&w, QPoint(0, 0)), b->size())));
        QVERIFY(Twips::rect(w.fraSet).top() > Twips::rect(w.fraText).height() - 100); // text stays in view
        QCOMPARE(w.grdBoard->cellBackColor(0, 8), Colors::SystemDesktop);
        QCOMPARE(row(w.grdBoard2, 0), (QStringList{"", "", ""}));
        QCOMPARE(row(w.grdBoard2, 1), (QStringList{"さ", "か", "が"}));
        QCOMPARE(row(w.grdBoard2, 2), (QStringList{"し", "き", "ぎ"}));
        QCOMPARE(f.agent.spoken(), QStringList{"か"});
        QCOMPARE(w.txtTalk->text(), QString());

        f.pressCell(w.grdBoard2, 1, 2); // が
        QVERIFY(!w.fraSet->isVisible());
        QCOMPARE(w.txtTalk->text(), QStringLiteral("が_"));
        QCOMPARE(w.txtTalk->selStart(), 1);
        QCOMPARE(w.txtTalk->selText(), QStringLiteral("_"));
        QCOMPARE(f.agent.spoken(), (QStringList{"か", "が"}));
        QCOMPARE(f.program().board.lastPick(), QStringLiteral("が"));
    }

    void selectionScreenAtTheEdges()
    {
        TalkFixture f(opts("0", "0"));
        TestTalkWindow &w = f.window();
        auto open = [&](int r, int c) {
            f.pressCell(w.grdBoard, r, c);
            QVERIFY(w.fraSet->isVisible());
            f.press(w.cmdEnd2);
        };
        open(0, 4); // は
        QCOMPARE(row(w.grdBoard2, 0), (QStringList{"", "", ""}));
        QCOMPARE(row(w.grdBoard2, 1), (QStringList{"ぱ", "は", "ば"}));
        QCOMPARE(row(w.grdBoard2, 2), (QStringList{"ぴ", "ひ", "び"}));
        open(2, 8); // く
        QCOMPARE(row(w.grdBoard2, 0), (QStringList{"し", "き", "ぎ"}));
        QCOMPARE(row(w.grdBoard2, 1), (QStringList{"す", "く", "ぐ"}));
        QCOMPARE(row(w.grdBoard2, 2), (QStringList{"せ", "け", "げ"}));
        open(2, 6); // つ
        QCOMPARE(row(w.grdBoard2, 1), (QStringList{"っ", "つ", "づ"}));
        open(4, 9); // お: no right-hand column, no row below
        QCOMPARE(row(w.grdBoard2, 0), (QStringList{"け", "え", "ぇ"}));
        QCOMPARE(row(w.grdBoard2, 1), (QStringList{"こ", "お", "ぉ"}));
        QCOMPARE(row(w.grdBoard2, 2), (QStringList{"", "", ""}));
        open(0, 0); // わ: nothing to its left
        QCOMPARE(row(w.grdBoard2, 1), (QStringList{"", "わ", "ら"}));
        f.press(w.cmdKey);
        f.press(w.cmdKey);
        open(1, 0); // Q
        QCOMPARE(row(w.grdBoard2, 1), (QStringList{"", "Q", "q"}));
        QCOMPARE(row(w.grdBoard2, 0), (QStringList{"", "1", "2"}));
        QCOMPARE(w.txtTalk->text(), QString()); // 戻る enters nothing
    }

    void rightNeighboursOnTheWideBoardOnlyUpToColumnEight()
    {
        auto o = opts("0", "0");
        o.insert(QStringLiteral("gMaxC"), QStringLiteral("14"));
        TalkFixture f(o);
        TestTalkWindow &w = f.window();
        f.pressCell(w.grdBoard, 1, 10); // な row, column 10: no right-hand neighbour
        QCOMPARE(row(w.grdBoard2, 1), (QStringList{"ひ", "に", ""}));
        f.press(w.cmdEnd2);
        f.pressCell(w.grdBoard, 1, 8); // ま row, column 8
        QCOMPARE(row(w.grdBoard2, 1), (QStringList{"ゆ", "み", "ひ"}));
    }

    void twoPressesEnterOnTheFirstScreen()
    {
        TalkFixture f(opts("3", "0", "2"));
        TestTalkWindow &w = f.window();
        f.pressCell(w.grdBoard, 0, 8); // か
        f.pressCell(w.grdBoard, 0, 7); // さ
        QCOMPARE(w.txtTalk->text(), QString());
        QCOMPARE(f.agent.spoken(), QStringList{}); // first presses are silent with OPT3 2
        QTest::mousePress(w.grdBoard->viewport(), Qt::LeftButton, {},
                          w.grdBoard->visualRect(w.grdBoard->model()->index(0, 7)).center());
        QCOMPARE(w.grdBoard->cellBackColor(0, 7), Colors::Silver);
        QCOMPARE(w.grdBoard->cellBackColor(0, 8), Colors::White);
        QTest::mouseRelease(w.grdBoard->viewport(), Qt::LeftButton, {},
                            w.grdBoard->visualRect(w.grdBoard->model()->index(0, 7)).center());
        QCOMPARE(w.txtTalk->text(), QStringLiteral("さ_"));
        QCOMPARE(f.agent.spoken(), QStringList{"さ"});
        f.pressCell(w.grdBoard, 0, 7); // the memory stays: a third press enters again
        QCOMPARE(w.txtTalk->text(), QStringLiteral("ささ_"));
        QVERIFY(!w.fraSet->isVisible());
    }

    void walkingAListForgetsTheFirstPress()
    {
        TalkFixture f(opts("3", "0", "0"));
        TestTalkWindow &w = f.window();
        f.pressCell(w.grdBoard, 0, 7); // さ, remembered
        f.press(w.cmdSamp);            // the example list is sorted and headed
        f.press(w.cmdSamp);
        f.pressCell(w.grdBoard, 0, 7); // a first press again
        QCOMPARE(w.txtTalk->text(), QStringLiteral("_"));
        f.pressCell(w.grdBoard, 0, 7);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("さ_"));
    }

    void onePressEntersOnTheFirstScreen()
    {
        TalkFixture f(opts("2", "0", "1"));
        TestTalkWindow &w = f.window();
        f.pressCell(w.grdBoard, 0, 8);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("か_"));
        QCOMPARE(w.txtTalk->selText(), QStringLiteral("_"));
        QCOMPARE(w.grdBoard->cellBackColor(0, 8), Colors::SystemDesktop);
        QCOMPARE(f.agent.spoken(), QStringList{"か"});
        QVERIFY(!w.fraSet->isVisible());

        // A press beside the cells, on the board's bare edge, presses no cell: not the last one again.
        w.show();
        QWidget *area = w.grdBoard->viewport();
        const QPoint edge(area->width() - 1, area->height() - 1);
        if (w.grdBoard->indexAt(edge).isValid())
            QSKIP("the cells fill the board to its edge at this size");
        QTest::mouseClick(area, Qt::LeftButton, {}, edge);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("か_"));
    }

    void twoPressesOpenThenTwoPressesEnter()
    {
        TalkFixture f(opts("1", "1", "0"));
        TestTalkWindow &w = f.window();
        f.pressCell(w.grdBoard, 2, 7); // す: remembered
        QVERIFY(!w.fraSet->isVisible());
        f.pressCell(w.grdBoard, 2, 7); // opens
        QVERIFY(w.fraSet->isVisible());
        QCOMPARE(w.grdBoard->cellBackColor(2, 7), Colors::Silver); // no system colour in two-press mode
        f.pressCell(w.grdBoard2, 1, 2);                            // ず: remembered
        QCOMPARE(w.txtTalk->text(), QString());
        QVERIFY(w.fraSet->isVisible());
        f.pressCell(w.grdBoard2, 1, 2); // entered
        QCOMPARE(w.txtTalk->text(), QStringLiteral("ず_"));
        QCOMPARE(f.agent.spoken(), (QStringList{"す", "す", "ず", "ず"}));
    }

    void emptyCellsAndBeeps()
    {
        auto o2 = opts("0", "0");
        o2.insert(QStringLiteral("Beep"), QStringLiteral("1"));
        o2.insert(QStringLiteral("gMaxC"), QStringLiteral("14"));
        TalkFixture g(o2);
        TestTalkWindow &v = g.window();
        g.press(v.cmdKey);
        g.press(v.cmdKey); // letters: columns 10.. are empty
        g.pressCell(v.grdBoard, 0, 12);
        QCOMPARE(g.agent.spoken(), QStringList{"　"});
        QCOMPARE(g.beeper.count, 1);
        g.pressCell(v.grdBoard2, 0, 0); // empty: ignored after the beep
        QCOMPARE(g.beeper.count, 2);
        QVERIFY(v.fraSet->isVisible());
        QCOMPARE(v.txtTalk->text(), QString());
        QCOMPARE(row(v.grdBoard2, 1), (QStringList{"", "", ""}));

        // Two presses on an empty cell enter a full-width space.
        auto o3 = opts("3", "0");
        o3.insert(QStringLiteral("gMaxC"), QStringLiteral("14"));
        TalkFixture h(o3);
        h.press(h.window().cmdKey);
        h.press(h.window().cmdKey);
        h.pressCell(h.window().grdBoard, 3, 11);
        h.pressCell(h.window().grdBoard, 3, 11);
        QCOMPARE(h.window().txtTalk->text(), QStringLiteral("　_"));
    }

    void aFullTextRefusesWithOnlyABeep()
    {
        const QString full = QString(499, QChar(u'あ')) + QStringLiteral("_");
        TalkFixture f(opts("0", "0", "0"));
        TestTalkWindow &w = f.window();
        f.typed(full);
        f.pressCell(w.grdBoard, 0, 8);  // か: the selection screen opens
        f.pressCell(w.grdBoard2, 1, 2); // が: no room
        QCOMPARE(f.beeper.count, 1);
        QCOMPARE(f.agent.spoken(), QStringList{"か"}); // the opening only, nothing "entered"
        QVERIFY(w.fraSet->isVisible());
        QVERIFY(w.grdSp->isHidden());
        QCOMPARE(w.txtTalk->text(), full);
        QCOMPARE(f.program().board.lastPick(), QString());

        // Entering straight from the first screen is refused the same way.
        TalkFixture g(opts("2", "0", "0"));
        g.typed(full);
        g.pressCell(g.window().grdBoard, 0, 8);
        QCOMPARE(g.beeper.count, 1);
        QVERIFY(g.agent.spoken().isEmpty());
        QCOMPARE(g.window().txtTalk->text(), full);
    }

    void spaceButton()
    {
        TalkFixture f(opts("0", "0"));
        TestTalkWindow &w = f.window();
        f.pressCell(w.grdBoard, 0, 9);
        f.press(w.cmdspace);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("　_"));
        QCOMPARE(w.txtTalk->selLength(), 0); // a plain caret after the space
        QCOMPARE(w.txtTalk->selStart(), 1);
        f.press(w.cmdEnd2);
        f.press(w.cmdKey);
        f.press(w.cmdKey);
        f.pressCell(w.grdBoard, 0, 0);
        f.press(w.cmdspace);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("　 _"));
        QCOMPARE(f.agent.spoken(), (QStringList{"あ", "1"}));
    }
};

QTEST_MAIN(TestBoardSelection)
#include "test_boardselection.moc"
