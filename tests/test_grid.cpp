#include "platform/colors.h"
#include "platform/fonts.h"
#include "platform/grid.h"
#include "platform/twips.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

class TestGrid : public QObject
{
    Q_OBJECT

    static void fill(Grid &g, const QStringList &rows)
    {
        g.setCols(2);
        g.setRows(int(rows.size()));
        for (int r = 0; r < rows.size(); ++r) {
            g.setTextMatrix(r, 0, QString::number(r));
            g.setTextMatrix(r, 1, rows[r]);
        }
    }

    // A 3 × 3 grid of 2000-twip columns in a window on show, ready to be pressed.
    static Grid *shownGrid(QWidget &window)
    {
        auto *g = new Grid(&window);
        Twips::setRect(g, 0, 0, 6000, 3000);
        g->setCols(3);
        g->setRows(3);
        for (int c = 0; c < 3; ++c)
            g->setColWidth(c, 2000);
        window.resize(500, 300);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("the grid's window was not shown");
        return g;
    }

private slots:
    void rowsAndColumnsKeepTextWhenGrowing()
    {
        Grid g(nullptr);
        fill(g, {QStringLiteral("a"), QStringLiteral("b")});
        g.setRows(5);
        QCOMPARE(g.textMatrix(1, 1), QStringLiteral("b"));
        QCOMPARE(g.textMatrix(4, 1), QString());
        // A sentence of megabytes is kept whole but shown cut, so drawing it costs nothing.
        const QString longLine(1 << 20, QChar(u'あ'));
        g.setTextMatrix(2, 1, longLine);
        QCOMPARE(g.textMatrix(2, 1), longLine);
        QVERIFY(g.model()->index(2, 1).data().toString().size() < 5000);
        g.setRows(0);
        QCOMPARE(g.rows(), 0);
        QCOMPARE(g.textMatrix(0, 0), QString()); // out of range reads empty
    }

    void currentCellAndSelectionColour()
    {
        Grid g(nullptr);
        g.setCols(4);
        g.setRows(3);
        g.setRow(1);
        g.setCol(1);
        g.setColSel(3);
        g.setCellBackColor(Colors::LightGreen);
        QCOMPARE(g.cellBackColor(1, 0), Colors::White);
        QCOMPARE(g.cellBackColor(1, 1), Colors::LightGreen);
        QCOMPARE(g.cellBackColor(1, 3), Colors::LightGreen);
        QCOMPARE(g.cellBackColor(0, 1), Colors::White);
        g.setText(QStringLiteral("x"));
        QCOMPARE(g.textMatrix(1, 1), QStringLiteral("x"));
        // Setting the column makes the selection that one cell again.
        g.setRow(2);
        g.setCol(2);
        g.setCellAlignment(Grid::CenterBottom);
        QCOMPARE(g.cellAlignment(2, 2), 5);
        QCOMPARE(g.cellAlignment(2, 3), 1);
    }

