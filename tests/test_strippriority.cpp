// The strip's place in a scan: before the board when it likely holds the word wanted, else after.
#include "access/scanlayouts.h"
#include "board/strippriority.h"
#include "support/talkfixture.h"

#include <QTest>

namespace {

std::vector<ScanNode> groups(const QString &prefix, int n)
{
    std::vector<ScanNode> out;
    for (int i = 0; i < n; ++i)
        out.push_back(ScanNode::group(prefix + QString::number(i), {ScanNode::leaf("x", i)}));
    return out;
}

int shownCandidates(TalkFixture &f)
{
    int n = 0;
    for (auto *b :
         f.window().findChild<QWidget *>("fraCand")->findChildren<ColorButton *>(QStringLiteral("cmdCand")))
        n += b->isVisible();
    return n;
}

QStringList labels(const std::vector<ScanNode> &nodes)
{
    QStringList out;
    for (const ScanNode &n : nodes)
        out << n.label;
    return out;
}

} // namespace

class TestStripPriority : public QObject
{
    Q_OBJECT
private slots:
    void likelyFromWhatTheStripShows()
    {
        const std::vector<Candidate> words = {{QStringLiteral("換気"), QStringLiteral("かんき")}};
        QCOMPARE(StripPriority::likelihood(QStringLiteral("かんき"), {}), 0.0);
        const double shortRun = StripPriority::likelihood(QStringLiteral("かんき"), words);
        const std::vector<Candidate> longWords = {
            {QStringLiteral("看護師さんを"), QStringLiteral("かんごしさんを")}};
        const double longRun = StripPriority::likelihood(QStringLiteral("かんごしさんを"), longWords);
        QVERIFY(longRun < 0.1 && shortRun > 0.3);
        // A long run's strip that goes beyond it (a whole sentence) is likely again.
        const std::vector<Candidate> sentence = {
            {QStringLiteral("看護師さんを呼んでください"), QStringLiteral("かんごしさんをよんでください")}};
        QCOMPARE(StripPriority::likelihood(QStringLiteral("かんごしさんを"), sentence), shortRun);
    }

    void beforeTheBoardOnlyWhenWorthTheStep()
    {
        const std::vector<ScanNode> strip = {ScanNode::group(QStringLiteral("strip"))};
        QCOMPARE(labels(ScanLayouts::withStrip(groups("b", 10), strip, 0.45)).front(),
                 QStringLiteral("strip"));
        QCOMPARE(labels(ScanLayouts::withStrip(groups("b", 10), strip, 0.03)),
                 (QStringList{"b0", "b1", "b2", "b3", "b4", "b5", "b6", "b7", "b8", "b9", "strip"}));
        // Fewer groups to pass make after the board cheaper.
        QCOMPARE(labels(ScanLayouts::withStrip(groups("b", 5), strip, 0.15)).back(), QStringLiteral("strip"));
        QCOMPARE(labels(ScanLayouts::withStrip(groups("b", 10), strip, 0.15)).front(),
                 QStringLiteral("strip"));
        QCOMPARE(ScanLayouts::withStrip(groups("b", 3), {}, 0.0).size(), size_t(3));
    }

    void theRunningScanPlacesTheStripByItsScore()
    {
        TalkFixture f({{"Kanji", "1"}, {"OPT1", "2"}, {"Samp", "0"}}, false);
        f.accessSettings.values = {{"Method", "2"}};
        f.conversion.conversions.insert("かんき", {{"かんき", {"換気", "寒気"}}});
        f.conversion.conversions.insert("かんきをして", {{"かんきを", {"換気を"}}, {"して", {"して"}}});
        QVERIFY(f.start());
        f.window().show();
        AccessControl &access = f.program().access;
        access.setManualTicks(true);
        const QString strip = QStringLiteral("漢字の候補");
        f.typed("かんき_");
        f.program().candidates.afterEntry();
        QTRY_VERIFY(shownCandidates(f) > 0);
        access.tick();
        // The kana likely next come right after a likely strip, before the board.
        const QString next = QStringLiteral("次の文字");
        QCOMPARE(access.screen().tree.children.front().label, strip);
        QCOMPARE(access.screen().tree.children[1].label, next);
        // A long run whose candidates go no further: after the board's groups, before the keys.
        f.typed("かんきをして_");
        f.program().candidates.afterEntry();
        QTRY_VERIFY(shownCandidates(f) > 0);
        QVERIFY(f.window().findChild<QWidget *>("fraCand")->property("likely").toDouble() < 0.1);
        access.tick();
        const auto &top = access.screen().tree.children;
        QCOMPARE(top.front().label, next);
        const int board = f.window().grdBoard->rows(); // one group a row
        QCOMPARE(top[size_t(board) + 1].label, strip);
    }
};

QTEST_MAIN(TestStripPriority)
#include "test_strippriority.moc"
