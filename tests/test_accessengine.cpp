#include "access/accesssettings.h"
#include "access/dwell.h"
#include "access/pointersmoothing.h"
#include "access/pressfilter.h"
#include "access/scanlayouts.h"
#include "access/scanner.h"
#include "support/fakes.h"

#include <QTest>

namespace {

// Two groups of three targets (10..12, 20..22) and a lone target 30.
ScanNode tree()
{
    auto g = [](int base) {
        return ScanNode::group(
            QString::number(base),
            {ScanNode::leaf("a", base), ScanNode::leaf("b", base + 1), ScanNode::leaf("c", base + 2)});
    };
    return ScanNode::group(QString(), {g(10), g(20), ScanNode::leaf("lone", 30)});
}

int highlightedTarget(const Scanner &s)
{
    return s.highlighted() ? s.highlighted()->target : -2;
}

} // namespace

// The scanning engine, dwell, the press filters and the stored access settings, without widgets.
class TestAccessEngine : public QObject
{
    Q_OBJECT

private slots:
    void automaticScanningEntersGroupsAndPresses()
    {
        Scanner s;
        QStringList heard;
        s.onHighlight = [&heard](const ScanNode &n) { heard << n.label; };
        s.setTree(tree());
        QCOMPARE(s.path(), std::vector<int>{0});
        s.tick();
        s.tick();
        QCOMPARE(s.path(), std::vector<int>{2}); // the lone target
        s.tick();
        QCOMPARE(s.path(), std::vector<int>{0}); // wraps at the top, forever
        s.tick();
        QCOMPARE(s.select(), std::nullopt); // enters group 20
        QCOMPARE(s.path(), (std::vector<int>{1, 0}));
        s.tick();
        QCOMPARE(s.select(), std::optional<int>(21));
        QCOMPARE(s.path(), std::vector<int>{0}); // the next scan starts at the top
        QCOMPARE(heard, (QStringList{"10", "20", "lone", "10", "20", "a", "b", "10"}));
    }

    void twoRoundsWithoutAPressGoBackToTheTop()
    {
        Scanner s;
        s.setTree(tree());
        s.tick();
        s.select(); // inside group 20
        for (int i = 0; i < 5; ++i)
            s.tick();
        QCOMPARE(s.level(), 1); // a round and two-thirds
        s.tick();
        QCOMPARE(s.path(), std::vector<int>{0});

        // Step scanning never leaves by itself, and ignores the timer.
        Scanner step(Scanner::Method::Step);
        step.setTree(tree());
        step.tick();
        QCOMPARE(step.path(), std::vector<int>{0});
        step.select();
        for (int i = 0; i < 7; ++i)
            step.move();
        QCOMPARE(step.path(), (std::vector<int>{0, 1}));
        QCOMPARE(step.select(), std::optional<int>(11));
    }

    void aPressTakesWhatWasHighlightedWhenItWentDown()
    {
        Scanner s;
        s.setTree(tree());
        QCOMPARE(s.switchDown(0), std::nullopt); // no long press: taken at once, on group 10
        QCOMPARE(s.path(), (std::vector<int>{0, 0}));

        s.setLongPressMs(800);
        s.tick(); // on target 11
        QCOMPARE(s.switchDown(1000), std::nullopt);
        s.tick(); // the highlight stays while the switch is held
        QCOMPARE(highlightedTarget(s), 11);
        QCOMPARE(s.switchUp(1200), std::optional<int>(11));

        s.select(); // into group 10 again
        QCOMPARE(s.level(), 1);
        s.switchDown(2000);
        QCOMPARE(s.switchUp(2900), std::nullopt); // a long press goes back one level
        QCOMPARE(s.path(), std::vector<int>{0});
        QCOMPARE(s.switchUp(3000), std::nullopt); // a stray release does nothing
    }

