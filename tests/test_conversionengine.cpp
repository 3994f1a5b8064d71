// The real conversion engine on a handful of sentences.
#include "board/candidatefinder.h"
#include "platform/conversion/backgroundconversion.h"
#include "platform/conversion/mozcengine.h"
#include "platform/conversion/sexp.h"

#include <QSemaphore>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>

namespace {

QString joined(const std::vector<Segment> &segments)
{
    QString out;
    for (const Segment &s : segments)
        out += s.forms.value(0);
    return out;
}

// An engine that answers each run with itself, after the test lets it; `stopAfter` calls it stops.
class GatedEngine final : public ConversionEngine
{
public:
    explicit GatedEngine(std::shared_ptr<QSemaphore> gate, int stopAfter = -1)
        : m_gate(std::move(gate)), m_left(stopAfter)
    {}
    std::vector<Segment> convert(const QString &kana) override
    {
        if (m_gate)
            m_gate->acquire();
        if (m_left >= 0 && m_left-- == 0)
            m_stopped = true;
        return m_stopped ? std::vector<Segment>{} : std::vector<Segment>{{kana, {kana + u'!'}}};
    }
    std::vector<Candidate> predict(const QString &) override { return {}; }
    bool working() const override { return !m_stopped; }
    QString problem() const override { return m_stopped ? QStringLiteral("stopped") : QString(); }

private:
    std::shared_ptr<QSemaphore> m_gate;
    int m_left;
    bool m_stopped = false;
};

} // namespace

class TestConversionEngine : public QObject
{
    Q_OBJECT

private slots:
    void answersAreRead()
    {
        const Sexp s = Sexp::parse(
            QStringLiteral("((id . 3)(preedit . ((segment ((value . \"看\\\"護\")) ((value . \"師\"))))))"));
        const Sexp *pre = s.value(QStringLiteral("preedit"));
        QVERIFY(pre);
        const auto segs = pre->entries(QStringLiteral("segment"));
        QCOMPARE(segs.size(), size_t(2));
        QCOMPARE(segs[0]->value(QStringLiteral("value"))->text, QStringLiteral("看\"護"));
        bool ok = true;
        Sexp::parse(QStringLiteral("((id . 3)"), &ok);
        QVERIFY(!ok);
    }

    void convertsAndPredicts()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("mozc_emacs_helper")).isEmpty())
            QSKIP("Mozc is not installed (scripts/deps.sh installs mozc-server and emacs-mozc-bin)");
        QTemporaryDir dir;
        MozcEngine::Options o;
        o.profile = dir.filePath(QStringLiteral("mozc"));
        MozcEngine engine(o);
        QVERIFY2(engine.start(), qPrintable(engine.problem()));

        QCOMPARE(joined(engine.convert(QStringLiteral("きゅういんをおねがいします"))),
                 QStringLiteral("吸引をお願いします"));
        const std::vector<Segment> tv = engine.convert(QStringLiteral("てれびをつけて"));
        QVERIFY(joined(tv).startsWith(QStringLiteral("テレビを")));
        QVERIFY(tv.size() >= 2);
        QCOMPARE(tv[0].reading, QStringLiteral("てれびを"));

        // Predictions stand for longer readings; going back to a shorter run works too.
        bool found = false;
        for (const Candidate &c : engine.predict(QStringLiteral("かんご")))
            found = found || (c.text == u"看護師" && c.reading == u"かんごし");
        QVERIFY(found);
        QCOMPARE(joined(engine.convert(QStringLiteral("かん"))).isEmpty(), false);
        QVERIFY(engine.working());
        // Only kana runs are sent.
        QVERIFY(engine.convert(QStringLiteral("a b")).empty());
    }

    // A server that never answers costs the caller its bound, once; the answer, when it
    // comes, is there for the next call.
    void aStuckEngineNeverHoldsUpTheCaller()
    {
        auto gate = std::make_shared<QSemaphore>();
        BackgroundConversion conversion([gate] { return std::make_unique<GatedEngine>(gate); }, {20, 10, 40});
        QVERIFY(conversion.convert(QStringLiteral("かな")).empty()); // would hang here if it waited
        QVERIFY(conversion.working());
        gate->release();
        QTRY_COMPARE(joined(conversion.convert(QStringLiteral("かな"))), QStringLiteral("かな!"));
        gate->release(100); // let the thread end
    }

    // An engine that stops is ended and made again in the background, and the user hears of both.
    void aStoppedEngineIsMadeAgain()
    {
        std::atomic<int> made = 0;
        QSemaphore again; // the second engine comes when the test has seen the first one gone
        BackgroundConversion conversion(
            [&made, &again] {
                if (made++ > 0)
                    again.acquire();
                return std::make_unique<GatedEngine>(nullptr, made == 1 ? 1 : -1);
            },
            {50, 10, 40});
        QSignalSpy changes(&conversion, &BackgroundConversion::workingChanged);
        CandidateFinder finder(&conversion, nullptr, nullptr);
        QTRY_COMPARE(joined(conversion.convert(QStringLiteral("あ"))), QStringLiteral("あ!"));
        QVERIFY(!finder.newProblem());
        conversion.convert(QStringLiteral("い")); // the first engine stops here
        QTRY_VERIFY(!changes.isEmpty());
        QCOMPARE(changes.at(0).at(0).toBool(), false);
        QCOMPARE(finder.newProblem().value_or(QString()),
                 QStringLiteral("漢字の候補が出せません。かなで書き続けられます。"));
        QVERIFY(!finder.newProblem());
        again.release();
        // Nothing more is asked: the new engine comes all the same.
        QTRY_COMPARE(changes.size(), 2);
        QCOMPARE(changes.at(1).at(0).toBool(), true);
        QCOMPARE(conversion.made(), 2);
        QCOMPARE(finder.newProblem().value_or(QString()),
                 QStringLiteral("漢字の候補がまた出せるようになりました。"));
        QVERIFY(!finder.newProblem());
        QTRY_COMPARE(joined(conversion.convert(QStringLiteral("う"))), QStringLiteral("う!"));
    }

    void aMissingEngineSaysSo()
    {
        MozcEngine::Options o;
        o.helper = QStringLiteral("/nonexistent/mozc_emacs_helper");
        MozcEngine engine(o);
        QVERIFY(!engine.start());
        QVERIFY(engine.convert(QStringLiteral("かな")).empty());
        QVERIFY(!engine.working());
        QVERIFY(!engine.problem().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestConversionEngine)
#include "test_conversionengine.moc"
