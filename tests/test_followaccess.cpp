#include "access/accessdialog.h"
#include "platform/buttonaccessible.h"
#include "support/talkfixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>

// The timing that follows the user, in the running window and in 操作方法.
namespace {

// The scan's time: a tick comes an interval after the last, and the simulated user presses a quick
// quarter second after what came before, however busy the machine running the test is.
qint64 scanTime = 0;
constexpr int ReactionMs = 250;

int interval(TalkFixture &f)
{
    return f.program().access.follower().scanMs();
}

void tick(TalkFixture &f)
{
    scanTime += interval(f);
    f.program().access.tick();
}

std::unique_ptr<TalkFixture> scanningWith(const QHash<QString, QString> &access)
{
    auto f = std::make_unique<TalkFixture>(QHash<QString, QString>{}, false);
    f->accessSettings.values = access;
    if (!f->start())
        qFatal("start-up failed");
    f->program().access.setManualTicks(true);
    f->program().access.setClock([] { return scanTime; });
    tick(*f);
    return f;
}

void switchPress(TalkFixture &f)
{
    scanTime += ReactionMs;
    QTest::keyClick(&f.window(), Qt::Key_Space);
}

// Ticks until the highlight is on a group holding `label`.
bool tickToGroupOf(TalkFixture &f, const QString &label)
{
    for (int i = 0; i < 60; ++i) {
        if (const ScanNode *n = f.program().access.scanner().highlighted())
            for (const ScanNode &c : n->children)
                if (c.label == label)
                    return true;
        tick(f);
    }
    return false;
}

bool tickTo(TalkFixture &f, const QString &label)
{
    for (int i = 0; i < 60; ++i) {
        const ScanNode *n = f.program().access.scanner().highlighted();
        if (n && n->label == label)
            return true;
        tick(f);
    }
    return false;
}

// Quick presses as soon as the highlight is there: が, through the board and the selection screen.
void typeQuickly(TalkFixture &f, int characters)
{
    for (int i = 0; i < characters; ++i) {
        switchPress(f);
        QVERIFY(tickTo(f, QStringLiteral("か")));
        switchPress(f);
        switchPress(f);
        QVERIFY(tickTo(f, QStringLiteral("が")));
        switchPress(f);
    }
}

} // namespace

class TestFollowAccess : public QObject
{
    Q_OBJECT
private slots:
    void offByDefaultTheSetIntervalStays()
    {
        auto f = scanningWith({{"Method", "2"}});
        typeQuickly(*f, 10);
        QCOMPARE(interval(*f), 1200);
        QCOMPARE(f->window().txtTalk->text(), QStringLiteral("がががががががががが_"));
    }

    void quickPressesShortenAndAnUndoneOrLeftGroupLengthens()
    {
        auto f = scanningWith({{"Method", "2"}, {"FollowTiming", "1"}});
        typeQuickly(*f, 10);
        const int quick = interval(*f);
        QVERIFY2(quick < 1200 && quick >= 300, qPrintable(QString::number(quick)));

        // A character undone at once by 戻る on the selection screen.
        switchPress(*f);
        QVERIFY(tickTo(*f, QStringLiteral("か")));
        switchPress(*f);
        QVERIFY(f->window().fraSet->isVisible());
        QVERIFY(tickToGroupOf(*f, QStringLiteral("戻る")));
        switchPress(*f);
        QVERIFY(tickTo(*f, QStringLiteral("戻る")));
        switchPress(*f);
        QVERIFY(!f->window().fraSet->isVisible());
        const int undone = interval(*f);
        QVERIFY2(undone > quick, qPrintable(QStringLiteral("%1 %2").arg(quick).arg(undone)));

        // A row entered and left without a choice.
        switchPress(*f);
        for (int i = 0; i < 2 * 12 && f->program().access.scanner().level() > 0; ++i)
            tick(*f);
        QCOMPARE(f->program().access.scanner().level(), 0);
        QVERIFY(interval(*f) > undone);

        // What was reached is kept, for the dialog and the next start.
        QTRY_COMPARE_WITH_TIMEOUT(f->accessSettings.values.value("FollowScanMs"),
                                  QString::number(interval(*f)), 5000);
    }

