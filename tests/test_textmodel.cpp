#include "board/insertion.h"
#include "board/modifiers.h"
#include "board/speech.h"

#include <QTest>

using Insertion::insertPending;

class TestTextModel : public QObject
{
    Q_OBJECT

private slots:
    void insertion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<QString>("ch");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("caret");
        QTest::newRow("empty") << "" << 0 << "あ"
                               << "あ_" << 1;
        QTest::newRow("before marker") << "あい_" << 2 << "う"
                                       << "あいう_" << 3;
        QTest::newRow("middle") << "あい_" << 1 << "う"
                                << "あうい_" << 2;
        QTest::newRow("no marker at end") << "abc" << 3 << "d"
                                          << "abcd_" << 4;
        QTest::newRow("at start") << "abc_" << 0 << "x"
                                  << "xabc_" << 1;
        QTest::newRow("two characters") << "a_" << 1 << "bc"
                                        << "abc_" << 3;
        QTest::newRow("marker inside, not at end") << "a_b" << 3 << "c"
                                                   << "a_bc_" << 4;
    }
    void insertion()
    {
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(QString, ch);
        const auto r = insertPending(text, selStart, ch, 500);
        QVERIFY(r);
        QTEST(r->text, "expected");
        QTEST(r->caret, "caret");
    }

    void fullTextRefusesAFurtherCharacter()
    {
        const QString full = QString(499, QChar(u'あ')) + QStringLiteral("_");
        QVERIFY(!insertPending(full, 499, QStringLiteral("い"), 500));
        QVERIFY(!insertPending(QString(500, QLatin1Char('a')), 0, QStringLiteral("b"), 500));
        const QString almost = QString(498, QChar(u'あ')) + QStringLiteral("_");
        QCOMPARE(insertPending(almost, 498, QStringLiteral("い"), 500)->text.size(), 500);
    }

    void variantForms()
    {
        using namespace Modifiers;
        QCOMPARE(voicing(QStringLiteral("す")).right, QStringLiteral("ず"));
        QCOMPARE(voicing(QStringLiteral("す")).left, QString());
        QCOMPARE(smallForm(QStringLiteral("す")), QString());
        // つ: small form left, voiced form right
        QCOMPARE(voicing(QStringLiteral("つ")).left, QStringLiteral("っ"));
        QCOMPARE(voicing(QStringLiteral("つ")).right, QStringLiteral("づ"));
        QCOMPARE(voicing(QStringLiteral("ホ")).left, QStringLiteral("ポ"));
        QCOMPARE(voicing(QStringLiteral("ホ")).right, QStringLiteral("ボ"));
        QCOMPARE(smallForm(QStringLiteral("よ")), QStringLiteral("ょ"));
        QCOMPARE(smallForm(QStringLiteral("ア")), QStringLiteral("ァ"));
        QCOMPARE(smallForm(QStringLiteral("Q")), QStringLiteral("q"));
        for (const char *none : {"q", "な", "ー", "", "が", "ぁ", "ん", "1", "(^_^)"}) {
            QCOMPARE(smallForm(QString::fromUtf8(none)), QString());
            QCOMPARE(voicing(QString::fromUtf8(none)).left, QString());
            QCOMPARE(voicing(QString::fromUtf8(none)).right, QString());
        }
    }

    void voiceOptionMatrix_data()
    {
        QTest::addColumn<QString>("opt3");
        QTest::addColumn<QString>("spoken"); // tags that speak, of S E 1
        QTest::newRow("every time") << "0"
                                    << "SE1";
        QTest::newRow("selection and entry") << "1"
                                             << "SE";
        QTest::newRow("entry only") << "2"
                                    << "E";
        QTest::newRow("never") << "3"
                               << "";
        QTest::newRow("unknown") << "7"
                                 << "SE1";
    }
    void voiceOptionMatrix()
    {
        QFETCH(QString, opt3);
        QFETCH(QString, spoken);
        for (const QString &tag : {QStringLiteral("S"), QStringLiteral("E"), QStringLiteral("1")})
            QCOMPARE(Speech::voiced(opt3, tag), spoken.contains(tag));
    }
};

QTEST_MAIN(TestTextModel)
#include "test_textmodel.moc"
