#include "board/boardpages.h"
#include "platform/colors.h"
#include "platform/grid.h"
#include "support/talkfixture.h"

#include <QSet>
#include <QTest>

using namespace BoardPages;

class TestBoardPages : public QObject
{
    Q_OBJECT

private slots:
    void tenColumns()
    {
        QCOMPARE(cell(CharSet::Hiragana, 9, 0, 9), QStringLiteral("あ"));
        QCOMPARE(cell(CharSet::Hiragana, 9, 0, 0), QStringLiteral("わ"));
        QCOMPARE(cell(CharSet::Hiragana, 9, 3, 2), QStringLiteral("ー"));
        QCOMPARE(cell(CharSet::Hiragana, 9, 4, 2), QStringLiteral("？"));
        QCOMPARE(cell(CharSet::Hiragana, 9, 3, 0), QStringLiteral("。"));
        QCOMPARE(cell(CharSet::Katakana, 9, 2, 6), QStringLiteral("ツ"));
        QCOMPARE(columnWidth(9), 1530);
    }

    void clipsAreMadeForTheStartPageFirst()
    {
        const QStringList order = BoardPages::everyCharacter();
        QCOMPARE(order.size(), QSet<QString>(order.begin(), order.end()).size());
        // Every cell of the page a start shows, before any small form, before katakana.
        qsizetype lastOfPage = 0;
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c <= 9; ++c)
                lastOfPage = std::max(lastOfPage, order.indexOf(cell(CharSet::Hiragana, 9, r, c)));
        QVERIFY(lastOfPage < order.indexOf(QStringLiteral("ぁ")));
        QVERIFY(order.indexOf(QStringLiteral("ぁ")) < order.indexOf(QStringLiteral("ア")));
        QVERIFY(order.contains(QStringLiteral("ぱ")) && order.contains(QStringLiteral("(^_^)")));
    }

    void fifteenColumns()
    {
        QCOMPARE(cell(CharSet::Hiragana, 14, 0, 14), QStringLiteral("あ"));
        QCOMPARE(cell(CharSet::Hiragana, 14, 0, 5), QStringLiteral("わ"));
        QCOMPARE(cell(CharSet::Hiragana, 14, 0, 4), QStringLiteral("が"));
        QCOMPARE(cell(CharSet::Hiragana, 14, 4, 0), QStringLiteral("ぽ"));
        QCOMPARE(cell(CharSet::Katakana, 14, 1, 2), QStringLiteral("ヂ"));
        QCOMPARE(columnWidth(14), 1013);
        // Letters do not move with the board's width.
        QCOMPARE(cell(CharSet::Alphanumeric, 14, 0, 0), QStringLiteral("1"));
        QCOMPARE(cell(CharSet::Alphanumeric, 14, 4, 8), QStringLiteral("(^_^)"));
        QCOMPARE(cell(CharSet::Alphanumeric, 14, 4, 9), QStringLiteral("(T_T)"));
        QCOMPARE(cell(CharSet::Alphanumeric, 14, 2, 12), QString());
    }

    void captionsCycle()
    {
        QCOMPARE(nextSet(QStringLiteral("英数")), CharSet::Hiragana);
        QCOMPARE(nextSet(QStringLiteral(" ひら ")), CharSet::Katakana);
        QCOMPARE(nextSet(QStringLiteral("カタ")), CharSet::Alphanumeric);
        QCOMPARE(nextSet(QStringLiteral("anything")), CharSet::Alphanumeric);
    }

    void buttonCyclesAndRebuildLeavesNoColour()
    {
        TalkFixture f;
        TestTalkWindow &w = f.window();
        Grid *g = w.grdBoard;
        QCOMPARE(w.cmdKey->text(), QStringLiteral("ひら"));
        QCOMPARE(g->cols(), 10);
        QCOMPARE(g->rows(), 5);
        g->setRow(2);
        g->setCol(3);
        g->setCellBackColor(Colors::LightGreen);
        f.press(w.cmdKey);
        QCOMPARE(w.cmdKey->text(), QStringLiteral("カタ"));
        QCOMPARE(g->textMatrix(0, 9), QStringLiteral("ア"));
        f.press(w.cmdKey);
        QCOMPARE(w.cmdKey->text(), QStringLiteral("英数"));
        QCOMPARE(g->textMatrix(1, 0), QStringLiteral("Q"));
        f.press(w.cmdKey);
        QCOMPARE(w.cmdKey->text(), QStringLiteral("ひら"));
        for (int r = 0; r < 5; ++r) {
            for (int c = 0; c < 10; ++c) {
                QCOMPARE(g->cellBackColor(r, c), Colors::White);
                QCOMPARE(g->cellAlignment(r, c), 5);
                QCOMPARE(g->colWidth(c), 1530);
                QCOMPARE(g->textMatrix(r, c), cell(CharSet::Hiragana, 9, r, c));
            }
        }
        QCOMPARE(f.beeper.count, 0); // the set button never beeps
    }

    void wideAlphanumericBoardHasEmptyWhiteColumns()
    {
        TalkFixture f({{QStringLiteral("gMaxC"), QStringLiteral("14")}});
        TestTalkWindow &w = f.window();
        QCOMPARE(w.grdBoard->cols(), 15);
        QCOMPARE(w.grdBoard->textMatrix(0, 4), QStringLiteral("が"));
        f.press(w.cmdKey);
        f.press(w.cmdKey);
        for (int r = 0; r < 5; ++r) {
            for (int c = 10; c < 15; ++c) {
                QCOMPARE(w.grdBoard->textMatrix(r, c), QString());
                QCOMPARE(w.grdBoard->cellBackColor(r, c), Colors::White);
            }
        }
    }
};

QTEST_MAIN(TestBoardPages)
#include "test_boardpages.moc"