    void aPressCanBeTakenBackOntoTheItemTheHighlightLeft()
    {
        Scanner s;
        QStringList heard;
        s.onHighlight = [&heard](const ScanNode &n) { heard << n.label; };
        s.setTree(tree());
        QVERIFY(!s.canStepBack()); // a new screen's first item has none before it
        QVERIFY(!s.stepBack());
        s.tick(); // on group 20
        QVERIFY(s.canStepBack());
        heard.clear();
        QVERIFY(s.stepBack());
        QVERIFY(heard.isEmpty());  // taken at once, not told
        QVERIFY(!s.canStepBack()); // one item only
        QCOMPARE(s.select(), std::nullopt);
        QCOMPARE(s.path(), (std::vector<int>{0, 0})); // into group 10
        QVERIFY(!s.canStepBack());                    // entering a group is no move within it

        // Across the wrap, and without counting the round the wrap began.
        s.tick();
        s.tick();
        s.tick(); // back on 10, one round done
        QVERIFY(s.stepBack());
        QCOMPARE(highlightedTarget(s), 12);
        s.tick();
        s.tick();
        s.tick(); // 10 11 12: still in the group, the wrap taken back was not a round
        QCOMPARE(s.level(), 1);
        QCOMPARE(s.select(), std::optional<int>(12));

        // Two rounds back to the top: a press then is the top's, not the group's.
        s.select(); // group 10
        for (int i = 0; i < 2 * 3; ++i)
            s.tick();
        QCOMPARE(s.level(), 0);
        QVERIFY(!s.canStepBack());

        // Nor while the switch is held.
        s.setLongPressMs(800);
        s.tick();
        QCOMPARE(s.switchDown(100), std::nullopt);
        QVERIFY(!s.canStepBack());
    }

    void holdingTheSelectSwitchCallsAndPressesNothing()
    {
        Scanner s;
        int calls = 0;
        s.onCall = [&calls] { ++calls; };
        s.setCallHoldMs(4000);
        s.setTree(tree());
        QCOMPARE(s.switchDown(0), std::nullopt); // with the call's hold set, taken on release
        QCOMPARE(s.callHoldLeft(1000), std::optional<qint64>(3000));
        s.switchUp(300);
        QCOMPARE(s.path(), (std::vector<int>{0, 0})); // a short press is an ordinary one
        s.tick();

        s.switchDown(1000);
        s.holdTick(4999);
        QCOMPARE(calls, 0);
        s.holdTick(5000); // counted from going down, while still held
        QCOMPARE(calls, 1);
        QCOMPARE(s.callHoldLeft(5500), std::nullopt);
        s.holdTick(6000);
        QCOMPARE(s.switchUp(7000), std::nullopt); // nor a press, nor a step back
        QCOMPARE(calls, 1);
        QCOMPARE(s.path(), (std::vector<int>{0, 1}));

        s.setLongPressMs(1000);
        s.switchDown(10000);
        QCOMPARE(s.switchUp(14200), std::nullopt); // the timer came late: the release still calls
        QCOMPARE(calls, 2);
        QCOMPARE(s.path(), (std::vector<int>{0, 1}));
        s.switchDown(20000);
        s.switchUp(22000); // shorter than the call: the long press goes back
        QCOMPARE(calls, 2);
        QCOMPARE(s.path(), std::vector<int>{0});
    }

    void aNewScreenStartsWhereAsked()
    {
        Scanner s;
        s.setTree(tree(), 1);
        QCOMPARE(s.path(), std::vector<int>{1});
        s.setTree(tree(), 9);
        QCOMPARE(s.path(), std::vector<int>{2});
        s.setTree(ScanNode::group(QString()));
        QVERIFY(!s.highlighted());
        s.tick();
        QCOMPARE(s.select(), std::nullopt);
        QCOMPARE(PathTo(tree(), 22), (std::vector<int>{1, 2}));
    }

