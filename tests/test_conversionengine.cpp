// The real conversion engine on a handful of sentences.
#include "platform/conversion/mozcengine.h"
#include "platform/conversion/sexp.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString joined(const std::vector<Segment> &segments)
{
    QString out;
    for (const Segment &s : segments)
        out += s.forms.value(0);
    return out;
}

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