    void sortsByCodeUnitAndColoursStayWithTheirRows()
    {
        Grid g(nullptr);
        fill(g, {QStringLiteral("か"), QStringLiteral("B"), QStringLiteral("a"), QStringLiteral("あ"),
                 QStringLiteral("ア")});
        g.setRow(2); // "a" marked
        g.setCol(0);
        g.setColSel(1);
        g.setCellBackColor(Colors::LightGreen);
        g.setRow(0);
        g.setCol(1);
        g.setColSel(1);
        g.setSort(Grid::SortAscending);
        const QStringList ascending = {QStringLiteral("B"), QStringLiteral("a"), QStringLiteral("あ"),
                                       QStringLiteral("か"), QStringLiteral("ア")};
        for (int r = 0; r < 5; ++r)
            QCOMPARE(g.textMatrix(r, 1), ascending[r]);
        QCOMPARE(g.textMatrix(1, 0), QStringLiteral("2"));
        QCOMPARE(g.cellBackColor(1, 0), Colors::LightGreen);
        QCOMPARE(g.cellBackColor(0, 0), Colors::White);
        g.setSort(Grid::SortDescending);
        QCOMPARE(g.textMatrix(0, 1), QStringLiteral("ア"));
        QCOMPARE(g.textMatrix(4, 1), QStringLiteral("B"));
        g.setSort(3); // not a text sort: nothing moves
        QCOMPARE(g.textMatrix(0, 1), QStringLiteral("ア"));
        // Texts that begin alike are ordered by the whole text, equal ones keep their order.
        fill(g, {"あいうえお2", "あいうえ", "あいうえお1", "あいうえお2", "あい"});
        g.setSort(Grid::SortAscending);
        QStringList sorted;
        for (int r = 0; r < 5; ++r)
            sorted << g.textMatrix(r, 0) + g.textMatrix(r, 1);
        QCOMPARE(sorted, (QStringList{"4あい", "1あいうえ", "2あいうえお1", "0あいうえお2", "3あいうえお2"}));
        g.setSort(Grid::SortDescending);
        QCOMPARE(g.textMatrix(0, 0) + g.textMatrix(1, 0) + g.textMatrix(4, 0), QStringLiteral("034"));
        // Rows moved, and rows found without the spaces around them.
        g.moveRow(4, 0);
        QCOMPARE(g.textMatrix(0, 1), QStringLiteral("あい"));
        g.setTextMatrix(2, 1, QStringLiteral(" あいうえ "));
        QCOMPARE(g.findTrimmed(1, QStringLiteral("あいうえ")), 2);
        QCOMPARE(g.findTrimmed(1, QStringLiteral("あいうえお1"), 2), 3);
        QCOMPARE(g.findTrimmed(1, QStringLiteral("あいう")), -1);
    }

    void sortsAsAStableSortOfTheTextsInAnyStartingOrder()
    {
        // Alike beginnings, surrogate pairs above the half-width kana, empty texts.
        QStringList texts = {
            "",   "あいうえお", "あいうえ", "あいうえおか", "あいうえおか", "𠮷", "𠮷野", "ｱ",
            "ｱｲ", "ア",         "a",        " あ",          "ああああ日記", ""};
        QRandomGenerator rng(7);
        for (int i = 0; i < 200; ++i)
            texts << texts[rng.bounded(14)] + QChar(char16_t(u'ぁ' + rng.bounded(3)));
        const auto expected = [](QStringList rows, bool descending) {
            std::stable_sort(rows.begin(), rows.end(), [descending](const QString &a, const QString &b) {
                return descending ? QString::compare(a, b) > 0 : QString::compare(a, b) < 0;
            });
            return rows;
        };
        const auto sorted = [](Grid &g, bool descending) {
            g.setRow(0);
            g.setCol(1);
            g.setColSel(1);
            g.setSort(descending ? Grid::SortDescending : Grid::SortAscending);
            QStringList rows;
            for (int r = 0; r < g.rows(); ++r)
                rows << g.textMatrix(r, 1);
            return rows;
        };
        // In random order; then in order but for a few rows at either end, as a saved list is.
        QStringList nearly = expected(texts, false);
        nearly.move(0, 150);
        nearly << "あ"
               << "";
        for (const QStringList &start : {texts, nearly}) {
            for (const bool descending : {false, true}) {
                Grid g(nullptr);
                g.setCols(2);
                g.setColumnTexts(1, start);
                QCOMPARE(sorted(g, descending), expected(start, descending));
                // Equal texts keep the order they had.
                fill(g, start);
                sorted(g, descending);
                for (int r = 1; r < g.rows(); ++r)
                    if (g.textMatrix(r, 1) == g.textMatrix(r - 1, 1))
                        QVERIFY(g.textMatrix(r, 0).toInt() > g.textMatrix(r - 1, 0).toInt());
            }
        }
    }

    void aVeryLongTextIsShownCut()
    {
        Grid g(nullptr);
        g.setCols(1);
        g.setColumnTexts(0, {QString(10 * 1024 * 1024, QChar(u'あ'))});
        const QString shown = g.model()->index(0, 0).data().toString();
        QCOMPARE(shown.size(), 2001);
        QCOMPARE(shown.back(), QChar(0x2026));
        QCOMPARE(g.textMatrix(0, 0).size(), 10 * 1024 * 1024);
    }