    void layoutsGroupCellsByRowsOrByColumnsFromTheRight()
    {
        using ScanLayouts::Cell;
        const ScanLayouts::Table t{{{"か", 1}, {"あ", 0}}, {{"き", 3}, {"い", 2}}, {{"", 5}, {"う", 4}}};
        const auto rows = ScanLayouts::byRows(t);
        QCOMPARE(rows.size(), size_t(3));
        QCOMPARE(rows[2].target, 4); // a row of one cell is the cell itself
        QCOMPARE(rows[0].children[1].target, 0);
        const auto cols = ScanLayouts::byColumnsFromRight(t);
        QCOMPARE(cols.size(), size_t(2));
        QCOMPARE(cols[0].label, QStringLiteral("あ"));
        QCOMPARE(cols[0].children.size(), size_t(3));
        QCOMPARE(cols[1].children.size(), size_t(2)); // the empty cell is left out

        const ScanLayouts::Table sel{{{"く", 0}, {"く", 1}, {"", 2}},
                                     {{"ぱ", 3}, {"は", 4}, {"ば", 5}},
                                     {{"ふ", 6}, {"ひ", 7}, {"", 8}}};
        const auto plain = ScanLayouts::selectionScreen(sel, false);
        const auto pick = ScanLayouts::selectionScreen(sel, true);
        QCOMPARE(plain.size(), size_t(3));
        // The character pressed (the middle cell) first, then the rest of its row cell by cell from
        // the right (the voiced form), then the other rows; every cell once.
        std::vector<int> order;
        for (const ScanNode &n : pick)
            order.push_back(n.isGroup() ? -n.children.front().target - 1 : n.target);
        QCOMPARE(order, (std::vector<int>{4, 5, 3, -1, -7}));
    }

    void columnsGatherIntoBlocksOfThree()
    {
        for (const int cols : {10, 15}) {
            ScanLayouts::Table t(2); // two cells a column; column c holds targets 10c and 10c+1
            for (int c = 0; c < cols; ++c)
                for (int r = 0; r < 2; ++r)
                    t[size_t(r)].push_back({QString(QChar(0x3042 + c * 2 + r)), c * 10 + r});
            const auto blocks = ScanLayouts::inBlocks(ScanLayouts::byColumnsFromRight(t), 3);
            QCOMPARE(blocks.size(), size_t((cols + 2) / 3));
            // Three columns a block from the right; a last column alone is that column itself.
            const ScanNode root = ScanNode::group(QString(), blocks);
            for (int c = 0; c < cols; ++c) {
                const int k = cols - 1 - c;
                const bool alone = k == cols - 1 && cols % 3 == 1;
                QCOMPARE(PathTo(root, c * 10 + 1),
                         alone ? (std::vector<int>{k / 3, 1}) : (std::vector<int>{k / 3, k % 3, 1}));
            }
            // Named by its columns (あかさ), so the voice tells a block from its first column.
            const auto &first = blocks.front().children;
            QCOMPARE(blocks.front().label, first[0].label + first[1].label + first[2].label);
        }
    }

