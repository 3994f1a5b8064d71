#include "access/accessdialog.h"
#include "entries/mailwindow.h"
#include "platform/buttonaccessible.h"
#include "platform/coverwatch.h"
#include "platform/highlightframe.h"
#include "platform/keyrepeatguard.h"
#include "shared/okdialog.h"
#include "shared/optionsdialog.h"
#include "shared/talkstate.h"
#include "support/talkfixture.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

namespace {

// Keys that reach a widget, a release as the key's negative.
class KeyProbe : public QWidget
{
public:
    QList<int> heard;

protected:
    void keyPressEvent(QKeyEvent *e) override { heard << e->key(); }
    void keyReleaseEvent(QKeyEvent *e) override { heard << -e->key(); }
};

std::unique_ptr<TalkFixture> startedWith(const QHash<QString, QString> &access,
                                         const QHash<QString, QString> &options = {})
{
    auto f = std::make_unique<TalkFixture>(options, false);
    f->accessSettings.values = access;
    if (!f->start())
        qFatal("start-up failed");
    f->program().access.setManualTicks(true);
    f->program().access.tick(); // reads the screen: the first highlight
    return f;
}

QString highlightedLabel(TalkFixture &f)
{
    const ScanNode *n = f.program().access.scanner().highlighted();
    return n ? n->label : QString();
}

// Ticks until the highlight reaches `label`; fails after a few rounds.
bool tickTo(TalkFixture &f, const QString &label)
{
    for (int i = 0; i < 60; ++i) {
        if (highlightedLabel(f) == label)
            return true;
        f.program().access.tick();
    }
    qWarning("the highlight never reached %s", qPrintable(label));
    return false;
}

// The keys of the main window a user sees and can press that the scan does not offer.
QStringList unscanned(TalkFixture &f)
{
    f.program().access.tick();
    QSet<const QWidget *> scanned;
    for (const ScanTarget &t : f.program().access.screen().targets)
        scanned.insert(t.widget.data());
    QStringList out;
    for (QAbstractButton *b : f.window().findChildren<QAbstractButton *>())
        if (b->window() == &f.window() && b->isVisible() && b->isEnabled() && !IsCovered(b) &&
            !scanned.contains(b))
            out << b->objectName();
    return out;
}

void switchPress(TalkFixture &f, Qt::Key key = Qt::Key_Space)
{
    QTest::keyClick(&f.window(), key);
}

// Every control that shows in a window, as assistive tools see it, has a name.
QStringList unnamed(QWidget *window)
{
    QStringList out;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisible() || w->window() != window || qobject_cast<HighlightFrame *>(w) ||
            w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
        const bool container = a && (a->role() == QAccessible::Pane || a->role() == QAccessible::Grouping ||
                                     a->role() == QAccessible::Client);
        if (a && !container && a->text(QAccessible::Name).trimmed().isEmpty())
            out << w->objectName() + QLatin1Char(':') + QLatin1String(w->metaObject()->className());
    }
    return out;
}

// Each grid is a table of its cells, in their rows and columns.
void checkTable(Grid *g)
{
    QAccessibleTableInterface *table = QAccessible::queryAccessibleInterface(g)->tableInterface();
    QVERIFY2(table, qPrintable(g->objectName()));
    QCOMPARE(table->rowCount(), g->rows());
    QCOMPARE(table->columnCount(), g->cols());
    for (int r = 0; r < g->rows(); ++r)
        for (int c = 0; c < g->cols(); ++c) {
            QAccessibleInterface *cell = table->cellAt(r, c);
            QCOMPARE(cell->text(QAccessible::Name), g->textMatrix(r, c));
            QCOMPARE(cell->tableCellInterface()->rowIndex(), r);
            QCOMPARE(cell->tableCellInterface()->columnIndex(), c);
            QCOMPARE(cell->tableCellInterface()->table(), QAccessible::queryAccessibleInterface(g));
        }
    QVERIFY(!table->cellAt(g->rows(), 0));
}

// The cells a grid reports as selected, as (row, column).
QList<std::pair<int, int>> selected(Grid *g)
{
    QList<std::pair<int, int>> out;
    for (QAccessibleInterface *cell :
         QAccessible::queryAccessibleInterface(g)->tableInterface()->selectedCells()) {
        if (cell->state().selected) // a selected cell says so
            out << std::pair{cell->tableCellInterface()->rowIndex(),
                             cell->tableCellInterface()->columnIndex()};
    }
    return out;
}

// Every button that shows has its caption as its name, or, showing a symbol, the word for it.
QStringList namesWithoutCaption(QWidget *window)
{
    QStringList out;
    for (ColorButton *b : window->findChildren<ColorButton *>()) {
        if (!b->isVisible())
            continue;
        const QString name = QAccessible::queryAccessibleInterface(b)->text(QAccessible::Name);
        const QString word = ButtonAccessible::symbolWords().value(b->text());
        if (word.isEmpty() ? !name.startsWith(b->text()) : name != word)
            out << b->text() + QStringLiteral(" → ") + name;
    }
    return out;
}

} // namespace

// Switch scanning, dwell, the press filters and the names assistive tools read,
// through the real main window.
class TestAccess : public QObject
{
    Q_OBJECT

private slots:
    void oneSwitchWritesThroughTheSelectionScreen()
    {
        auto f = startedWith({{"Method", "2"}});
        TestTalkWindow &w = f->window();
        QCOMPARE(highlightedLabel(*f), w.grdBoard->textMatrix(0, 0)); // the first board row
        QVERIFY(f->program().access.frame()->isVisible());
        QVERIFY(f->program().access.frame()->lineWidth() >= HighlightFrame::MinWidthPx);

        switchPress(*f); // into the first row
        QVERIFY(tickTo(*f, QStringLiteral("か")));
        switchPress(*f);
        QVERIFY(w.fraSet->isVisible());
        QCOMPARE(f->program().access.screen().kind, QStringLiteral("selection"));
        QCOMPARE(f->agent.spoken(), QStringList{"か"});

        QCOMPARE(highlightedLabel(*f), QStringLiteral("さ")); // the row of か, its first cell named
        switchPress(*f);
        QVERIFY(tickTo(*f, QStringLiteral("が")));
        switchPress(*f);
        QVERIFY(!w.fraSet->isVisible());
        QCOMPARE(w.txtTalk->text(), QStringLiteral("が_"));
        QCOMPARE(f->agent.spoken(), (QStringList{"か", "が"}));
        // Back on the board, the scan starts again at the top.
        QCOMPARE(f->program().access.scanner().path(), std::vector<int>{0});
    }