    void aPressJustAfterTheHighlightMovedOnTakesTheItemItLeft()
    {
        // A long interval and grace: the press, a quarter second after the move, is well inside it.
        const QHash<QString, QString> learnt{
            {"Method", "2"}, {"FollowTiming", "1"}, {"FollowScanMs", "5000"}, {"FollowScanGraceMs", "2500"}};
        auto f = scanningWith(learnt);
        QCOMPARE(f->program().access.follower().scanGraceMs(), 2500);
        {
            AccessDialog d(f->accessSettings, &f->window());
            QCOMPARE(d.lblFollowGrace->text(), QStringLiteral("枠が移って 2.5 秒 までは前の項目"));
            QCOMPARE(d.lblFollowGrace->accessibleName(), d.lblFollowGrace->text());
            QVERIFY(!d.lblFollowGrace->isHidden());
            d.cmdFollowReset->click();
            QVERIFY(d.lblFollowGrace->text().isEmpty()); // going back forgets it too
            QVERIFY(d.lblFollowGrace->isHidden());       // and no nameless label stays
            d.cmdOK[0]->click();
        }
        const std::vector<int> left = f->program().access.scanner().path();
        tick(*f);
        switchPress(*f);
        std::vector<int> entered = left;
        entered.push_back(0);
        QCOMPARE(f->program().access.scanner().path(), entered);
        // Entering a group is no move within it: its first item is taken as shown.
        switchPress(*f);
        QVERIFY(f->window().fraSet->isVisible());

        // Off, a press takes what is shown, whatever was learnt.
        QHash<QString, QString> off = learnt;
        off["FollowTiming"] = "0";
        auto g = scanningWith(off);
        QCOMPARE(g->program().access.follower().scanGraceMs(), 0);
        tick(*g);
        const std::vector<int> shown = g->program().access.scanner().path();
        switchPress(*g);
        QCOMPARE(g->program().access.scanner().path().front(), shown.front());
    }

    void frozenValuesStayAndStartWhereTheyWere()
    {
        auto f = scanningWith(
            {{"Method", "2"}, {"FollowTiming", "1"}, {"FollowFrozen", "1"}, {"FollowScanMs", "700"}});
        QCOMPARE(interval(*f), 700);
        typeQuickly(*f, 10);
        QCOMPARE(interval(*f), 700);
    }

    void theDialogShowsFreezesAndGoesBack()
    {
        auto f = scanningWith({{"Method", "2"}, {"FollowTiming", "1"}, {"FollowScanMs", "850"}});
        {
            AccessDialog d(f->accessSettings, &f->window());
            QVERIFY(d.chkFollow->isChecked());
            QVERIFY(!d.chkFollowFreeze->isChecked());
            QVERIFY2(d.lblFollowNow->text().contains(QStringLiteral("0.85 秒")),
                     qPrintable(d.lblFollowNow->text()));
            QCOMPARE(d.lblFollowNow->accessibleName(), d.lblFollowNow->text());
            QVERIFY(ButtonAccessible::nameOf(d.cmdFollowReset).contains(QStringLiteral("設定の値に戻す")));
            d.chkFollowFreeze->click();
            d.cmdOK[1]->click();
        }
        QCOMPARE(f->accessSettings.values.value("FollowFrozen"), QStringLiteral("1"));
        QCOMPARE(f->accessSettings.values.value("FollowScanMs"), QStringLiteral("850"));
        {
            AccessDialog d(f->accessSettings, &f->window());
            d.cmdFollowReset->click();
            QVERIFY(d.lblFollowNow->text().contains(QStringLiteral("1.2 秒")));
            d.cmdOK[0]->click(); // cancelled: nothing changes
        }
        QCOMPARE(f->accessSettings.values.value("FollowScanMs"), QStringLiteral("850"));
        {
            AccessDialog d(f->accessSettings, &f->window());
            d.cmdFollowReset->click();
            d.chkFollow->click();
            d.cmdOK[1]->click();
        }
        QCOMPARE(f->accessSettings.values.value("FollowScanMs"), QStringLiteral("0"));
        QCOMPARE(f->accessSettings.values.value("FollowTiming"), QStringLiteral("0"));
        f->program().access.apply(ReadAccessSettings(f->accessSettings));
        QCOMPARE(interval(*f), 1200);

        MemorySettingsStore empty;
        AccessDialog fresh(empty, &f->window());
        QVERIFY(!fresh.chkFollow->isChecked());
    }