    void dwellPressesOnceUnlessTheKeyRepeats()
    {
        Dwell d(1000);
        QCOMPARE(d.sample(7, false, 0), std::nullopt);
        QCOMPARE(d.sample(7, false, 500), std::nullopt);
        QCOMPARE(d.progress(500), 0.5);
        QCOMPARE(d.sample(7, false, 1000), std::optional<int>(7));
        QCOMPARE(d.sample(7, false, 5000), std::nullopt); // not again while it stays
        QCOMPARE(d.sample(8, false, 5050), std::nullopt); // a slip onto a neighbour is not leaving
        QCOMPARE(d.sample(7, false, 5100), std::nullopt);
        QCOMPARE(d.sample(-1, false, 5200), std::nullopt); // leaving for good
        QCOMPARE(d.sample(-1, false, 5700), std::nullopt);
        QCOMPARE(d.takeRest(), std::nullopt);             // left after it pressed: no look to learn from
        QCOMPARE(d.sample(7, false, 6000), std::nullopt); // back on it: a new dwell
        QCOMPARE(d.sample(7, false, 6999), std::nullopt);
        QCOMPARE(d.sample(7, false, 7000), std::optional<int>(7));

        // A look that moves on without a press is told once, from arrival to leaving.
        Dwell looks(1000);
        for (qint64 t = 0; t < 600; t += 50)
            looks.sample(4, false, t);
        QCOMPARE(looks.takeRest(), std::nullopt);
        for (qint64 t = 600; t <= 1000; t += 50)
            looks.sample(5, false, t);
        QCOMPARE(looks.takeRest(), std::optional<qint64>(600));
        QCOMPARE(looks.takeRest(), std::nullopt);

        // After a press, what comes under the pointer is held off until the pointer leaves the place, or
        // goes to a key that does not lie over where it pressed.
        DwellSpot spot;
        QVERIFY(!spot.holdsOff({5, 5}, QRect(0, 0, 10, 10)));
        spot.pressed(QRect(0, 0, 100, 100), {50, 50});
        QVERIFY(spot.holdsOff({52, 50}, QRect(40, 40, 30, 30))); // a new key there
        QVERIFY(spot.holdsOff({52, 50}, std::nullopt));
        QVERIFY(!spot.holdsOff({80, 80}, QRect(70, 70, 20, 20))); // went to a key beside the place
        QVERIFY(!spot.holdsOff({52, 50}, QRect(40, 40, 30, 30))); // and back: it presses again
        spot.pressed(QRect(0, 0, 100, 100), {50, 50});
        QVERIFY(!spot.holdsOff({150, 50}, std::nullopt)); // left

        // A pointer that trembles onto a neighbour every third sample presses the target, in time.
        Dwell shaky(1000);
        std::optional<int> pressed;
        qint64 t = 0;
        for (; t <= 1500 && !pressed; t += 50)
            pressed = shaky.sample(t % 150 == 100 ? 8 : 7, false, t);
        QCOMPARE(pressed, std::optional<int>(7));
        QVERIFY(t <= 1100);
        // The pointer's place is steadied, but a jump is followed at once.
        PointerSmoothing smooth;
        smooth.add({100, 100}, 0);
        QCOMPARE(smooth.add({110, 100}, 50), QPoint(105, 100));
        QCOMPARE(smooth.add({300, 100}, 100), QPoint(300, 100));

        Dwell keys(1000, 500); // the first repeat after 0.5 s, then every 0.23 s
        keys.sample(3, true, 0);
        QCOMPARE(keys.sample(3, true, 1000), std::optional<int>(3));
        QCOMPARE(keys.sample(3, true, 1400), std::nullopt);
        QCOMPARE(keys.sample(3, true, 1500), std::optional<int>(3));
        QCOMPARE(keys.sample(3, true, 1700), std::nullopt);
        QCOMPARE(keys.sample(3, true, 1730), std::optional<int>(3));
    }

    void aStillPointerIsWhereItIsAndItsDwellIsDueOnTime()
    {
        // A glide in small steps, then a dead stop: the mean lags behind, but only until the pointer has
        // stood still.
        PointerSmoothing smooth;
        for (int i = 0; i <= 5; ++i)
            smooth.add({100 + 15 * i, 100}, 50 * i);
        QVERIFY(smooth.add({175, 100}, 300).x() < 170);
        QCOMPARE(smooth.add({175, 100}, 250 + PointerSmoothing::StillMs), QPoint(175, 100));
        QCOMPARE(smooth.add({175, 100}, 5000), QPoint(175, 100));
        // Trembling by a pixel is moving: it is steadied, not taken as it comes.
        QCOMPARE(smooth.add({177, 100}, 5050), QPoint(176, 100));

        // Come from nothing and staying: the dwell counts from arrival and tells when it is due.
        Dwell d(1000);
        QCOMPARE(d.nextPressIn(0), std::nullopt);
        d.sample(-1, false, 0);
        d.sample(7, false, 2000);
        QCOMPARE(d.target(), -1); // for a moment the pointer has mostly been over nothing
        d.sample(7, false, 2250);
        QCOMPARE(d.target(), 7);
        QCOMPARE(d.progress(2250), 0.25);
        QCOMPARE(d.nextPressIn(2250), std::optional<qint64>(750));
        QCOMPARE(d.sample(7, false, 2999), std::nullopt);
        QCOMPARE(d.sample(7, false, 3000), std::optional<int>(7));
        QCOMPARE(d.nextPressIn(3000), std::nullopt); // pressed, and it does not repeat

        Dwell keys(1000, 500);
        keys.sample(3, true, 0);
        keys.sample(3, true, 1000);
        QCOMPARE(keys.nextPressIn(1100), std::optional<qint64>(400));
    }

