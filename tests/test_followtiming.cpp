#include "access/followtiming.h"

#include <QTest>
#include <cmath>
#include <random>

// The timing that follows the user, without widgets.
class TestFollowTiming : public QObject
{
    Q_OBJECT
private slots:
    void quickCorrectPressesShortenWithinBounds();
    void theGraceFollowsTheQuickestReactions();
    void shorteningWaitsForEnoughReactions();
    void errorsLengthenAtOnce();
    void lateReactionsCountWithTheirInterval();
    void manyErrorsNeverShorten();
    void frozenStays();
    void resetAndResume();
    void dwellShortensAfterARunAndLengthensOnError();
    void dwellGoesWhereTheLooksWouldSeldomPress();
};

void TestFollowTiming::quickCorrectPressesShortenWithinBounds()
{
    FollowTiming t(1200, {});
    int previous = t.ms();
    for (int i = 0; i < 200; ++i) {
        t.scanPress(200 + (i % 5) * 10);
        QVERIFY2(t.ms() >= previous * 0.9 - 1, "never more than a tenth at a time");
        QVERIFY(t.ms() <= previous);
        previous = t.ms();
    }
    // Reactions of 200..240 ms need less than 300 ms; the bound is 300.
    QCOMPARE(t.ms(), 300);

    FollowTiming slow(1200, {});
    for (int i = 0; i < 200; ++i) {
        slow.scanPress(500 + (i % 5) * 50);
        QVERIFY2(slow.graceMs() <= slow.ms() / 2, "most of an item's time takes what is shown");
    }
    QVERIFY(slow.ms() < 1200);
    // The window a press takes an item in, from the grace to the grace and the interval, holds
    // every reaction seen: none comes before the grace, none after.
    QVERIFY2(slow.graceMs() > 0 && slow.graceMs() < 500, qPrintable(QString::number(slow.graceMs())));
    QVERIFY2(slow.graceMs() + slow.ms() > 700, "still above what the slowest reactions need");
}

void TestFollowTiming::theGraceFollowsTheQuickestReactions()
{
    // Reactions spread like a practised user's: 0.3..0.8 s around 0.45 s.
    const int reactions[] = {450, 380, 520, 300, 610, 420, 470, 800, 350, 400, 500, 560, 440, 330, 480};
    FollowTiming t(1200, {});
    for (int i = 0; i < 300; ++i)
        t.scanPress(reactions[i % std::size(reactions)]);
    // Below the quickest but one, and the window reaches past the slowest but one.
    QVERIFY2(t.graceMs() > 150 && t.graceMs() < 330, qPrintable(QString::number(t.graceMs())));
    QVERIFY2(t.graceMs() + t.ms() > 610, qPrintable(QString::number(t.graceMs() + t.ms())));
    QVERIFY2(t.ms() < 800, "shorter than the window the grace leaves");

    // A press taken for the item before and undone was meant for the item shown: its reaction was
    // what was measured less the interval, quicker than the grace, and the grace comes down.
    const int grace = t.graceMs();
    for (int i = 0; i < 30; ++i) {
        t.scanPress(t.ms() + 40, true);
        t.error(true);
        for (int j = 0; j < 6; ++j)
            t.scanPress(reactions[j]);
    }
    QVERIFY2(t.graceMs() < grace, qPrintable(QStringLiteral("%1 %2").arg(grace).arg(t.graceMs())));

    // Frozen, the grace stays too; going back forgets it; a grace resumed is at most half the interval.
    const int now = t.graceMs();
    t.setFrozen(true);
    for (int i = 0; i < 50; ++i)
        t.scanPress(200);
    QCOMPARE(t.graceMs(), now);
    t.reset();
    QCOMPARE(t.graceMs(), 0);
    t.resume(600, 250);
    QCOMPARE(t.graceMs(), 250);
    t.resume(400, 250);
    QCOMPARE(t.graceMs(), 200);

    // Presses all alike (a driver, or a run that happens so) still leave room for a slower one.
    FollowTiming steady(1200, {});
    for (int i = 0; i < 300; ++i)
        steady.scanPress(500);
    QVERIFY2(steady.graceMs() + steady.ms() > 600,
             qPrintable(QString::number(steady.graceMs() + steady.ms())));
    QVERIFY2(steady.graceMs() < 450, qPrintable(QString::number(steady.graceMs())));
}

void TestFollowTiming::shorteningWaitsForEnoughReactions()
{
    FollowTiming t(1200, {});
    for (int i = 0; i < t.rule().minReactions - 1; ++i)
        t.scanPress(300);
    QCOMPARE(t.ms(), 1200);
    t.scanPress(300);
    QVERIFY(t.ms() < 1200);
}

void TestFollowTiming::errorsLengthenAtOnce()
{
    FollowTiming t(1200, {});
    for (int i = 0; i < 100; ++i)
        t.scanPress(400);
    const int quick = t.ms();
    t.error();
    QCOMPARE(t.ms(), int(std::lround(quick * 1.1)));
    t.scanPress(400);
    t.error();
    t.scanPress(400);
    t.error();
    QVERIFY(t.ms() > quick * 1.3);
    // No shortening right after an error.
    const int after = t.ms();
    t.scanPress(400);
    QCOMPARE(t.ms(), after);

    FollowTiming high(4900, {});
    high.error();
    QCOMPARE(high.ms(), 5000); // within the dialog's bounds
}

