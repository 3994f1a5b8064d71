// The record of how fast the user writes: counts by day, kept, shown and cleared.
#include "access/accessdialog.h"
#include "access/recorddialog.h"
#include "access/writingrecord.h"
#include "platform/buttonaccessible.h"
#include "support/talkfixture.h"

#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QRegularExpression>
#include <QTest>

namespace {

const QDate Today(2026, 12, 8);

} // namespace

class TestWritingRecord : public QObject
{
    Q_OBJECT
private slots:
    void countsAndFiguresOfADay()
    {
        WritingRecord r;
        r.pressed(Today, 1000, 0, false, false); // the first press starts the writing time
        for (int i = 0; i < 12; ++i)
            r.step(Today);
        r.pressed(Today, 6000, 1, false, false);
        r.pressed(Today, 11000, 1, false, false);
        r.pressed(Today, 200000, 1, true, false); // after a rest, which is no writing
        r.pressed(Today, 201000, 0, false, true);
        const WritingRecord::Day d = r.dayOf(Today);
        QCOMPARE(d.characters, 3);
        QCOMPARE(d.writingMs, qint64(11000));
        QCOMPARE(d.charactersPerMinute(), 3 * 60.0 / 11);
        QCOMPARE(d.stepsPerCharacter(), 4.0);
        QCOMPARE(d.correctionsPerCharacter(), 1.0 / 3);
        QCOMPARE(d.dwellPressesPerCharacter(), 1.0 / 3);
        QCOMPARE(WritingRecord::Day().charactersPerMinute(), 0.0);
    }

    void keptAsCountsMergedWithTheStoreAndCleared()
    {
        MemorySettingsStore store;
        WritingRecord r;
        r.pressed(Today, 0, 1, false, false);
        r.pressed(Today, 1000, 2, false, false);
        QVERIFY(r.keep(store, Today, nullptr));
        QCOMPARE(store.values.value(WritingRecord::keyOf(Today)), QStringLiteral("3 1000 0 0 0"));
        QCOMPARE(store.values.size(), 1); // no line for a day without counts
        // Kept again, the counts add to what the store holds, never replace it.
        r.pressed(Today, 2000, 1, true, false);
        QVERIFY(r.keep(store, Today, nullptr));
        QCOMPARE(store.values.value(WritingRecord::keyOf(Today)), QStringLiteral("4 2000 0 0 1"));
        // Nothing but digits: never what was written.
        for (const QString &v : store.values)
            QVERIFY(QRegularExpression(QStringLiteral("^[0-9 ]*$")).match(v).hasMatch());

        // Only the last 30 days are read; a garbled day reads as none; older keys are emptied on a save.
        store.values.insert(WritingRecord::keyOf(Today.addDays(-30)), QStringLiteral("9 9 9 9 9"));
        store.values.insert(WritingRecord::keyOf(Today.addDays(-1)), QStringLiteral("1 x 2 3 4"));
        WritingRecord back;
        back.load(store, Today);
        QCOMPARE(back.days().size(), 1);
        QVERIFY(back.save(store, Today, nullptr));
        QCOMPARE(store.values.value(WritingRecord::keyOf(Today.addDays(-30))), QString());
        QVERIFY(!WritingRecord::decode(QStringLiteral("1 2 3 4 -5")));

        WritingRecord clearing;
        QVERIFY(clearing.clear(store, Today, nullptr));
        back.load(store, Today);
        QVERIFY(back.days().isEmpty());
        store.failWrites = true;
        clearing.pressed(Today, 0, 1, false, false);
        QString error;
        QVERIFY(!clearing.keep(store, Today, &error));
        QVERIFY(!error.isEmpty());
        // Not written, the counts wait for the next keep, and are counted once whether or not the
        // store holds what it could not write.
        store.failWrites = false;
        QVERIFY(clearing.keep(store, Today, nullptr));
        QCOMPARE(store.values.value(WritingRecord::keyOf(Today)), QStringLiteral("1 0 0 0 0"));
        store.failWrites = store.keepsFailedWrites = true;
        clearing.pressed(Today, 100, 2, false, false);
        QVERIFY(!clearing.keep(store, Today, &error));
        QVERIFY(!clearing.keep(store, Today, &error));
        store.failWrites = false;
        QVERIFY(clearing.keep(store, Today, nullptr));
        QCOMPARE(store.values.value(WritingRecord::keyOf(Today)), QStringLiteral("3 100 0 0 0"));
        // Cleared in the record window: what the running scan counted and had not kept yet goes too.
        WritingRecord running;
        running.watchClearing(store);
        running.pressed(Today, 300, 5, false, false);
        QVERIFY(WritingRecord().clear(store, Today, nullptr));
        QVERIFY(running.keep(store, Today, nullptr));
        QCOMPARE(store.values.value(WritingRecord::keyOf(Today)), QString());
        running.pressed(Today, 10000, 1, false, false);
        QVERIFY(running.keep(store, Today, nullptr));
        QCOMPARE(store.values.value(WritingRecord::keyOf(Today)), QStringLiteral("1 0 0 0 0"));
        QVERIFY(WritingRecord().clear(store, Today, nullptr));

        // Counted after midnight, kept after the clock was set back before it: still counted.
        QVERIFY(clearing.clear(store, Today, nullptr));
        clearing.pressed(Today.addDays(1), 200, 1, false, false);
        QVERIFY(clearing.keep(store, Today, nullptr));
        QCOMPARE(store.values.value(WritingRecord::keyOf(Today)), QStringLiteral("1 0 0 0 0"));
    }