    void columnWidthsInTwipsFollowTheScale()
    {
        QWidget window;
        Twips::setScale(&window, 1.0);
        auto *g = new Grid(&window);
        g->setCols(2);
        g->setColWidth(0, 1530);
        window.show();
        QCOMPARE(g->colWidth(0), 1530);
        QCOMPARE(g->columnWidth(0), 102);
        Twips::setScale(&window, 2.0);
        QCOMPARE(g->colWidth(0), 1530);
        QCOMPARE(g->columnWidth(0), 204);
    }

    void mouseDownRunsBeforeClickAndBothSeeThePressedCell()
    {
        QWidget window;
        Grid *g = shownGrid(window);
        QStringList order;
        QObject::connect(g, &Grid::mouseDown, g,
                         [&] { order << QStringLiteral("down %1 %2").arg(g->row()).arg(g->col()); });
        QObject::connect(g, &Grid::click, g,
                         [&] { order << QStringLiteral("click %1 %2").arg(g->row()).arg(g->col()); });
        const QRect cell = g->visualRect(g->model()->index(2, 1));
        QTest::mousePress(g->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(order, QStringList{QStringLiteral("down 2 1")});
        QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(order, (QStringList{QStringLiteral("down 2 1"), QStringLiteral("click 2 1")}));
        QCOMPARE(g->mouseRow(), 2);
        QCOMPARE(g->mouseCol(), 1);
    }

    void onlyThePrimaryButtonPresses()
    {
        QWidget window;
        Grid *g = shownGrid(window);
        int downs = 0, clicks = 0;
        QObject::connect(g, &Grid::mouseDown, g, [&] { ++downs; });
        QObject::connect(g, &Grid::click, g, [&] { ++clicks; });
        const QPoint cell = g->visualRect(g->model()->index(1, 1)).center();
        for (Qt::MouseButton b : {Qt::RightButton, Qt::MiddleButton, Qt::BackButton})
            QTest::mouseClick(g->viewport(), b, {}, cell);
        QCOMPARE(downs, 0);
        QCOMPARE(clicks, 0);
        // A right button let go during a left press does not end the press early.
        QTest::mousePress(g->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseRelease(g->viewport(), Qt::RightButton, {}, cell);
        QCOMPARE(clicks, 0);
        QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(downs, 1);
        QCOMPARE(clicks, 1);
    }

    void shrinkToFitShowsTheWholeText()
    {
        QWidget window;
        auto *g = new Grid(&window);
        Fonts::set(g, Fonts::Gothic, 54.75);
        g->setCols(2);
        g->setRows(1);
        Twips::setRect(g, 0, 0, 3000, 1500);
        g->setColWidth(0, 1500);
        g->setColWidth(1, 1500);
        g->setTextMatrix(0, 0, QStringLiteral("(^_^)"));
        g->setTextMatrix(0, 1, QStringLiteral("あ"));
        window.resize(300, 200);
        window.show();
        const auto fits = [g](int col) {
            return QFontMetricsF(g->cellFont(0, col)).horizontalAdvance(g->textMatrix(0, col)) <
                   g->columnWidth(col);
        };
        QVERIFY(!fits(0)); // cut short, as the lists show long sentences
        g->setShrinkToFit(true);
        QVERIFY(fits(0));
        QCOMPARE(g->cellFont(0, 1), g->font()); // text that fits keeps its font
        Twips::setScale(&window, 2.0);
        QVERIFY(fits(0));
        QVERIFY(g->cellFont(0, 0).pixelSize() > 0 || g->cellFont(0, 0).pointSizeF() > 4);
    }

    void changesWhileRedrawIsOffAppearWhenItIsOn()
    {
        QWidget window;
        auto *g = new Grid(&window);
        Twips::setRect(g, 0, 0, 6000, 3000);
        window.show();
        g->setRedraw(false);
        g->setCols(1);
        g->setRows(1000);
        g->setTextMatrix(999, 0, QStringLiteral("last"));
        g->setRedraw(true);
        QCOMPARE(g->model()->rowCount(), 1000);
        QCOMPARE(g->model()->index(999, 0).data().toString(), QStringLiteral("last"));
        g->setTopRow(990);
        QCOMPARE(g->topRow(), 990);
    }
};

QTEST_MAIN(TestGrid)
#include "test_grid.moc"