    void whatTheDialogSetsStands()
    {
        auto f = scanningWith({{"Method", "2"},
                               {"ScanMs", "1200"},
                               {"FollowTiming", "1"},
                               {"FollowScanMs", "850"},
                               {"FollowScanGraceMs", "200"},
                               {"FollowDwellMs", "900"}});
        {
            // A carer sets a longer interval for a tired user: it is the one used, not the one reached.
            AccessDialog d(f->accessSettings, &f->window());
            d.scan.up->click();
            QVERIFY2(d.lblFollowNow->text().contains(QStringLiteral("1.3 秒")),
                     qPrintable(d.lblFollowNow->text()));
            QVERIFY(!d.lblFollowGrace->isVisibleTo(&d));
            d.chkFollow->click();
            QVERIFY2(
                !d.lblFollowNow->text().contains(QStringLiteral("0.9 秒")), // unticked: the set dwell time
                qPrintable(d.lblFollowNow->text()));
            d.chkFollow->click();
            d.cmdOK[1]->click();
        }
        QCOMPARE(f->accessSettings.values.value("FollowScanMs"), QStringLiteral("0"));
        QCOMPARE(f->accessSettings.values.value("FollowScanGraceMs"), QStringLiteral("0"));
        QCOMPARE(f->accessSettings.values.value("FollowDwellMs"), QStringLiteral("900"));
        f->program().access.apply(ReadAccessSettings(f->accessSettings));
        QCOMPARE(interval(*f), 1300);

        // Turned off in 操作方法 opened from the options, which apply only when those close: the presses
        // made before it are kept a moment later, and must not turn it back on.
        typeQuickly(*f, 2);
        {
            AccessDialog d(f->accessSettings, &f->window());
            d.chkFollow->click();
            d.cmdOK[1]->click();
        }
        QTest::qWait(2300);
        QCOMPARE(f->accessSettings.values.value("FollowTiming"), QStringLiteral("0"));
        QVERIFY(!f->program().access.follower().on());
    }

    void timingLearntWhileTheDialogIsOpenIsKept()
    {
        auto f = scanningWith({{"Method", "2"}, {"FollowTiming", "1"}, {"FollowScanMs", "850"}});
        const auto learntMeanwhile = [&](int scanMs, int dwellMs) {
            // What the running scan keeps of its presses in the open dialog.
            FollowSettings now = ReadFollowSettings(f->accessSettings);
            now.scanMs = scanMs;
            now.dwellMs = dwellMs;
            QVERIFY(WriteFollowSettings(f->accessSettings, now, nullptr));
        };
        {
            AccessDialog d(f->accessSettings, &f->window());
            learntMeanwhile(700, 900);
            d.cmdOK[1]->click(); // nothing changed here
        }
        QCOMPARE(f->accessSettings.values.value("FollowScanMs"), QStringLiteral("700"));
        QCOMPARE(f->accessSettings.values.value("FollowDwellMs"), QStringLiteral("900"));
        {
            AccessDialog d(f->accessSettings, &f->window());
            d.chkFollowFreeze->click();
            learntMeanwhile(640, 900);
            d.cmdOK[1]->click(); // frozen where it has come to, not where it was
        }
        QCOMPARE(f->accessSettings.values.value("FollowFrozen"), QStringLiteral("1"));
        QCOMPARE(f->accessSettings.values.value("FollowScanMs"), QStringLiteral("640"));
        QCOMPARE(f->accessSettings.values.value("FollowTiming"), QStringLiteral("1"));
        {
            AccessDialog d(f->accessSettings, &f->window());
            d.cmdFollowReset->click();
            learntMeanwhile(600, 800);
            d.cmdOK[1]->click(); // going back wins over what came after it was asked
        }
        QCOMPARE(f->accessSettings.values.value("FollowScanMs"), QStringLiteral("0"));
        QCOMPARE(f->accessSettings.values.value("FollowDwellMs"), QStringLiteral("0"));
        QCOMPARE(f->accessSettings.values.value("FollowFrozen"), QStringLiteral("1"));
    }
};

QTEST_MAIN(TestFollowAccess)
#include "test_followaccess.moc"