    void theWindowShowsTheDaysAndClearsOnTheSecondPress()
    {
        MemorySettingsStore store;
        store.values.insert(WritingRecord::keyOf(Today), QStringLiteral("30 60000 180 0 3"));
        store.values.insert(WritingRecord::keyOf(Today.addDays(-3)), QStringLiteral("10 60000 90 0 0"));
        QWidget parent;
        RecordDialog d(store, Today, &parent);
        QCOMPARE(d.lblToday->text(),
                 QStringLiteral("今日：1分に 30.0 文字・1文字に 6.0 ステップ・直し 1文字に 0.10 回"));
        QCOMPARE(d.lblToday->accessibleName(), d.lblToday->text());
        const QList<QAbstractSeries *> lines = d.chart->chart()->series();
        QCOMPARE(lines.size(), 4);
        const auto points = [&](int i) { return qobject_cast<QLineSeries *>(lines[i])->count(); };
        QCOMPARE(points(0), 2); // characters a minute
        QCOMPARE(points(1), 2); // steps
        QCOMPARE(points(2), 0); // no dwell that day: no point, not a 0
        QVERIFY(!d.chart->chart()->legend()->markers(lines[2]).front()->isVisible());
        QCOMPARE(points(3), 2);
        // The corrections have a scale of their own: 0.10 would lie flat under 30 characters a minute.
        QVERIFY(lines[3]->attachedAxes().contains(d.chart->chart()->axes(Qt::Horizontal).front()));
        QVERIFY(!lines[3]->attachedAxes().contains(lines[0]->attachedAxes().back()));
        QVERIFY(d.chart->accessibleDescription().contains(QStringLiteral("12月5日：1分に 10.0 文字")));
        QVERIFY(ButtonAccessible::nameOf(d.cmdClear).contains(QStringLiteral("記録を消す")));

        d.cmdClear->click();
        QVERIFY(!store.values.value(WritingRecord::keyOf(Today)).isEmpty());
        QVERIFY(ButtonAccessible::nameOf(d.cmdClear).contains(QStringLiteral("もう一度押すと消えます")));
        d.cmdClear->click();
        QCOMPARE(store.values.value(WritingRecord::keyOf(Today)), QString());
        QCOMPARE(store.values.value(WritingRecord::keyOf(Today.addDays(-3))), QString());
        QCOMPARE(d.lblToday->text(), QStringLiteral("今日：まだ書いた記録がありません"));

        // A clearing that fails says why, all of it on screen: a long reason moves the chart down.
        store.values.insert(WritingRecord::keyOf(Today), QStringLiteral("30 60000 180 0 3"));
        store.failWrites = true;
        store.failWhy =
            QStringLiteral("設定を保存できませんでした。設定のファイルに書き込めません。\n"
                           "ファイル：/home/someone/.config/Talk/Talk.conf\n"
                           "いまの設定は Pirokan を終わるまで使えますが、次に起動すると前の設定に戻ります。");
        const int chartTop = d.chart->y();
        d.cmdClear->click();
        d.cmdClear->click();
        QVERIFY(d.lblToday->text().startsWith(QStringLiteral("記録を消せませんでした：")));
        QVERIFY(d.lblToday->heightForWidth(d.lblToday->width()) <= d.lblToday->height());
        QVERIFY(d.chart->y() >= d.lblToday->geometry().bottom() && d.chart->y() > chartTop);
        QVERIFY(d.chart->height() > d.height() / 3);
    }

    void switchPressesAreCountedAndTheWindowIsReachedFromTheWaysOfPressing()
    {
        auto f = std::make_unique<TalkFixture>(QHash<QString, QString>{}, false);
        f->accessSettings.values = {{"Method", "2"}};
        QVERIFY(f->start());
        f->program().access.setManualTicks(true);
        f->program().access.tick();
        QTest::keyClick(&f->window(), Qt::Key_Space); // into the first row
        f->program().access.tick();
        QTest::keyClick(&f->window(), Qt::Key_Space); // a cell: the selection screen
        QTest::keyClick(&f->window(), Qt::Key_Space);
        QTest::keyClick(&f->window(), Qt::Key_Space); // a character
        QCOMPARE(f->window().txtTalk->text().size(), 2);
        const QString key = WritingRecord::keyOf(f->clock.date);
        QTRY_VERIFY_WITH_TIMEOUT(!f->accessSettings.values.value(key).isEmpty(), 5000);
        const auto day = WritingRecord::decode(f->accessSettings.values.value(key));
        QVERIFY(day && day->characters == 1 && day->steps >= 4);

        // The record opens from 操作方法…, and a scan reaches its button there.
        bool reached = false;
        f->modal.answers.push_back([&](QDialog &d) {
            d.show();
            f->program().access.tick(); // the dialog is on top now
            const ScanScreen &screen = f->program().access.screen();
            QCOMPARE(screen.kind, QStringLiteral("frmAccess"));
            auto *access = qobject_cast<AccessDialog *>(&d);
            QVERIFY(access);
            for (const ScanTarget &t : screen.targets)
                reached = reached || t.widget == access->cmdRecord;
            QString shown;
            access->runRecord = [&](QDialog &r) {
                shown = r.objectName();
                QVERIFY(r.findChild<QChartView *>("chtRecord"));
            };
            access->cmdRecord->click();
            QCOMPARE(shown, QStringLiteral("frmRecord"));
            QVERIFY(ButtonAccessible::nameOf(access->cmdRecord).contains(QStringLiteral("記録")));
            d.reject();
        });
        f->program().access.openAccessDialog();
        QVERIFY(reached);
    }
};

QTEST_MAIN(TestWritingRecord)
#include "test_writingrecord.moc"