    void pressFiltersForShakyHands()
    {
        PressFilter off;
        QVERIFY(off.down(0) && off.up(10) && off.down(20) && off.up(30));

        PressFilter twice;
        twice.setSettings({500, 0});
        QVERIFY(twice.down(0));
        QVERIFY(twice.up(50));
        QVERIFY(!twice.down(300)); // the double tap: its second press is ignored,
        QVERIFY(!twice.up(350));   // with its release
        QVERIFY(twice.down(600));
        QVERIFY(!twice.instant(700));

        PressFilter hold;
        hold.setSettings({0, 300});
        QVERIFY(hold.down(0));
        QVERIFY(!hold.up(200)); // a brush
        QVERIFY(hold.down(1000));
        QVERIFY(hold.up(1300));
    }

    void settingsRoundTripAndGarbageFallsBack()
    {
        MemorySettingsStore store;
        const AccessSettings defaults = ReadAccessSettings(store);
        QCOMPARE(defaults.method, int(AccessSettings::Touch));
        QCOMPARE(defaults.selectKey, int(Qt::Key_Space));
        QCOMPARE(defaults.moveKey, int(Qt::Key_Return));
        QCOMPARE(defaults.firstRepeatMs, 230);
        QCOMPARE(defaults.callHoldMs, 4000);
        QVERIFY(!defaults.columnBlocks); // one more press per character: only when asked for

        AccessSettings s;
        s.method = AccessSettings::OneSwitch;
        s.scanMs = 800;
        s.columnFirst = true;
        s.columnBlocks = true;
        s.longPressMs = 1500;
        s.selectKey = Qt::Key_F5;
        s.ignoreRepeatMs = 400;
        QString error;
        QVERIFY(WriteAccessSettings(store, s, &error));
        const AccessSettings back = ReadAccessSettings(store);
        QCOMPARE(back.method, s.method);
        QCOMPARE(back.scanMs, 800);
        QVERIFY(back.columnFirst);
        QVERIFY(back.columnBlocks);
        QCOMPARE(back.longPressMs, 1500);
        QCOMPARE(back.selectKey, int(Qt::Key_F5));
        QCOMPARE(back.ignoreRepeatMs, 400);

        store.values = {{"Method", "9"},        {"DwellMs", "abc"},      {"ScanMs", "100"},
                        {"SelectKey", "Ctrl+"}, {"MoveKey", "nonsense"}, {"LongPressMs", "20"},
                        {"Highlight", "-1"},    {"HoldMs", "0"},         {"FirstRepeatMs", "99999"},
                        {"CallHoldMs", "1000"}, {"ColumnBlocks", "2"}};
        const AccessSettings garbage = ReadAccessSettings(store);
        QCOMPARE(garbage.method, defaults.method);
        QCOMPARE(garbage.dwellMs, defaults.dwellMs);
        QCOMPARE(garbage.scanMs, defaults.scanMs);
        QCOMPARE(garbage.selectKey, defaults.selectKey);
        QCOMPARE(garbage.moveKey, defaults.moveKey);
        QCOMPARE(garbage.longPressMs, 0);
        QCOMPARE(garbage.highlight, 0);
        QCOMPARE(garbage.holdMs, 0);
        QCOMPARE(garbage.firstRepeatMs, 230);
        QCOMPARE(garbage.callHoldMs, 4000);
        QVERIFY(!garbage.columnBlocks);
    }
};

QTEST_GUILESS_MAIN(TestAccessEngine)
#include "test_accessengine.moc"