void TestFollowTiming::lateReactionsCountWithTheirInterval()
{
    FollowTiming t(1000, {});
    for (int i = 0; i < 10; ++i)
        t.scanPress(400);
    const int before = t.wantedMs();
    // A press 100 ms into the next item was a reaction of the interval and 100 ms.
    t.scanPress(100);
    t.error(true);
    QVERIFY(t.wantedMs() > before);
    QVERIFY(t.medianReactionMs() == 400);

    // A wrong press found two presses later (the way to ＢＳ) is the one marked.
    FollowTiming u(1000, {});
    for (int i = 0; i < 10; ++i)
        u.scanPress(400);
    u.scanPress(50);
    u.scanPress(400);
    u.scanPress(400);
    u.error(true, 2);
    QCOMPARE(u.errorRate(), 1.0 / 13);
    QVERIFY(u.wantedMs() > before);
}

void TestFollowTiming::manyErrorsNeverShorten()
{
    FollowTiming t(1200, {});
    for (int i = 0; i < 40; ++i) {
        t.scanPress(300);
        if (i % 4 == 0)
            t.error(false); // undone, but not for being late
    }
    QVERIFY(t.errorRate() > t.rule().errorTarget);
    const int now = t.ms();
    for (int i = 0; i < t.rule().calmPresses + 3; ++i)
        t.scanPress(300);
    QVERIFY(t.ms() >= now);
}

void TestFollowTiming::frozenStays()
{
    FollowTiming t(1200, {});
    for (int i = 0; i < 30; ++i)
        t.scanPress(300);
    const int learnt = t.ms();
    t.setFrozen(true);
    for (int i = 0; i < 30; ++i)
        t.scanPress(300);
    t.error();
    t.error();
    QCOMPARE(t.ms(), learnt);
}

void TestFollowTiming::resetAndResume()
{
    FollowTiming t(1200, {});
    for (int i = 0; i < 30; ++i)
        t.scanPress(300);
    t.reset();
    QCOMPARE(t.ms(), 1200);
    QCOMPARE(t.errorRate(), 0.0);
    t.resume(700);
    QCOMPARE(t.ms(), 700);
    t.resume(100);
    QCOMPARE(t.ms(), 300);
    t.resume(0);
    QCOMPARE(t.ms(), 1200);
}

void TestFollowTiming::dwellShortensAfterARunAndLengthensOnError()
{
    FollowTiming t(1000, {});
    for (int i = 0; i < t.rule().runForDwell - 1; ++i)
        t.dwellPress();
    QCOMPARE(t.ms(), 1000);
    t.dwellPress();
    QCOMPARE(t.ms(), 900);
    t.error();
    QCOMPARE(t.ms(), 990);
    for (int i = 0; i < 400; ++i)
        t.dwellPress();
    QCOMPARE(t.ms(), 300);
}

// Looks of a median `medianMs` and a log spread of 0.3, `perPress` of them before each press; the
// largest change a press made, as a share of the time before it.
static double settleOnLooks(FollowTiming &t, double medianMs, int perPress, int presses = 100)
{
    static std::mt19937 random(7);
    std::lognormal_distribution<double> look(std::log(medianMs), 0.3);
    double largest = 0;
    for (int i = 0; i < presses; ++i) {
        for (int k = 0; k < perPress; ++k)
            t.rest(qint64(look(random)));
        const int before = t.ms();
        t.dwellPress();
        largest = std::max(largest, std::abs(t.ms() - before) / double(before));
    }
    return largest;
}

void TestFollowTiming::dwellGoesWhereTheLooksWouldSeldomPress()
{
    const FollowTiming::Rule rule{.lowMs = 300, .highMs = 3000, .lateShare = 1.0, .window = 40};
    // Quick looks: shorter, but well clear of them (one look in 40 would reach 540 ms); more looks
    // before each press keep it longer.
    FollowTiming fewLooks(1000, rule), manyLooks(1000, rule);
    settleOnLooks(fewLooks, 300, 2);
    settleOnLooks(manyLooks, 300, 6);
    QVERIFY2(fewLooks.ms() > 470 && fewLooks.ms() < 620, qPrintable(QString::number(fewLooks.ms())));
    QVERIFY2(manyLooks.ms() > fewLooks.ms() && manyLooks.ms() < 720,
             qPrintable(QString::number(manyLooks.ms())));
    // Long looks lengthen it, a tenth at a time.
    FollowTiming slow(1000, rule);
    const double largest = settleOnLooks(slow, 900, 2);
    QVERIFY2(largest > 0.05 && largest <= 0.101, qPrintable(QString::number(largest)));
    QVERIFY2(slow.ms() > 1400, qPrintable(QString::number(slow.ms())));
    // The pointer passing over keys is no look.
    FollowTiming passing(1000, rule);
    for (int i = 0; i < 200; ++i)
        passing.rest(FollowTiming::MinLookMs - 1);
    QCOMPARE(passing.wantedDwellMs(), 0);
    // Looks that all seem alike are taken to vary as people's do.
    FollowTiming alike(1000, rule);
    for (int i = 0; i < 100; ++i) {
        alike.rest(300);
        alike.dwellPress();
    }
    QVERIFY2(alike.ms() > 420, qPrintable(QString::number(alike.ms())));
    // Errors still lengthen at once, and while one press in twenty is undone it is never shortened.
    FollowTiming erring(1000, rule);
    for (int i = 0; i < 60; ++i) {
        settleOnLooks(erring, 300, 2, 1);
        if (i % 10 == 9)
            erring.error(false, 0);
    }
    QVERIFY2(erring.ms() >= 1000, qPrintable(QString::number(erring.ms())));
    // Frozen, it stays.
    FollowTiming frozen(1000, rule);
    frozen.setFrozen(true);
    settleOnLooks(frozen, 300, 2);
    QCOMPARE(frozen.ms(), 1000);
}

QTEST_GUILESS_MAIN(TestFollowTiming)
#include "test_followtiming.moc"