    void columnsAndThePressedCharacterFirst()
    {
        auto f = startedWith({{"Method", "2"}, {"ColumnFirst", "1"}, {"PickFirst", "1"}}, {{"Samp", "0"}});
        TestTalkWindow &w = f->window();
        QCOMPARE(highlightedLabel(*f), QStringLiteral("あ")); // the あ column, on the right
        f->program().access.tick();
        QCOMPARE(highlightedLabel(*f), QStringLiteral("か"));
        switchPress(*f);
        switchPress(*f); // か, the column's first cell
        QVERIFY(w.fraSet->isVisible());
        QCOMPARE(highlightedLabel(*f), QStringLiteral("か")); // the selection screen starts on it
        switchPress(*f);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("か_"));
    }

    void columnsInBlocksOfThree()
    {
        {
            // Blocks are of columns: with the board scanned by rows the setting changes nothing.
            auto rows = startedWith({{"Method", "2"}, {"ColumnBlocks", "1"}});
            QCOMPARE(highlightedLabel(*rows), rows->window().grdBoard->textMatrix(0, 0));
            QVERIFY(!rows->program().access.scanner().highlighted()->children.front().isGroup());
        }
        auto f = startedWith({{"Method", "2"}, {"ColumnFirst", "1"}, {"ColumnBlocks", "1"}}, {{"Samp", "0"}});
        TestTalkWindow &w = f->window();
        Grid *board = w.grdBoard;
        QCOMPARE(highlightedLabel(*f), QStringLiteral("あかさ"));
        // One rectangle around the three rightmost columns, not a lattice of fifteen cells.
        QRect around;
        for (int r = 0; r < board->rows(); ++r)
            for (int c = board->cols() - 3; c < board->cols(); ++c)
                around |= board->cellRect(r, c).translated(board->pos());
        QCOMPARE(f->program().access.frame()->framedAreas(), QList<QRect>{around});

        f->program().access.tick();
        QCOMPARE(highlightedLabel(*f), QStringLiteral("たなは"));
        switchPress(*f); // into the block, its first column
        QCOMPARE(highlightedLabel(*f), QStringLiteral("た"));
        f->program().access.tick();
        QCOMPARE(highlightedLabel(*f), QStringLiteral("な"));
        switchPress(*f);
        switchPress(*f); // な, the column's first cell
        QVERIFY(w.fraSet->isVisible());
        QCOMPARE(f->agent.spoken(), QStringList{"な"});
    }

    void theWidenedTextAreaHidesWhatItCoversFromTheScanAndNothingElse()
    {
        auto f = startedWith({{"Method", "2"}});
        TestTalkWindow &w = f->window();
        f->press(w.cmdWide);
        f->program().access.tick();
        QCOMPARE(f->program().access.screen().kind, QStringLiteral("covered"));
        QCOMPARE(highlightedLabel(*f), QStringLiteral("読む"));
        f->press(w.cmdWide);
        f->program().access.tick();
        QCOMPARE(f->program().access.screen().kind, QStringLiteral("board"));

        // Over a list and over an opened entry, the keys beside them still show, and still scan.
        QCOMPARE(unscanned(*f), QStringList());
        f->press(w.cmdSamp);
        QCOMPARE(unscanned(*f), QStringList());
        f->press(w.cmdWide);
        QCOMPARE(unscanned(*f), QStringList());
        f->press(w.cmdWide);
        TalkFixture::pressCell(w.grdEx, 0, 1);
        f->press(w.cmdDec); // the diary list
        f->press(w.cmdWide);
        QCOMPARE(unscanned(*f), QStringList());
        f->press(w.cmdWide);
        f->press(w.cmdDec); // today's entry
        QCOMPARE(unscanned(*f), QStringList());
        f->press(w.cmdWide);
        QCOMPARE(unscanned(*f), QStringList());
    }

    void spokenScanningNeverTalksOverTheVoice()
    {
        auto f = startedWith({{"Method", "2"}, {"SpeakScan", "1"}});
        TestTalkWindow &w = f->window();
        f->agent.log.clear();
        f->agent.recording()->speaking = false; // the first row's name has been said
        f->program().access.tick();
        QCOMPARE(f->agent.spoken(),
                 QStringList{w.grdBoard->textMatrix(1, 0)}); // the second row, by its first cell
        // Still being said (or a sentence being read): the next names are skipped, not queued over it.
        f->program().access.tick();
        f->program().access.tick();
        QCOMPARE(f->agent.spoken().size(), 1);
        f->agent.recording()->speaking = false;
        f->program().access.tick();
        QCOMPARE(f->agent.spoken().size(), 2);

        // A caption that changed on a screen otherwise as it was is said as it is now.
        w.cmdRead->setText(QStringLiteral("♪"));
        for (int i = 0; i < 60 && highlightedLabel(*f) != QStringLiteral("読む"); ++i) {
            f->agent.recording()->speaking = false;
            f->program().access.tick();
        }
        QCOMPARE(f->agent.spoken().last(), ButtonAccessible::nameOf(w.cmdRead));
        QVERIFY(f->agent.spoken().last() != QStringLiteral("読む"));
        // So is a row named by its first key.
        const QString was = w.cmdKey->text();
        w.cmdKey->setText(QStringLiteral("♭"));
        for (int i = 0; i < 60 && highlightedLabel(*f) != was; ++i) {
            f->agent.recording()->speaking = false;
            f->program().access.tick();
        }
        QCOMPARE(highlightedLabel(*f), was);
        QCOMPARE(f->agent.spoken().last(), ButtonAccessible::nameOf(w.cmdKey));
    }

    void switchKeysNeverType()
    {
        auto f = startedWith({{"Method", "3"}});
        TestTalkWindow &w = f->window();
        f->typed(QStringLiteral("あ_"));
        QTest::keyClick(w.txtTalk, Qt::Key_Return); // the move switch
        QTest::keyClick(w.txtTalk, Qt::Key_Return);
        QCOMPARE(f->program().access.scanner().path(), std::vector<int>{2});
        f->program().access.tick(); // two switches: the timer never moves the highlight
        QCOMPARE(f->program().access.scanner().path(), std::vector<int>{2});
        QTest::keyPress(w.txtTalk, Qt::Key_Space);
        QTest::keyRelease(w.txtTalk, Qt::Key_Space);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("あ_"));
        QCOMPARE(f->program().access.scanner().level(), 1); // into the third board row

        // A field a carer writes in (a device's command line) takes the space as a space.
        QLineEdit field;
        field.show();
        QTest::keyClick(&field, Qt::Key_Space);
        QTest::keyClicks(&field, QStringLiteral("tv"));
        QCOMPARE(field.text(), QStringLiteral(" tv"));
        QCOMPARE(f->program().access.scanner().level(), 1);
    }

    void aHeldSwitchIsOnePressThoughTheServerRepeatsIt()
    {
        auto f = startedWith({{"Method", "2"}});
        TestTalkWindow &w = f->window();
        KeyRepeatGuard guard;
        f->program().access.tick();
        const std::vector<int> before = f->program().access.scanner().path();
        QTest::keyPress(w.txtTalk, Qt::Key_Space);
        for (int i = 0; i < 5; ++i) { // an X server's repeat, not marked as one
            QTest::keyRelease(w.txtTalk, Qt::Key_Space);
            QTest::keyPress(w.txtTalk, Qt::Key_Space);
        }
        QTest::keyRelease(w.txtTalk, Qt::Key_Space);
        QTRY_COMPARE(f->program().access.scanner().level(), 1);
        QTest::qWait(100);
        QCOMPARE(f->program().access.scanner().level(), 1);
        QCOMPARE(f->program().access.scanner().path().front(), before.front());
        QVERIFY(w.txtTalk->text().isEmpty());
    }

    void aNoticeWhileTheFilesLoadIsAnsweredByScanningAndHasTheCall()
    {
        TalkFixture f({}, false, true);
        f.accessSettings.values = {{"Method", "2"}};
        QFile bad(f.folder.filePath(QStringLiteral("Talk.txt")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("\"\xff\xfe\xff\"\r\n"); // neither UTF-8 nor code page 932: told, and left alone
        bad.close();
        bool answered = false;
        f.modal.answers.push_back([&](QDialog &d) {
            d.show();
            f.program().access.setManualTicks(true);
            f.program().access.tick();
            QCOMPARE(f.program().access.screen().window.data(), static_cast<QWidget *>(&d));
            QVERIFY(d.findChild<QPushButton *>(QStringLiteral("cmdCall")));
            QVERIFY(tickTo(f, QStringLiteral("OK")));
            QTest::keyClick(&d, Qt::Key_Space);
            answered = !d.isVisible();
        });
        QVERIFY(f.start());
        QVERIFY(answered);
    }

    void aConfirmationIsAnsweredByScanning()
    {
        auto f = startedWith({{"Method", "2"}});
        TestTalkWindow &w = f->window();
        f->typed(QStringLiteral("あ_"));
        bool asked = false;
        f->modal.answers.push_back([&](QDialog &d) {
            asked = true;
            d.show();
            // Pressed before the dialog's highlight was drawn: what the user saw is gone, nothing is
            // taken, and the press shows the dialog's first key.
            switchPress(*f);
            QVERIFY(d.isVisible());
            QCOMPARE(f->program().access.screen().window.data(), static_cast<QWidget *>(&d));
            QCOMPARE(highlightedLabel(*f), QStringLiteral("ＯＫ"));
            QCOMPARE(f->program().access.frame()->framedWindow(), static_cast<QWidget *>(&d));
            f->program().access.tick();
            QCOMPARE(highlightedLabel(*f), QStringLiteral("キャンセル"));
            switchPress(*f);
            QVERIFY(!d.isVisible());
        });
        // The exit button is in the last group, named by its first button.
        QVERIFY(tickTo(*f, w.cmdKey->text()));
        switchPress(*f);
        QVERIFY(tickTo(*f, QStringLiteral("終了")));
        switchPress(*f);
        QVERIFY(asked);
        QVERIFY(!f->shared().state.okAnswer());
        QVERIFY(w.isVisible()); // cancelled: the program goes on
        QCOMPARE(w.txtTalk->text(), QStringLiteral("あ_"));
    }

    void dwellPressesWhatThePointerRestsOn()
    {
        auto f = startedWith({{"Method", "1"}, {"DwellMs", "800"}}, {{"Samp", "0"}});
        TestTalkWindow &w = f->window();
        AccessControl &access = f->program().access;
        const QPoint ka = w.grdBoard->mapToGlobal(w.grdBoard->cellRect(0, 8).center());
        const QPoint sa = w.grdBoard->mapToGlobal(w.grdBoard->cellRect(0, 7).center());
        access.pointerAt(ka, 0);
        access.pointerAt(ka, 400);
        QCOMPARE(access.frame()->framed(), w.grdBoard->cellRect(0, 8).translated(w.grdBoard->pos()));
        access.pointerAt(sa, 500); // moving off for longer than a tremble cancels
        access.pointerAt(sa, 1000);
        access.pointerAt(ka, 1100);
        access.pointerAt(ka, 1800);
        QVERIFY(!w.fraSet->isVisible());
        access.pointerAt(ka, 1900);
        QVERIFY(w.fraSet->isVisible());
        QCOMPARE(f->agent.spoken(), QStringList{"か"});

        // The pointer stays on the selection screen's centre: one press, not a stream.
        const QPoint centre = w.grdBoard2->mapToGlobal(w.grdBoard2->cellRect(1, 1).center());
        access.pointerAt(centre, 2000);
        access.pointerAt(centre, 2800);
        access.pointerAt(centre, 5000);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("か_"));

        // A repeating key goes on while the pointer rests: ← moves on every 0.23 s.
        f->typed(QStringLiteral("あいう_"));
        const QPoint left = w.cmdRes[2]->mapToGlobal(w.cmdRes[2]->rect().center());
        access.pointerAt(left, 10000);
        access.pointerAt(left, 10800);
        QCOMPARE(w.txtTalk->selStart(), 2);
        access.pointerAt(left, 11030);
        QCOMPARE(w.txtTalk->selStart(), 1);
    }

    void aPointerHeldDeadStillDwellsAfterAJumpAndAGlide()
    {
        auto f = startedWith({{"Method", "1"}, {"DwellMs", "800"}}, {{"Samp", "0"}});
        TestTalkWindow &w = f->window();
        AccessControl &access = f->program().access;
        const QPoint ka = w.grdBoard->mapToGlobal(w.grdBoard->cellRect(0, 8).center());
        const QPoint away = w.mapToGlobal(QPoint(-2000, -2000));
        qint64 t = 0;
        // The pointer at `at` until `until`, sampled as the program's timer samples it.
        auto hold = [&](QPoint at, qint64 until) {
            for (; t <= until && !w.fraSet->isVisible(); t += AccessControl::DwellSampleMs)
                access.pointerAt(at, t);
        };
        auto pressedKa = [&] {
            const bool pressed =
                w.fraSet->isVisible() && w.grdBoard2->textMatrix(1, 1) == QStringLiteral("か");
            f->press(w.cmdEnd2);
            hold(away, t + 1000); // resting off the window before the next try
            return pressed;
        };

        hold(away, 1000);
        const qint64 jumped = t;
        hold(ka, jumped + 400);
        QCOMPARE(access.frame()->framed(), w.grdBoard->cellRect(0, 8).translated(w.grdBoard->pos()));
        QCOMPARE(access.frame()->progress(), 0.5); // the ring fills, with nothing moving
        hold(ka, jumped + 750);
        QVERIFY(!w.fraSet->isVisible());
        hold(ka, jumped + 800);
        QVERIFY(pressedKa());

        // Gliding from two cells to the left in small steps, then still.
        const QPoint from = w.grdBoard->mapToGlobal(w.grdBoard->cellRect(0, 6).center());
        const qint64 glided = t;
        for (int i = 0; i <= 5; ++i, t += AccessControl::DwellSampleMs)
            access.pointerAt(from + (ka - from) * i / 5, t);
        const qint64 stopped = t - AccessControl::DwellSampleMs;
        const qint64 arrived = glided + 4 * AccessControl::DwellSampleMs; // the pointer is first on か
        hold(ka, arrived + 800 - AccessControl::DwellSampleMs);
        QVERIFY(!w.fraSet->isVisible());
        hold(ka, stopped + 800 + PointerSmoothing::StillMs);
        QVERIFY(pressedKa());

        // Trembling by a few pixels is on time too.
        const qint64 trembled = t;
        for (int i = 0; t < trembled + 800; ++i, t += AccessControl::DwellSampleMs)
            access.pointerAt(ka + QPoint(i % 2 ? 3 : -3, i % 3 - 1), t);
        QVERIFY(!w.fraSet->isVisible());
        access.pointerAt(ka, t);
        QVERIFY(pressedKa());
    }

    void aPointerHeldStillPressesOnceThoughTheKeysChangeUnderIt()
    {
        auto f = startedWith({{"Method", "1"}, {"DwellMs", "800"}},
                             {{"Samp", "0"}, {"Kanji", "1"}, {"OPT1", "2"}});
        TestTalkWindow &w = f->window();
        w.show();
        AccessControl &access = f->program().access;
        f->program().candidates.learnSentence(QStringLiteral("おちゃをください"));
        f->typed(QStringLiteral("お_"));
        f->program().candidates.afterEntry();
        const auto first = [&] {
            const auto keys = w.findChildren<QPushButton *>(QStringLiteral("cmdNext"));
            for (QPushButton *k : keys)
                if (k->isVisible() && k->property("index").toInt() == 0)
                    return k;
            return static_cast<QPushButton *>(nullptr);
        };
        QTRY_VERIFY(first() && first()->text() == QStringLiteral("ち"));
        const QPoint at = first()->mapToGlobal(first()->rect().center());
        qint64 t = 0;
        auto hold = [&](QPoint p, qint64 until) {
            for (; t <= until; t += AccessControl::DwellSampleMs) {
                access.pointerAt(p, t);
                QCoreApplication::processEvents(); // the strip's keys follow the text
            }
        };
        hold(at, 3000);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("おち_"));
        QCOMPARE(first()->text(), QStringLiteral("ゃ")); // a new key under the pointer, not pressed
        // Off the key and back: it presses again.
        hold(w.txtTalk->mapToGlobal(w.txtTalk->rect().center()), 3500);
        hold(at, 4600);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("おちゃ_"));
    }

    void aPointerHeldStillPressesNothingOnTheScreenAPressOpened()
    {
        auto f = startedWith({{"Method", "1"}, {"DwellMs", "800"}}, {{"Samp", "0"}});
        TestTalkWindow &w = f->window();
        w.show();
        AccessControl &access = f->program().access;
        const QPoint ku = w.grdBoard->mapToGlobal(w.grdBoard->cellRect(2, 8).center());
        qint64 t = 0;
        auto hold = [&](QPoint at, qint64 until) {
            for (; t <= until; t += AccessControl::DwellSampleMs)
                access.pointerAt(at, t);
        };
        hold(ku, 900);
        QVERIFY(w.fraSet->isVisible());
        // The selection screen now lies under the pointer; resting there types nothing.
        QVERIFY(QRect(w.grdBoard2->mapToGlobal(QPoint()), w.grdBoard2->size()).contains(ku));
        const int under = access.screen().targetAt(w.mapFromGlobal(ku));
        QVERIFY(under >= 0);
        const ScanTarget &cell = access.screen().targets[size_t(under)];
        QVERIFY(!w.grdBoard2->textMatrix(cell.row, cell.col).isEmpty()); // a character lies there
        hold(ku, 4000);
        QVERIFY(w.fraSet->isVisible());
        QVERIFY(w.txtTalk->text().isEmpty());
        // Moved to the character wanted, it presses as ever.
        hold(w.grdBoard2->mapToGlobal(w.grdBoard2->cellRect(1, 1).center()), 5000);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("く_"));

        // The same for a dialog that a dwell opens and one that a dwell closes.
        const QPoint end = w.cmdEnd->mapToGlobal(w.cmdEnd->rect().center());
        QPoint cancelAt;
        bool stillOpen = false;
        f->modal.answers.push_back([&](QDialog &d) {
            d.show();
            hold(end, t + 2000);
            stillOpen = d.isVisible();
            QWidget *cancel = arrayButton(&d, QStringLiteral("cmdOK"), 1);
            cancelAt = cancel->mapToGlobal(cancel->rect().center());
            for (const qint64 until = t + 2000; t <= until && d.isVisible();
                 t += AccessControl::DwellSampleMs)
                access.pointerAt(cancelAt, t);
        });
        hold(end, t + 900);
        QVERIFY(stillOpen);
        QVERIFY(w.isVisible());                                            // cancelled
        QVERIFY(access.screen().targetAt(w.mapFromGlobal(cancelAt)) >= 0); // something lies there
        hold(cancelAt, t + 3000);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("く_"));
    }

    void aStillPointerDwellsOnTheProgramsOwnTimer()
    {
        auto f = startedWith({{"Method", "1"}, {"DwellMs", "300"}});
        TestTalkWindow &w = f->window();
        QCursor::setPos(w.grdBoard->mapToGlobal(w.grdBoard->cellRect(0, 8).center()));
        f->program().access.setManualTicks(false); // nothing moves from here on
        QTRY_VERIFY_WITH_TIMEOUT(w.fraSet->isVisible(), 5000);
        QCOMPARE(w.grdBoard2->textMatrix(1, 1), QStringLiteral("か"));
    }

    void aDialogClosedByDwellTakesTheHighlightWithIt()
    {
        auto f = startedWith({{"Method", "1"}, {"DwellMs", "300"}});
        TestTalkWindow &w = f->window();
        AccessControl &access = f->program().access;
        f->typed(QStringLiteral("あ_"));
        f->modal.answers.push_back([&](QDialog &d) {
            d.show();
            QWidget *cancel = arrayButton(&d, QStringLiteral("cmdOK"), 1);
            const QPoint at = cancel->mapToGlobal(cancel->rect().center());
            access.pointerAt(at, 0);
            QCOMPARE(access.frame()->framedWindow(), static_cast<QWidget *>(&d));
            access.pointerAt(at, 400);
            QVERIFY(!d.isVisible());
        });
        f->press(w.cmdEnd);
        QVERIFY(w.isVisible());
        // The dialog, and the frame that stood in it, are gone; the next samples go on safely.
        const QPoint ka = w.grdBoard->mapToGlobal(w.grdBoard->cellRect(0, 8).center());
        access.pointerAt(ka, 1000);
        access.pointerAt(ka, 1400);
        QVERIFY(w.fraSet->isVisible());
        QCOMPARE(access.frame()->framedWindow(), static_cast<QWidget *>(&w));
    }

    void aShakyDoubleTapIsOnePress()
    {
        auto f = startedWith({{"IgnoreRepeatMs", "500"}});
        TestTalkWindow &w = f->window();
        TalkFixture::pressCell(w.grdBoard, 3, 5); // ね
        QVERIFY(w.fraSet->isVisible());
        TalkFixture::pressCell(w.grdBoard2, 1, 1); // the second tap of the double tap
        QVERIFY(w.fraSet->isVisible());
        QCOMPARE(w.txtTalk->text(), QString());
        QTest::qWait(600);
        TalkFixture::pressCell(w.grdBoard2, 1, 1);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("ね_"));

        // Without filters every tap counts, as it always has.
        auto plain = startedWith({});
        TalkFixture::pressCell(plain->window().grdBoard, 3, 5);
        TalkFixture::pressCell(plain->window().grdBoard2, 1, 1);
        QCOMPARE(plain->window().txtTalk->text(), QStringLiteral("ね_"));
    }

    void anyClickCanBeTheSwitch()
    {
        auto f = startedWith({{"Method", "2"}, {"MouseSwitch", "1"}});
        TestTalkWindow &w = f->window();
        const QString set = w.cmdKey->text();
        QTest::mouseClick(w.cmdKey, Qt::RightButton); // wherever it lands, it is the switch
        QCOMPARE(w.cmdKey->text(), set);
        QCOMPARE(f->program().access.scanner().level(), 1); // into the first board row
    }

    void aHeldKeyCanWaitLongerBeforeItRepeats()
    {
        auto f = startedWith({{"FirstRepeatMs", "600"}}, {{"Samp", "0"}});
        TestTalkWindow &w = f->window();
        f->typed(QStringLiteral("あいう_"));
        QTest::mousePress(w.cmdRes[2], Qt::LeftButton);
        QTest::qWait(300); // with the usual 0.23 s, ← would have moved twice by now
        QTest::mouseRelease(w.cmdRes[2], Qt::LeftButton);
        QCOMPARE(w.txtTalk->selStart(), 2);
    }

    void aBrushIsNoPressWhenAHoldIsAsked()
    {
        auto f = startedWith({{"HoldMs", "300"}});
        TestTalkWindow &w = f->window();
        const QPoint ka = w.grdBoard->visualRect(w.grdBoard->model()->index(0, 8)).center();
        QTest::mouseClick(w.grdBoard->viewport(), Qt::LeftButton, {}, ka);
        QVERIFY(!w.fraSet->isVisible());
        QTest::mousePress(w.grdBoard->viewport(), Qt::LeftButton, {}, ka);
        QTest::qWait(350);
        QTest::mouseRelease(w.grdBoard->viewport(), Qt::LeftButton, {}, ka);
        QVERIFY(w.fraSet->isVisible());
        QCOMPARE(f->agent.spoken(), QStringList{"か"});
    }

    void cellsAreNamedAndTheirActionPresses()
    {
        auto f = startedWith({});
        TestTalkWindow &w = f->window();
        QAccessibleInterface *board = QAccessible::queryAccessibleInterface(w.grdBoard);
        QCOMPARE(board->text(QAccessible::Name), QStringLiteral("文字盤"));
        QAccessibleInterface *ka = board->child(0 * w.grdBoard->cols() + 8);
        QCOMPARE(ka->text(QAccessible::Name), QStringLiteral("か"));
        QVERIFY(!ka->state().invisible);
        QCOMPARE(ka->actionInterface()->actionNames(),
                 QStringList{QAccessibleActionInterface::pressAction()});
        ka->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(w.fraSet->isVisible());
        // Covered by the selection screen, the board and the keys below are not reported as showing.
        QVERIFY(board->state().invisible);
        QVERIFY(ka->state().invisible);
        QVERIFY(QAccessible::queryAccessibleInterface(w.cmdRes[0])->state().invisible);
        QVERIFY(!QAccessible::queryAccessibleInterface(w.cmdEnd2)->state().invisible);
        // Below the normal text area the copy key is cut off until the area is widened.
        QVERIFY(QAccessible::queryAccessibleInterface(w.cmdCopy)->state().invisible);
        QAccessibleInterface *selection = QAccessible::queryAccessibleInterface(w.grdBoard2);
        selection->child(1 * 3 + 2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(w.txtTalk->text(), QStringLiteral("が_"));
        QVERIFY(!board->state().invisible);
        QCOMPARE(QAccessible::queryAccessibleInterface(w.cmdRes[0])->text(QAccessible::Name),
                 QStringLiteral("右へ"));
    }

    void everyGridIsATableAndTheMarkIsItsSelection()
    {
        auto f = std::make_unique<TalkFixture>(QHash<QString, QString>{{"Samp", "0"}}, false);
        f->writeEntries(QStringLiteral("day.txt"), {"26.11.30 さむい"});
        QVERIFY(f->start());
        TestTalkWindow &w = f->window();

        checkTable(w.grdBoard);
        QCOMPARE(selected(w.grdBoard), {});
        TalkFixture::pressCell(w.grdBoard, 0, 8);
        QCOMPARE(selected(w.grdBoard), (QList<std::pair<int, int>>{{0, 8}}));
        QCOMPARE(QAccessible::queryAccessibleInterface(w.grdBoard)->tableInterface()->selectedRowCount(), 0);
        checkTable(w.grdBoard2);
        TalkFixture::pressCell(w.grdBoard2, 1, 2);
        QCOMPARE(w.txtTalk->text(), QStringLiteral("が_"));

        f->press(w.cmdSamp);
        checkTable(w.grdEx);
        QAccessibleTableInterface *ex = QAccessible::queryAccessibleInterface(w.grdEx)->tableInterface();
        QCOMPARE(ex->selectedRows(), QList<int>{0});
        QCOMPARE(selected(w.grdEx), (QList<std::pair<int, int>>{{0, 1}})); // the head column is not marked
        f->press(w.cmdDown);
        QCOMPARE(ex->selectedRows(), QList<int>{1});
        QVERIFY(!ex->cellAt(0, 1)->state().selected);
        TalkFixture::pressCell(w.grdEx, 3, 1);
        QCOMPARE(ex->selectedRows(), QList<int>{3});
        // Rows are described by their kana-row head.
        QVERIFY(!ex->rowDescription(w.grdEx->rows() - 1).isEmpty());
        for (int r = 0; r < w.grdEx->rows(); ++r)
            if (!w.grdEx->textMatrix(r, 0).trimmed().isEmpty())
                QCOMPARE(ex->rowDescription(r), w.grdEx->textMatrix(r, 0).trimmed());

        TalkFixture::pressCell(w.grdEx, 0, 1);
        f->press(w.cmdDec); // the diary
        checkTable(w.grdDay);
        QCOMPARE(QAccessible::queryAccessibleInterface(w.grdDay)->tableInterface()->selectedRows(),
                 QList<int>{0});
        f->press(w.cmdSamp);
        f->press(w.cmdSamp);
        TalkFixture::pressCell(w.grdEx, 1, 1);
        f->press(w.cmdDec); // the address book
        checkTable(w.grdAD);
        f->press(w.cmdSamp);
        for (Grid *g : {w.grdSp, w.grdMail})
            checkTable(g);
    }

    void namesCarryTheCaptionsAndFollowThem()
    {
        auto f = std::make_unique<TalkFixture>(QHash<QString, QString>{{"Samp", "0"}}, false);
        f->writeEntries(QStringLiteral("addres.txt"), {"よしこ,yoshiko@example.jp"});
        QVERIFY(f->start());
        TestTalkWindow &w = f->window();
        QCOMPARE(namesWithoutCaption(&w), QStringList());
        for (int page = 0; page < 3; ++page) {
            f->press(w.cmdKey);
            QCOMPARE(namesWithoutCaption(&w), QStringList());
        }
        f->typed(QStringLiteral("あ_"));
        f->press(w.cmdRead);
        QCOMPARE(w.cmdRead->text(), QStringLiteral("♪"));
        QCOMPARE(QAccessible::queryAccessibleInterface(w.cmdRead)->text(QAccessible::Name),
                 QStringLiteral("止める"));
        QCOMPARE(namesWithoutCaption(&w), QStringList());
        // The widened text area covers the board: its cells are not showing and cannot be pressed.
        QAccessibleInterface *ka =
            QAccessible::queryAccessibleInterface(w.grdBoard)->tableInterface()->cellAt(0, 8);
        QVERIFY(ka->state().invisible);
        QVERIFY(QAccessible::queryAccessibleInterface(w.grdBoard)->state().invisible);
        ka->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(!w.fraSet->isVisible());
        f->press(w.cmdRead);
        QCOMPARE(w.cmdRead->text(), QStringLiteral("読む"));
        QVERIFY(!ka->state().invisible);
        f->press(w.cmdWide);
        QVERIFY(ka->state().invisible);
        QCOMPARE(namesWithoutCaption(&w), QStringList());
        f->press(w.cmdWide);

        f->press(w.cmdSamp);
        QCOMPARE(namesWithoutCaption(&w), QStringList());
        TalkFixture::pressCell(w.grdEx, 0, 1);
        f->press(w.cmdDec); // the diary list
        QCOMPARE(namesWithoutCaption(&w), QStringList());
        f->press(w.cmdDec); // today's entry
        QCOMPARE(w.cmdBack->text(), QStringLiteral("戻る"));
        QCOMPARE(namesWithoutCaption(&w), QStringList());
        f->answerOk(1);
        f->press(w.cmdSamp);
        f->typed(QStringLiteral("_"));
        f->press(w.cmdSamp);
        TalkFixture::pressCell(w.grdEx, 1, 1);
        f->press(w.cmdDec); // the address book
        QCOMPARE(namesWithoutCaption(&w), QStringList());
        TalkFixture::pressCell(w.grdAD, w.grdAD->rows() - 1, 1);
        f->press(w.cmdDec);
        QCOMPARE(w.cmdBack->text(), QStringLiteral("決定"));
        QCOMPARE(namesWithoutCaption(&w), QStringList());
        f->press(w.cmdBack); // the mail list
        QCOMPARE(namesWithoutCaption(&w), QStringList());
    }

    void aGroupsFrameHoldsOnlyItsMembers()
    {
        auto f = startedWith({{"Method", "2"}});
        TestTalkWindow &w = f->window();
        QVERIFY(tickTo(*f, QStringLiteral("始め")));
        const QList<QRect> areas = f->program().access.frame()->framedAreas();
        QCOMPARE(areas.size(), 3); // 始め, 例文表示, 例文追加
        for (QWidget *key : w.cmdRes) {
            const QRect keyArea(key->mapTo(&w, QPoint(0, 0)), key->size());
            for (const QRect &a : areas)
                QVERIFY(!a.intersects(keyArea));
        }
    }

    void nothingVisibleIsUnnamed()
    {
        auto f = startedWith({});
        TestTalkWindow &w = f->window();
        QCOMPARE(unnamed(&w), QStringList());
        TalkFixture::pressCell(w.grdBoard, 0, 8);
        QCOMPARE(unnamed(&w), QStringList());
        f->press(w.cmdEnd2);
        f->press(w.cmdSamp);
        QCOMPARE(unnamed(&w), QStringList());

        QStringList seen;
        f->modal.answers.push_back([&](QDialog &options) {
            options.show();
            seen += unnamed(&options);
            f->modal.answers.push_front([&](QDialog &access) {
                access.show();
                seen += unnamed(&access);
                access.reject();
            });
            options.findChild<QPushButton *>(QStringLiteral("cmdAccess"))->click();
            options.reject();
        });
        f->press(w.cmdOpt);
        QCOMPARE(f->modal.shown, (QStringList{"frmOPT", "frmAccess"}));
        QCOMPARE(seen, QStringList());
    }

    void theWindowIsNamedByItsTitleAndAScrollBarByWhatItScrolls()
    {
        auto f = startedWith({});
        TestTalkWindow &w = f->window();
        QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&w);
        QVERIFY(w.windowTitle().startsWith(QStringLiteral("Pirokan!  Ver ")));
        QCOMPARE(window->text(QAccessible::Name), w.windowTitle());
        w.setWindowTitle(QStringLiteral("Pirokan!  Ver 9"));
        QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Pirokan!  Ver 9"));

        QScrollBar *bar = w.txtTalk->verticalScrollBar();
        QVERIFY(bar->isVisible());
        QVERIFY(QAccessible::queryAccessibleInterface(bar)
                    ->text(QAccessible::Name)
                    .startsWith(w.txtTalk->accessibleName()));
        MailWindow mail(f->shared(), &w, {});
        mail.show();
        QCOMPARE(unnamed(&mail), QStringList());
        QVERIFY(QAccessible::queryAccessibleInterface(mail.txtData->verticalScrollBar())
                    ->text(QAccessible::Name)
                    .startsWith(mail.txtData->accessibleName()));
    }

    // Settings that cannot be written: the timing reached and the record of writing are lost at the
    // end of the run, and the user is told so once, not every few presses.
    void aRecordThatCannotBeKeptIsToldOnce()
    {
        auto f = startedWith({{"Method", "2"}});
        f->accessSettings.failWrites = true;
        f->answerOk(0);
        switchPress(*f); // into the first row
        QVERIFY(tickTo(*f, QStringLiteral("か")));
        switchPress(*f); // a press: counted
        QTRY_COMPARE_WITH_TIMEOUT(f->prompts.size(), 1, 5000);
        QVERIFY(f->prompts[0].contains(QStringLiteral("保存できませんでした")));
        switchPress(*f);
        QTest::qWait(2500);
        QCOMPARE(f->prompts.size(), 1);
    }

    // A mail longer than its box is read to the end by a switch: the body's scroll bar is in the scan
    // and pages on, and from the end back to the start.
    void aLongMailIsReadToItsEndByTheScan()
    {
        auto f = startedWith({{"Method", "2"}});
        bool checked = false;
        f->modal.answers.push_back([&](QDialog &d) {
            auto &m = static_cast<MailWindow &>(d);
            d.show();
            QScrollBar *bar = m.txtData->verticalScrollBar();
            QTRY_VERIFY(bar->isVisible());
            f->program().access.tick();
            const auto &targets = f->program().access.screen().targets;
            const auto page = std::find_if(targets.begin(), targets.end(),
                                           [bar](const ScanTarget &t) { return t.widget == bar; });
            QVERIFY(page != targets.end());
            page->press();
            QVERIFY(bar->value() > 0);
            for (int i = 0; i < 20 && bar->value() < bar->maximum(); ++i)
                page->press();
            QCOMPARE(bar->value(), bar->maximum());
            page->press();
            QCOMPARE(bar->value(), 0);
            checked = true;
            d.reject();
        });
        ShowMailWindow(f->shared(), QStringLiteral("よしこ"), QStringLiteral("yoshiko@example.jp"),
                       QStringLiteral("けんき"), QString(480, QChar(u'あ')), {});
        QVERIFY(checked);
    }

    void twoSwitchesOnOneKeyStillChooseAndThereIsAlwaysAWayOut()
    {
        // Moving would take every press: the one switch goes on alone, and the user is told.
        auto f = std::make_unique<TalkFixture>(QHash<QString, QString>{}, false);
        f->accessSettings.values = {
            {"Method", "3"}, {"SelectKey", "Space"}, {"MoveKey", "Space"}, {"MouseSwitch", "1"}};
        f->answerOk(0);
        QVERIFY(f->start());
        QVERIFY2(f->prompts.value(0).contains(QStringLiteral("同じキー（Space）")),
                 qPrintable(f->prompts.value(0)));
        f->program().access.setManualTicks(true);
        f->program().access.tick();
        QCOMPARE(f->program().access.settings().method, int(AccessSettings::OneSwitch));
        switchPress(*f);
        QCOMPARE(f->program().access.scanner().level(), 1); // into the first board row

        // A touch presses what it touches, even where any click is the switch.
        TestTalkWindow &w = f->window();
        const QString set = w.cmdKey->text();
        QPointingDevice *touch = QTest::createTouchDevice();
        QTest::touchEvent(&w, touch).press(0, w.cmdKey->geometry().center(), &w);
        QTest::touchEvent(&w, touch).release(0, w.cmdKey->geometry().center(), &w);
        QTRY_VERIFY(w.cmdKey->text() != set);

        // The dialog takes no key the other switch has, nor Esc, and lets both go on to the scan,
        // the call and the held Esc: a user with one switch must still reach キャンセル.
        AccessDialog d(f->accessSettings, &w);
        d.optMethod[3]->click();
        d.cmdMoveKey->click();
        KeyProbe probe;
        for (const Qt::Key refused : {Qt::Key_Space, Qt::Key_Escape}) {
            f->program().access.tick();
            const std::vector<int> before = f->program().access.scanner().path();
            QTest::keyClick(&probe, refused);
            QVERIFY(d.cmdMoveKey->text().contains(QStringLiteral("別のキー")));
            if (refused == Qt::Key_Space)
                QVERIFY(f->program().access.scanner().path() != before); // the scan took the press
        }
        QCOMPARE(probe.heard, (QList<int>{Qt::Key_Escape, -Qt::Key_Escape}));
        QTest::keyClick(&d, Qt::Key_F9);
        QCOMPARE(d.shown().moveKey, int(Qt::Key_F9));
        d.cmdOK[0]->click();

        // Esc held for a few seconds opens the dialog, whatever the switches.
        QTest::keyPress(&w, Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(f->modal.shown.contains(QStringLiteral("frmAccess")), EscapeHoldMs + 3000);
        QTest::keyRelease(&w, Qt::Key_Escape);
    }

    void theAccessDialogKeepsWhatItShows()
    {
        auto f = startedWith({});
        AccessDialog d(f->accessSettings, &f->window());
        d.optMethod[2]->click();
        d.scan.up->click();      // 1.3 s
        d.longPress.up->click(); // off to 0.5 s
        d.ignore.down->click();  // stays off
        // Every control stands inside the dialog, none over another.
        const auto controls = d.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (QWidget *a : controls) {
            QVERIFY2(d.rect().contains(a->geometry()), qPrintable(a->objectName()));
            for (QWidget *b : controls)
                QVERIFY2(a == b || !a->geometry().intersects(b->geometry()),
                         qPrintable(a->objectName() + QLatin1Char('/') + b->objectName()));
        }
        QCOMPARE(QAccessible::queryAccessibleInterface(d.chkBlocks)->text(QAccessible::Name),
                 d.chkBlocks->text());
        QVERIFY(!d.chkBlocks->isEnabled()); // meaningless until the columns come first
        d.chkColumn->click();
        QVERIFY(d.chkBlocks->isEnabled());
        d.chkBlocks->click();
        d.cmdSelectKey->click();
        QTest::keyClick(&d, Qt::Key_F8); // the next key pressed becomes the switch
        d.cmdOK[1]->click();
        const AccessSettings s = ReadAccessSettings(f->accessSettings);
        QCOMPARE(s.method, int(AccessSettings::OneSwitch));
        QCOMPARE(s.scanMs, 1300);
        QCOMPARE(s.longPressMs, 500);
        QCOMPARE(s.ignoreRepeatMs, 0);
        QVERIFY(s.columnFirst);
        QVERIFY(s.columnBlocks);
        QCOMPARE(s.selectKey, int(Qt::Key_F8));
        QCOMPARE(s.moveKey, int(Qt::Key_Return));
        QCOMPARE(f->settings.values.value("OPT1"), QString()); // the eight options are left alone
    }
};

QTEST_MAIN(TestAccess)
#include "test_access.moc"
